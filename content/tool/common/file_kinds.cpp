#include "common/file_kinds.h"

#include <QFile>
#include <QStringList>
#include <algorithm>
#include <initializer_list>

namespace tool {

namespace {

using F = FileFamily;

bool at(const QByteArray& head, qsizetype offset, const QByteArray& bytes) {
    return head.size() >= offset + bytes.size() && head.mid(offset, bytes.size()) == bytes;
}

// An Ogg stream's first packet names its codec; it follows the 27-byte page header and the
// page's segment table.
FileKind oggKind(const QByteArray& head) {
    const qsizetype packet = 27 + (head.size() > 26 ? uchar(head[26]) : 0);
    if (at(head, packet, "\x01vorbis")) return {"ogg", "an Ogg Vorbis recording", F::Audio};
    if (at(head, packet, "OpusHead")) return {"opus", "an Opus recording", F::Audio};
    if (at(head, packet,
           "\x7f"
           "FLAC"))
        return {"ogg-flac", "a FLAC recording in Ogg", F::Audio};
    if (at(head, packet, "\x80theora")) return {"ogg-other", "an Ogg video", F::Video};
    return {"ogg-other", "an Ogg file", F::Audio};
}

// The ISO media family (MP4, M4A, 3GP, MOV, HEIC, AVIF) names its brands in its first box.
FileKind isoMediaKind(const QByteArray& head) {
    const auto boxSize = qsizetype((uchar(head[0]) << 24) | (uchar(head[1]) << 16) |
                                   (uchar(head[2]) << 8) | uchar(head[3]));
    QStringList brands{QString::fromLatin1(head.mid(8, 4))};
    for (qsizetype i = 16; i + 4 <= std::min(boxSize, head.size()); i += 4)
        brands << QString::fromLatin1(head.mid(i, 4));
    const auto has = [&brands](std::initializer_list<const char*> names) {
        for (const char* name : names) {
            if (brands.contains(QLatin1String(name))) return true;
        }
        return false;
    };
    if (has({"avif", "avis"})) return {"avif", "an AVIF picture", F::Picture};
    if (has({"heic", "heix", "heim", "heis", "hevc", "hevx", "mif1", "msf1"}))
        return {"heic", "a HEIC photo", F::Picture};
    const QString major = brands.first();
    if (major == QLatin1String("qt  ")) return {"m4a", "a QuickTime video (.mov)", F::Video};
    if (major.startsWith(QLatin1String("M4"))) return {"m4a", "an M4A recording", F::Audio};
    if (major.startsWith(QLatin1String("3g"))) return {"m4a", "a 3GP recording", F::Audio};
    return {"m4a", "an MP4 file", F::Audio};
}

// Office files of 2007 and later are ZIP archives; the names of the parts tell which.
FileKind zipKind(const QByteArray& head) {
    if (head.contains("word/")) return {"docx", "a Word document (.docx)", F::Document};
    if (head.contains("xl/")) return {"xlsx", "an Excel workbook (.xlsx)", F::Document};
    if (head.contains("ppt/")) return {"pptx", "a PowerPoint presentation (.pptx)", F::Document};
    if (head.contains("mimetypeapplication/vnd.oasis.opendocument"))
        return {"odf", "an OpenDocument file (.odt, .ods or .odp)", F::Document};
    if (head.contains("[Content_Types].xml"))
        return {"docx", "an Office document (.docx, .xlsx or .pptx)", F::Document};
    return {"zip", "a ZIP archive", F::Archive};
}

// An MPEG audio frame: 11 sync bits, then the version and the layer.
FileKind mpegFrameKind(const QByteArray& head) {
    const auto b1 = uchar(head[1]);
    if ((b1 & 0x18) != 0x08 && (b1 & 0x06) == 0x02) return {"mp3", "an MP3 recording", F::Audio};
    if ((b1 & 0xF6) == 0xF0) return {"aac", "an AAC recording", F::Audio};
    return {};
}

}  // namespace

FileKind fileKindOf(const QByteArray& head) {
    if (head.startsWith("\xFF\xFE") || head.startsWith("\xFE\xFF"))
        return {"utf16", "text in UTF-16 (what Notepad calls \"Unicode\")", F::Text};
    if (head.startsWith("RIFF") || head.startsWith("RIFX")) {
        if (at(head, 8, "WAVE")) return {"wav", "a WAV recording", F::Audio};
        if (at(head, 8, "WEBP")) return {"webp", "a WEBP picture", F::Picture};
        if (at(head, 8, "AVI ")) return {"avi", "an AVI video", F::Video};
    }
    if (head.startsWith("fLaC")) return {"flac", "a FLAC recording", F::Audio};
    if (head.startsWith("OggS")) return oggKind(head);
    if (head.startsWith("ID3")) return {"mp3", "an MP3 recording", F::Audio};
    if (head.size() >= 2 && uchar(head[0]) == 0xFF && (uchar(head[1]) & 0xE0) == 0xE0) {
        const FileKind kind = mpegFrameKind(head);
        if (!kind.id.isEmpty()) return kind;
    }
    if (head.startsWith("#!AMR\n")) return {"amr", "an AMR recording", F::Audio};
    if (head.startsWith("#!AMR-WB\n")) return {"amr-wb", "an AMR-WB recording", F::Audio};
    if (head.size() >= 12 && at(head, 4, "ftyp")) return isoMediaKind(head);
    if (head.startsWith("\x1A\x45\xDF\xA3")) {
        return head.contains("webm") ? FileKind{"webm", "a WebM recording", F::Audio}
                                     : FileKind{"webm", "a Matroska file (.mkv)", F::Audio};
    }
    if (head.startsWith("\x30\x26\xB2\x75\x8E\x66\xCF\x11"))
        return {"wma", "a Windows Media file (.wma or .wmv)", F::Audio};
    if (head.startsWith("\xFF\xD8\xFF")) return {"jpeg", "a JPEG picture", F::Picture};
    if (head.startsWith("\x89PNG\r\n\x1A\n")) return {"png", "a PNG picture", F::Picture};
    if (head.startsWith("GIF87a") || head.startsWith("GIF89a"))
        return {"gif", "a GIF picture", F::Picture};
    if (head.startsWith(QByteArray("II*\0", 4)) || head.startsWith(QByteArray("MM\0*", 4)))
        return {"tiff", "a TIFF picture", F::Picture};
    if (head.startsWith("BM") && at(head, 6, QByteArray(4, '\0')))
        return {"bmp", "a BMP picture", F::Picture};
    if (head.startsWith("8BPS")) return {"psd", "a Photoshop file (.psd)", F::Picture};
    if (head.startsWith("%PDF-")) return {"pdf", "a PDF document", F::Document};
    if (head.startsWith("PK\x03\x04")) return zipKind(head);
    if (head.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))
        return {"doc", "an Office file of before 2007 (.doc, .xls or .ppt)", F::Document};
    if (head.startsWith("{\\rtf")) return {"rtf", "an RTF document", F::Document};
    if (head.startsWith("Rar!\x1A\x07")) return {"rar", "a RAR archive", F::Archive};
    if (head.startsWith("7z\xBC\xAF\x27\x1C")) return {"7z", "a 7-Zip archive", F::Archive};
    if (!head.isEmpty() && !head.contains('\0')) return {"text", "a text file", F::Text};
    return {};
}

FileKind fileKindOfFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return fileKindOf(file.read(kKindHeadBytes));
}

QString wrongRecordingKind(const FileKind& kind) {
    const QString advice = QStringLiteral("export it as M4A, MP3 or WAV");
    switch (kind.family) {
        case F::Audio:
        case F::Video:
            return QStringLiteral("is %1, which the tool does not read: %2").arg(kind.name, advice);
        case F::Archive:
            return QStringLiteral("is %1: unpack it and name the recording inside").arg(kind.name);
        case F::Unknown:
            return QStringLiteral(
                       "is not a recording the tool reads (M4A, MP3, WAV, AAC, AMR, Opus, "
                       "WebM, Ogg Vorbis or FLAC): %1")
                .arg(advice);
        default:
            return QStringLiteral(
                       "is %1, not a recording: name a recording here, saved as M4A, MP3 "
                       "or WAV")
                .arg(kind.name);
    }
}

QString wrongPictureKind(const FileKind& kind, const QString& takenKinds) {
    const QString advice = QStringLiteral("save it as JPEG or PNG");
    if (kind.id == QLatin1String("heic")) {
        return QStringLiteral(
                   "is %1, which the tool does not read: %2 (an iPhone takes JPEG "
                   "photos with Settings > Camera > Formats > Most Compatible)")
            .arg(kind.name, advice);
    }
    switch (kind.family) {
        case F::Picture:
            return QStringLiteral("is %1, which the tool does not read: %2").arg(kind.name, advice);
        case F::Archive:
            return QStringLiteral("is %1: unpack it and name the picture inside").arg(kind.name);
        case F::Unknown:
            return QStringLiteral("is not a %1 picture: %2").arg(takenKinds, advice);
        default:
            return QStringLiteral("is %1, not a picture: %2").arg(kind.name, advice);
    }
}

QString wrongTextKind(const FileKind& kind) {
    if (kind.id == QLatin1String("docx") || kind.id == QLatin1String("doc")) {
        return QStringLiteral(
                   "is %1, not plain text: in Word choose Save As, \"Plain Text "
                   "(*.txt)\" and the encoding \"Unicode (UTF-8)\"")
            .arg(kind.name);
    }
    if (kind.family == F::Document) {
        return QStringLiteral("is %1, not plain text: save it as plain text (.txt) in UTF-8")
            .arg(kind.name);
    }
    if (kind.family == F::Unknown)
        return QStringLiteral(
            "is not a text file: write it as plain text (UTF-8), e.g. in Notepad");
    return QStringLiteral("is %1, not a text file: write it as plain text (UTF-8), e.g. in Notepad")
        .arg(kind.name);
}

}  // namespace tool
