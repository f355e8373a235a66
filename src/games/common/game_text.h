#pragma once

// Text rules the word games share.

#include <QString>
#include <QStringList>

namespace games {

// Cuts a line into words at every single space. A space at the very end yields no empty last
// word; two spaces in a row do give an empty word between them.
QStringList splitAtSpaces(const QString& line);

// Removes, while the text holds both "（" and "）", the stretch from the first "（" through the
// first "）". When the first "）" comes before the first "（" nothing more is removed, so the
// text is never cut backwards and the loop always ends.
QString withoutFullWidthParentheses(QString text);

}  // namespace games
