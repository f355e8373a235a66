#include "app/features.h"

#include <QTimer>
#include <utility>

#include "exercises/practice.h"
#include "games/common/game_window.h"
#include "games/fill_in/fill_in_window.h"
#include "games/match/match_game_window.h"
#include "games/sentence_order/sentence_order_window.h"
#include "games/word_finder/word_finder_window.h"
#include "games/word_spell/word_spell_window.h"

namespace app {

namespace {

// A toolbar button's feature, opened modally over the reader where it is a window. The page
// games take their copy of the shown page's lines as they open.
void openTool(reader::ReaderWindow& window, ProgramSession& session, reader::ReaderTool tool) {
    using exercises::PageExercise;
    using reader::ReaderTool;
    const book::PageContent& page = window.session().page;
    games::MissedWords& missed = session.games.missedWords;
    switch (tool) {
        case ReaderTool::Practice:
            exercises::StartPageExercise(window, session.exercises.page,
                                         PageExercise::Kind::Practice);
            return;
        case ReaderTool::FindIt:
            exercises::StartPageExercise(window, session.exercises.page,
                                         PageExercise::Kind::FindIt);
            return;
        case ReaderTool::FillIn:
            games::openGameWindow<games::FillInGameWindow>(&window, page);
            return;
        case ReaderTool::SentenceOrder:
            games::openGameWindow<games::SentenceOrderWindow>(&window, page,
                                                              session.games.sentenceOrderStarts);
            return;
        case ReaderTool::Match:
            games::openGameWindow<games::MatchGameWindow>(&window);
            return;
        case ReaderTool::WordSpell:
            games::openGameWindow<games::WordSpellWindow>(&window, missed);
            return;
        case ReaderTool::ChineseToEnglish:
            games::openGameWindow<games::ChineseToEnglishWindow>(&window, missed);
            return;
        case ReaderTool::EnglishToChinese:
            games::openGameWindow<games::EnglishToChineseWindow>(&window, missed);
            return;
    }
}

}  // namespace

reader::ReaderWindow::Attach ProgramSession::attach() {
    return [this](reader::ReaderWindow& window) { attachFeatures(window, *this); };
}

void attachFeatures(reader::ReaderWindow& window, ProgramSession& session) {
    exercises::attachExercises(window, session.exercises);
    reader::ReaderWindow* w = &window;
    ProgramSession* s = &session;
    QObject::connect(w, &reader::ReaderWindow::toolRequested, w,
                     [w, s](reader::ReaderTool tool) { openTool(*w, *s, tool); });
    if (session.startScreen >= 0) {
        // The window shows its first screen when it is made; the page asked for follows once
        // it runs.
        const int screen = std::exchange(session.startScreen, -1);
        QTimer::singleShot(0, w, [w, screen] {
            w->session().ScreenIndex = screen;
            w->ShowScreen(screen);
        });
    }
}

void openBook(QWidget* owner, QWidget* loadingPicture, ProgramSession& session) {
    reader::OpenReader(owner, loadingPicture, session.reader, session.attach());
}

}  // namespace app
