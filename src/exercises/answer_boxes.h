#pragma once

// The answer boxes printed on the exercise pages: the fill-in and tick boxes the book puts on
// its pages are checked the moment they change, and a small tick or cross appears beside each.
// Their rules are in exercises/answer_key.h.

namespace reader {
class ReaderWindow;
}

namespace exercises {

// Checks every answer box of the window's pages the moment it changes: a right answer earns a
// tick, a wrong or too long one a cross and, in a fill-in box, the offer to write the right
// answer into the box (which checks the box again). An emptied box earns nothing visible.
void attachAnswerBoxes(reader::ReaderWindow& window);

}  // namespace exercises
