#pragma once

// The answer boxes printed on the exercise pages: fill-in boxes on pages 10, 20 and 30 and tick
// boxes on pages 44, 54 and 64 are checked the moment they change, and a small tick or cross
// appears beside each.

#include <QString>

class QCheckBox;
class QLineEdit;

namespace reader {
class ReaderWindow;
}

namespace exercises {

// Checks a fill-in box against its one-character answer: a right answer earns a tick, a
// wrong or too long one a cross and the offer to write the right answer into the box (which
// checks the box again). An emptied box earns nothing visible.
void CheckFillInBox(reader::ReaderWindow& window, QLineEdit* box, const QString& answer);
// Checks a tick box: the tick is right when the box is ticked exactly when it should be.
void CheckTickBox(reader::ReaderWindow& window, QCheckBox* box, int shouldBeTicked);

// Checks every answer box of the window's pages the moment it changes.
void attachAnswerBoxes(reader::ReaderWindow& window);

}  // namespace exercises
