#pragma once

// The one place where the reader meets what lives around it: the in-book exercises and the
// game windows are wired to each new reader window here.

#include "exercises/exercises.h"
#include "games/common/games_session.h"
#include "reader/reader_session.h"
#include "reader/reader_window.h"

namespace app {

// What the program remembers while it runs, handed to every reader window it opens and to
// the games opened from it.
struct ProgramSession {
    reader::ReaderSession reader;
    exercises::ExerciseMemory exercises;
    games::GamesSession games;
    // The screen the next reader window opens on (qcbook --page N); -1: the reader's own
    // first screen. Taken by the first window made after it is set.
    int startScreen = -1;

    // What every new reader window gets: the exercises and games wired to it, all of them
    // remembering in this session.
    reader::ReaderWindow::Attach attach();
};

// Attaches the exercises to a reader window being made and opens the game windows from its
// toolbar.
void attachFeatures(reader::ReaderWindow& window, ProgramSession& session);

// Opens the reader over `owner` with everything attached.
void openBook(QWidget* owner, QWidget* loadingPicture, ProgramSession& session);

}  // namespace app
