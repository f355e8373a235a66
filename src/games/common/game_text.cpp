#include "games/common/game_text.h"

namespace games {

QStringList splitAtSpaces(const QString& line) {
    QStringList words = line.split(QLatin1Char(' '));
    if (!words.isEmpty() && words.last().isEmpty()) words.removeLast();
    return words;
}

QString withoutFullWidthParentheses(QString text) {
    const QChar open(0xFF08), close(0xFF09);
    for (;;) {
        const qsizetype from = text.indexOf(open);
        const qsizetype to = text.indexOf(close);
        if (from < 0 || to < 0 || to < from) return text;
        text.remove(from, to - from + 1);
    }
}

}  // namespace games
