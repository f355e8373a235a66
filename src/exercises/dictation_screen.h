#pragma once

namespace ui {
class PictureBox;
}

namespace exercises {

// Puts the word dictation screen's controls on its picture, in their starting state.
void buildDictationScreen(ui::PictureBox* screen);

}  // namespace exercises
