#include "sources/supplied_files.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>

namespace tool {

namespace {

QString formatName(const QString& format) {
    static const QHash<QString, QString> names{{"wav", "WAV"},
                                               {"flac", "FLAC"},
                                               {"ogg", "Ogg Vorbis"},
                                               {"mp3", "MP3"},
                                               {"opus", "Ogg Opus"},
                                               {"ogg-flac", "FLAC in Ogg"},
                                               {"ogg-other", "Ogg audio in another codec"}};
    return names.value(format, format);
}

// The problem with a supplied file that is not there, not a file or empty; empty when none.
QString presenceProblem(const SuppliedFile& f, const char* what) {
    const QFileInfo info(f.path);
    if (!info.exists()) return QStringLiteral("the %1 %2 does not exist").arg(what, f.file);
    if (!info.isFile()) return QStringLiteral("the %1 %2 is not a file").arg(what, f.file);
    if (info.size() == 0) return QStringLiteral("the %1 %2 is empty (0 bytes)").arg(what, f.file);
    return {};
}

void checkPicture(const SuppliedFile& f, bool animationAllowed, Problems& problems) {
    QString problem = presenceProblem(f, "picture");
    if (problem.isEmpty()) {
        const QString format = pictureFormatOf(f.path);
        const bool taken = format == QLatin1String("jpeg") || format == QLatin1String("png") ||
                           (animationAllowed && format == QLatin1String("gif"));
        if (!taken) {
            problem = QStringLiteral("the picture %1 is not a %2 picture")
                          .arg(f.file, animationAllowed ? QStringLiteral("JPEG, PNG or GIF")
                                                        : QStringLiteral("JPEG or PNG"));
        }
    }
    if (!problem.isEmpty()) problems.add(f.where, problem);
}

void checkRecording(const SuppliedFile& f, Problems& problems) {
    QString problem = presenceProblem(f, "recording");
    if (problem.isEmpty()) {
        QFile file(f.path);
        if (!file.open(QIODevice::ReadOnly)) {
            problem = QStringLiteral("the recording %1 cannot be read: %2")
                          .arg(f.file, file.errorString());
        } else {
            // The content tells the kind, not the name: a recorder's FLAC saved as ".wav" is
            // read as FLAC.
            const QString format = audioFormatOf(file.read(64));
            static const QStringList taken{"wav", "flac", "ogg", "mp3"};
            if (!taken.contains(format)) {
                problem = QStringLiteral(
                              "the recording %1 is not a WAV, FLAC, Ogg Vorbis or MP3 "
                              "recording%2")
                              .arg(f.file,
                                   format.isEmpty()
                                       ? QString()
                                       : QStringLiteral(" (it holds %1)").arg(formatName(format)));
            }
        }
    }
    if (!problem.isEmpty()) problems.add(f.where, problem);
}

SuppliedFile recordingFile(const Recording& r, const Where& where) {
    return {r.file, r.path, where};
}

}  // namespace

QString pictureFormatOf(const QString& path) {
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    if (!reader.canRead()) return {};
    const QSize size = reader.size();
    if (size.isValid() && size.isEmpty()) return {};
    return QString::fromLatin1(reader.format());
}

QString audioFormatOf(const QByteArray& head) {
    if (head.size() >= 12 && (head.startsWith("RIFF") || head.startsWith("RIFX")) &&
        head.mid(8, 4) == "WAVE")
        return QStringLiteral("wav");
    if (head.startsWith("fLaC")) return QStringLiteral("flac");
    if (head.startsWith("OggS")) {
        // The first packet of the first page tells the codec; the page header is 27 bytes and
        // one byte of segment table for an identification packet.
        const QByteArray packet = head.mid(28, 8);
        if (packet.startsWith("\x01vorbis")) return QStringLiteral("ogg");
        if (packet.startsWith("OpusHead")) return QStringLiteral("opus");
        if (packet.startsWith("\x7f"
                              "FLAC"))
            return QStringLiteral("ogg-flac");
        return QStringLiteral("ogg-other");
    }
    if (head.startsWith("ID3")) return QStringLiteral("mp3");
    if (head.size() >= 2) {
        const auto b0 = uchar(head[0]), b1 = uchar(head[1]);
        // An MPEG audio frame: 11 sync bits, then a version other than "reserved" and layer 3.
        if (b0 == 0xFF && (b1 & 0xE0) == 0xE0 && (b1 & 0x18) != 0x08 && (b1 & 0x06) == 0x02)
            return QStringLiteral("mp3");
    }
    return {};
}

void checkSuppliedFiles(const BookSources& book, Problems& problems) {
    for (const PageSource& page : book.pages) {
        if (page.image.given()) checkPicture(page.image, false, problems);
        for (const Entry& e : page.entries) {
            if (e.recording.supplied())
                checkRecording(recordingFile(e.recording, e.where), problems);
        }
    }
    for (const UnitSource& unit : book.units) {
        for (const UnitWord& w : unit.words) {
            if (w.audio.given()) checkRecording(w.audio, problems);
        }
    }
    for (const ClipSource& clip : book.clips) {
        if (clip.recording.supplied())
            checkRecording(recordingFile(clip.recording, clip.where), problems);
    }
    for (const PictureSource& picture : book.pictures) {
        if (picture.image.given()) checkPicture(picture.image, true, problems);
    }
}

}  // namespace tool
