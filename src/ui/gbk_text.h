#pragma once

#include <QString>
#include <QStringList>

namespace ui {

// Length of a text in GBK bytes: one per ASCII character, two per Chinese character or
// full-width mark. Every width and position derived from a text's length uses it.
int gbkLength(const QString& text);

// The longest leading part of `text` that fits in `bytes` GBK bytes, never splitting a
// character; counting starts at byte `fromByte` (0-based) and also never splits a character.
QString gbkMid(const QString& text, int fromByte, int bytes);

// Splits at every CR LF; a trailing empty remainder is not a line, and the empty text has none.
QStringList splitCrLf(const QString& text);

}  // namespace ui
