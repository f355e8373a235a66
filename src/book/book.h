#pragma once

// Lookups into the embedded book: screens, pages, sections, clips and pictures.

#include <QByteArray>
#include <QList>
#include <QPixmap>
#include <QString>

#include "book/book_data.h"
#include "sound/sound.h"

namespace book {

// The book's names: the program title (the start window's title and the reader's banner),
// the start window's caption and the desktop shortcut's name.
QString programTitle();
QString programCaption();
QString shortcutName();

// The book's screens: one per book page, in order, then the dictation screen.
int bookScreenCount();
inline int dictationScreen() {
    return bookScreenCount();
}
inline int screenCount() {
    return bookScreenCount() + 1;
}
inline int lastBookScreen() {
    return bookScreenCount() - 1;
}

// The page shown on a book screen; nullptr for any other index.
const PageDef* pageOfScreen(int screen);
// Whether a screen shows a page with entries (not a word-list page, not the dictation screen).
bool screenHasEntries(int screen);
// The book page number of a screen; 0 for the dictation screen.
int pageNumberOfScreen(int screen);
// The section chooser's item data -> first screen of the section; -1 when unknown.
int sectionFirstScreen(int itemData);

// A clip of the book as a SoundClip that shares the embedded bytes.
sound::SoundClip clipAt(int index);
sound::SoundClip namedClip(const char* role);
// The encoded bytes of a window picture (empty when the book has none by that name).
QByteArray pictureBytes(const char* name);
QPixmap picture(const char* name);

}  // namespace book
