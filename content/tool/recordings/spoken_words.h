#pragma once

// A line of the book as a recogniser hears it: the words it says, in the recogniser's lower
// case spelling, and a pronunciation for a word its dictionary lacks (a name, a made-up word,
// "sharpener"), so that one such word never stops a line from being listened to.

#include <QString>
#include <QStringList>

namespace tool::listen {

// The words a line says: lower case, digits spelt out ("3" is "three"), hyphenated words
// split, marks dropped, apostrophes inside a word kept ("let's").
QStringList spokenWords(const QString& line);

// A pronunciation of an English word from its spelling, in the recogniser's phones
// (ARPAbet: "SH AA R P AH N ER"), by a small set of letter-to-sound rules: good enough for a
// recording of the word to fit it better than any other line, not a dictionary.
QString guessPronunciation(const QString& word);

}  // namespace tool::listen
