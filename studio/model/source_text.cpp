#include "source_text.h"

namespace studio {

QString lineEnding(const QString& line) {
    if (line.endsWith(QLatin1String("\r\n"))) return QStringLiteral("\r\n");
    if (line.endsWith(QLatin1Char('\n'))) return QStringLiteral("\n");
    return {};
}

QString withoutEnding(const QString& line) {
    return line.left(line.size() - lineEnding(line).size());
}

QStringList SourceText::splitLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        const qsizetype next = end < 0 ? text.size() : end + 1;
        lines.append(text.mid(start, next - start));
        start = next;
    }
    return lines;
}

bool SourceText::fromBytes(const QString& path, const QByteArray& bytes, SourceText& text,
                           QString* error) {
    QString decoded;
    tool::TextProblem problem;
    tool::TextEncoding encoding;
    if (!tool::decodeText(bytes, decoded, problem, &encoding)) {
        if (error) *error = problem.message;
        return false;
    }
    text.path_ = path;
    text.encoding_ = encoding;
    text.lines_ = splitLines(decoded);
    text.diskLines_ = text.lines_;
    text.diskBytes_ = bytes;
    int crlf = 0, lf = 0;
    for (const QString& line : text.lines_) {
        const QString ending = lineEnding(line);
        if (ending.size() == 2) ++crlf;
        if (ending.size() == 1) ++lf;
    }
    text.newline_ = crlf > lf ? QStringLiteral("\r\n") : QStringLiteral("\n");
    return true;
}

bool SourceText::bytes(QByteArray& out) const {
    if (lines_ == diskLines_) {
        out = diskBytes_;
        return true;
    }
    return tool::encodeText(text(), encoding_, out);
}

void SourceText::markWritten(const QByteArray& bytes) {
    diskLines_ = lines_;
    diskBytes_ = bytes;
}

}  // namespace studio
