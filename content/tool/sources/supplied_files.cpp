#include "sources/supplied_files.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include "common/file_kinds.h"
#include "recordings/ffmpeg_audio.h"

namespace tool {

namespace {

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
        QStringList taken{"jpeg", "png", "webp", "tiff"};
        if (animationAllowed) taken << "gif";
        if (!taken.contains(pictureFormatOf(f.path))) {
            const FileKind kind = fileKindOfFile(f.path);
            problem = QStringLiteral("the picture %1 ").arg(f.file);
            if (taken.contains(kind.id)) {
                problem += QStringLiteral(
                               "looks like %1 but cannot be read: save it again as "
                               "JPEG or PNG")
                               .arg(kind.name);
            } else {
                problem += wrongPictureKind(
                    kind, animationAllowed ? QStringLiteral("JPEG, PNG, GIF, WEBP or TIFF")
                                           : QStringLiteral("JPEG, PNG, WEBP or TIFF"));
            }
        }
    }
    if (!problem.isEmpty()) problems.add(f.where, problem);
}

// The problem with a recording of a kind FFmpeg reads: one that does not open, or holds no
// sound (a video filmed without it); empty when none.
QString mediaProblem(const SuppliedFile& f, const FileKind& kind) {
    const MediaStreams streams = probeMedia(f.path, kind.id);
    if (!streams.opened) {
        return QStringLiteral("the recording %1 looks like %2, but %3")
            .arg(f.file, kind.name, streams.error);
    }
    if (streams.audio) return {};
    return QStringLiteral(
               "the recording %1 is %2 with no sound: record it again, or export it "
               "as M4A, MP3 or WAV")
        .arg(f.file, streams.video ? QStringLiteral("a video") : kind.name);
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
            const FileKind kind = fileKindOf(file.read(kKindHeadBytes));
            if (readByFfmpeg(kind.id)) {
                problem = mediaProblem(f, kind);
            } else if (!readBySox(kind.id)) {
                problem =
                    QStringLiteral("the recording %1 %2").arg(f.file, wrongRecordingKind(kind));
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

bool readBySox(const QString& kind) {
    static const QStringList kinds{"wav", "flac", "ogg", "mp3"};
    return kinds.contains(kind);
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
