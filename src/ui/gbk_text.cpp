#include "ui/gbk_text.h"

namespace ui {

namespace {
int charBytes(QChar c) {
    return c.unicode() < 0x80 ? 1 : 2;
}
}  // namespace

int gbkLength(const QString& text) {
    int length = 0;
    for (const QChar c : text) length += charBytes(c);
    return length;
}

QString gbkMid(const QString& text, int fromByte, int bytes) {
    int position = 0;
    qsizetype start = 0;
    while (start < text.size() && position + charBytes(text[start]) <= fromByte) {
        position += charBytes(text[start]);
        ++start;
    }
    int taken = 0;
    qsizetype end = start;
    while (end < text.size() && taken + charBytes(text[end]) <= bytes) {
        taken += charBytes(text[end]);
        ++end;
    }
    return text.mid(start, end - start);
}

QStringList splitCrLf(const QString& text) {
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

}  // namespace ui
