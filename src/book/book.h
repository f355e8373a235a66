#pragma once

// Lookups into the embedded book: screens, pages, sections, clips and pictures.

#include <QByteArray>
#include <QList>
#include <QPixmap>
#include <QString>

#include "book/book_data.h"
#include "sound/sound.h"

namespace book {

// The program title, shown as the start window's title and in the reader's banner.
extern const char* const kProgramTitle;

inline constexpr int kScreenCount = 37;     // 36 book screens and the dictation screen
inline constexpr int kLastPageScreen = 33;  // screens 0 to 33 have entries
inline constexpr int kDictationScreen = 36;

// The page shown on a book screen (0 to 35); nullptr for any other index.
const PageDef* pageOfScreen(int screen);
// The book page number of a screen (2, 4, ..., 68, 70, 74); 0 for the dictation screen.
int pageNumberOfScreen(int screen);
// The section chooser's item data (1 to 9) -> first screen of the section; -1 when unknown.
int sectionFirstScreen(int itemData);

// A clip of the book as a SoundClip that shares the embedded bytes.
sound::SoundClip clipAt(int index);
sound::SoundClip namedClip(const char* role);
// The encoded bytes of a window picture (empty when the book has none by that name).
QByteArray pictureBytes(const char* name);
QPixmap picture(const char* name);

}  // namespace book
