#pragma once

// What a file a teacher gives the tool holds, told from its first bytes rather than its name: a
// phone names a voice memo ".m4a" and a browser a recording ".webm", but a file renamed by hand
// may hold anything. A file of the wrong kind is named in the message with what to do about it.

#include <QByteArray>
#include <QString>

namespace tool {

enum class FileFamily { Unknown, Text, Picture, Audio, Video, Document, Archive };

struct FileKind {
    // "wav", "flac", "ogg" (Vorbis), "mp3", "m4a" (MP4 family: M4A, MP4, 3GP), "aac" (ADTS),
    // "amr", "amr-wb", "opus", "ogg-flac", "ogg-other", "webm" (Matroska), "wma"; "jpeg", "png",
    // "gif", "webp", "tiff", "bmp", "heic", "avif", "psd"; "mov", "avi"; "pdf", "docx", "xlsx",
    // "pptx", "odf", "doc" (an Office file of before 2007), "rtf"; "zip", "rar", "7z";
    // "utf16" (text with a UTF-16 byte-order mark), "text"; empty when not known.
    QString id;
    QString name;  // what it is, for a message: "a HEIC photo", "a Word document (.docx)"
    FileFamily family = FileFamily::Unknown;
};

// How much of a file's beginning fileKindOf looks at.
inline constexpr int kKindHeadBytes = 4096;

// The kind of file whose first bytes are `head` (up to kKindHeadBytes of them).
FileKind fileKindOf(const QByteArray& head);

// The kind of the file at `path`; Unknown when it cannot be read.
FileKind fileKindOfFile(const QString& path);

// What a teacher is asked to do with a file of `kind` given where something else is expected:
// the problem, said after the file's role and name ("the picture scans/p10.jpg " + ...), e.g.
// "is a HEIC photo, which the tool does not read: save it as JPEG or PNG".
QString wrongRecordingKind(const FileKind& kind);
QString wrongPictureKind(const FileKind& kind, const QString& takenKinds);
QString wrongTextKind(const FileKind& kind);

}  // namespace tool
