#pragma once

// The listen-and-find practice (练一练) and its reading twin find-it (找一找). Both turn the
// page on show into an exercise: an overlay covering the page takes every press, and each press
// is checked against the bounds of the page's hotspots whose Chinese line is the one asked.

#include <QPoint>
#include <QString>

namespace reader {
class ReaderWindow;
}

namespace exercises {

// Fills the hotspot bounds of the page on show, entry i belonging to hotspot i + 1, and keeps
// a copy that never shrinks.
void CollectHotspotBounds(reader::ReaderWindow& window);

void StartPractice(reader::ReaderWindow& window);
void AskPracticeQuestion(reader::ReaderWindow& window);
// `press` is relative to the overlay that was pressed.
void CheckPracticePress(reader::ReaderWindow& window, QPoint press);

void StartFindIt(reader::ReaderWindow& window);
void AskFindItQuestion(reader::ReaderWindow& window);
void CheckFindItPress(reader::ReaderWindow& window, QPoint press);

// Routes a press on a page's overlay to the exercise that runs; presses that arrive while no
// item is asked, or from another page than the exercise's, are ignored.
void HandleOverlayPress(reader::ReaderWindow& window, int page, QPoint press);

// The steps the two exercises share: the draws and feedback of a press, the hit test, the
// length check and the ends of an exercise.
namespace exercise_steps {

struct PressDraws {
    int praise = 1;  // 1 to 3
    int retry = 1;   // 1 to 4
};

// Reseeds the random source, draws the praise and retry numbers and stops any sound.
PressDraws DrawPressFeedback();
// The hotspot number of the first entry of TargetList whose bounds the press hits, or 0. The
// press is relative to the overlay and the bounds to the page picture; they are compared as
// they are. The top edge reaches 10 pixels higher; the other edges are strict.
int HitTarget(QPoint press);
// Play the praise or the encouragement and wait; false when the window went away meanwhile.
bool PraiseAndWait(reader::ReaderWindow& window, int praise);
bool EncourageAndWait(reader::ReaderWindow& window, int retry);
// Start of every question: reseed, stop any sound, empty TargetList.
void BeginQuestion();
// Compares the remaining entries with the collected bounds. When they differ, shows the two
// counts (`shownCount` first, then the bounds) and `message`, and ends the exercise.
bool LengthsAgree(reader::ReaderWindow& window, int shownCount, const char* message);
// CurrentPick := a random entry of the remaining texts; TargetList := every hotspot whose
// Chinese line equals that entry's text, highest number first. Returns the text.
QString PickQuestion(const reader::ReaderWindow& window);
// Removes the asked entry from the remaining texts and bounds, and from the clips when asked.
void RemoveCurrentPick(bool withClips);
// The page is done: the overlays let presses through again and the closing clip plays.
void FinishExercise(reader::ReaderWindow& window);
// Ends the exercise without a word: the overlays let presses through again.
void EndExercise(reader::ReaderWindow& window);
// First steps of both exercises: mode, silence, the page's Chinese lines.
void OpenExercise(const reader::ReaderWindow& window, int mode);
// Plays the opening instruction and waits; false when the window went away meanwhile.
bool IntroduceAndWait(reader::ReaderWindow& window, const char* clipRole);

}  // namespace exercise_steps

}  // namespace exercises
