#include "sources/text_files.h"

#include <iconv.h>

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>

#include "common/file_kinds.h"

namespace tool {

namespace {

// Converts `bytes` from one encoding to another with iconv, which refuses any byte sequence the
// encoding does not define. False with `bad` at the first byte it cannot read.
bool convert(const QByteArray& bytes, const char* to, const char* from, QByteArray& out,
             qsizetype& bad) {
    bad = 0;
    const iconv_t converter = iconv_open(to, from);
    if (converter == iconv_t(-1)) return false;
    // A GBK character of two bytes takes three in UTF-8; nothing takes more than twice.
    out.resize(bytes.size() * 2 + 4);
    char* in = const_cast<char*>(bytes.constData());
    size_t inLeft = size_t(bytes.size());
    char* written = out.data();
    size_t outLeft = size_t(out.size());
    const bool ok = iconv(converter, &in, &inLeft, &written, &outLeft) != size_t(-1);
    iconv_close(converter);
    bad = in - bytes.constData();
    out.resize(written - out.data());
    return ok;
}

bool toUtf8(const QByteArray& bytes, const char* encoding, QByteArray& out, qsizetype& bad) {
    return convert(bytes, "UTF-8", encoding, out, bad);
}

int lineAt(const QByteArray& bytes, qsizetype offset) {
    return int(bytes.left(offset).count('\n')) + 1;
}

// Whether GBK has the character; `converter` goes from UTF-8 to GBK.
bool gbkWrites(iconv_t converter, const QString& character) {
    QByteArray utf8 = character.toUtf8();
    char gbk[8];
    char* in = utf8.data();
    size_t inLeft = size_t(utf8.size());
    char* out = gbk;
    size_t outLeft = sizeof gbk;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    return iconv(converter, &in, &inLeft, &out, &outLeft) != size_t(-1);
}

bool decodeUtf16(const QByteArray& bytes, QString& text, TextProblem& problem,
                 TextEncoding& encoding) {
    const bool little = bytes.startsWith("\xFF\xFE");
    encoding = little ? TextEncoding::Utf16Le : TextEncoding::Utf16Be;
    QStringDecoder decoder(little ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
    text = decoder.decode(bytes.mid(2));
    if (!decoder.hasError() && bytes.size() % 2 == 0) return true;
    problem = {0, QStringLiteral("is damaged UTF-16 text: save it as UTF-8")};
    return false;
}

}  // namespace

bool decodeText(const QByteArray& bytes, QString& text, TextProblem& problem,
                TextEncoding* encoding) {
    TextEncoding unused;
    TextEncoding& found = encoding ? *encoding : unused;
    found = TextEncoding::Utf8;
    text.clear();
    if (bytes.isEmpty()) return true;
    const FileKind kind = fileKindOf(bytes.left(kKindHeadBytes));
    if (kind.id == QLatin1String("utf16")) return decodeUtf16(bytes, text, problem, found);
    if (kind.family != FileFamily::Text) {
        problem = {0, wrongTextKind(kind)};
        return false;
    }
    const bool marked = bytes.startsWith("\xEF\xBB\xBF");
    const QByteArray body = marked ? bytes.mid(3) : bytes;
    QByteArray utf8;
    qsizetype badUtf8 = 0, badGbk = 0;
    if (toUtf8(body, "UTF-8", utf8, badUtf8)) {
        text = QString::fromUtf8(utf8);
        found = marked ? TextEncoding::Utf8Bom : TextEncoding::Utf8;
        return true;
    }
    // A byte-order mark says UTF-8; without one, text that is not UTF-8 may be GBK.
    if (!marked && toUtf8(body, "GBK", utf8, badGbk)) {
        text = QString::fromUtf8(utf8);
        found = TextEncoding::Gbk;
        return true;
    }
    // The encoding that read further is the one the file was most likely meant to be in.
    const int line = lineAt(body, std::max(badUtf8, badGbk));
    problem = {line, marked ? QStringLiteral("this line is not UTF-8 text: save the file as UTF-8")
                            : QStringLiteral("this line is neither UTF-8 nor GBK text: save the "
                                             "file as UTF-8")};
    return false;
}

bool encodeText(const QString& text, TextEncoding encoding, QByteArray& bytes) {
    switch (encoding) {
        case TextEncoding::Utf8:
            bytes = text.toUtf8();
            return true;
        case TextEncoding::Utf8Bom:
            bytes = "\xEF\xBB\xBF" + text.toUtf8();
            return true;
        case TextEncoding::Utf16Le:
        case TextEncoding::Utf16Be: {
            const bool little = encoding == TextEncoding::Utf16Le;
            QStringEncoder encoder(little ? QStringEncoder::Utf16LE : QStringEncoder::Utf16BE);
            bytes = QByteArray(little ? "\xFF\xFE" : "\xFE\xFF") + QByteArray(encoder(text));
            return !encoder.hasError();
        }
        case TextEncoding::Gbk: {
            qsizetype bad = 0;
            return convert(text.toUtf8(), "GBK", "UTF-8", bytes, bad);
        }
    }
    return false;
}

QList<TextProblem> charactersOutsideGbk(const QString& text) {
    QList<TextProblem> problems;
    const iconv_t converter = iconv_open("GBK", "UTF-8");
    if (converter == iconv_t(-1)) return problems;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int l = 0; l < lines.size(); ++l) {
        const QList<uint> characters = lines[l].toUcs4();
        for (int c = 0; c < characters.size(); ++c) {
            if (characters[c] < 0x80) continue;
            const auto code = char32_t(characters[c]);
            const QString character = QString::fromUcs4(&code, 1);
            if (gbkWrites(converter, character)) continue;
            problems.append(
                {l + 1, QStringLiteral("第 %1 行第 %2 个字：%3 不能用 GBK 编码 (line %1, "
                                       "character %2: %3 cannot be written in GBK)")
                            .arg(l + 1)
                            .arg(c + 1)
                            .arg(character)});
        }
    }
    iconv_close(converter);
    return problems;
}

bool readTextFile(const QString& path, QString& text, Problems& problems, QByteArray* bytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        problems.add({path, 0}, QStringLiteral("cannot read the file: %1").arg(file.errorString()));
        return false;
    }
    const QByteArray content = file.readAll();
    if (bytes) *bytes = content;
    TextProblem problem;
    if (!decodeText(content, text, problem)) {
        problems.add({path, problem.line}, problem.line > 0
                                               ? problem.message
                                               : QStringLiteral("the file ") + problem.message);
        return false;
    }
    for (const TextProblem& p : charactersOutsideGbk(text)) problems.add({path, p.line}, p.message);
    return true;
}

}  // namespace tool
