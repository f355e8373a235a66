#pragma once

namespace reader {

// The reader's program-wide state. Only the reader changes the screen; the exercises read
// these values and the answer boxes set AnswerMarksShown.
struct ReaderState {
    int ScreenIndex = 0;
    bool FullScreenMode = false;
    int FullScreenToggleCount = 0;
    bool BubbleEnabled = true;
    bool AnswerMarksShown = false;
    int bannerOffset = 0;  // the toolbar banner's text position; survives re-creation
};

ReaderState& readerState();
// Back to the state of a fresh program start.
void resetReaderState();

}  // namespace reader
