#pragma once

// A text file of a content folder kept as its lines, each with the line ending it had, so that
// whatever was not edited is written back exactly as it was read: comments, blank lines, order,
// CR LF or LF endings, a missing last line ending and a byte-order mark all stay.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "sources/text_files.h"

namespace studio {

class SourceText {
  public:
    // Reads a file's bytes as the content tool does (UTF-8 with or without a byte-order mark,
    // UTF-16 with one, or GBK). False with `error` when they are not text the tool reads.
    static bool fromBytes(const QString& path, const QByteArray& bytes, SourceText& text,
                          QString* error = nullptr);

    // Splits text into lines that keep their endings ("\n", "\r\n"; the last may have none).
    static QStringList splitLines(const QString& text);

    const QString& path() const { return path_; }
    // Every line with its ending: joined, they are the file's text.
    const QStringList& lines() const { return lines_; }
    void setLines(const QStringList& lines) { lines_ = lines; }
    QString text() const { return lines_.join(QString()); }
    // The ending most of the file's lines have, for lines inserted into it.
    const QString& newline() const { return newline_; }

    // The file's bytes as it stands: the bytes read while its lines are as read. False when a
    // character cannot be written in the file's encoding.
    bool bytes(QByteArray& out) const;
    // The bytes the file has on disk as far as this document knows (read, or last written).
    const QByteArray& diskBytes() const { return diskBytes_; }
    void markWritten(const QByteArray& bytes);

  private:
    QString path_;
    tool::TextEncoding encoding_ = tool::TextEncoding::Utf8;
    QStringList lines_;
    QStringList diskLines_;
    QByteArray diskBytes_;
    QString newline_ = QStringLiteral("\n");
};

// The ending of a line ("\r\n", "\n" or none) and the line without it.
QString lineEnding(const QString& line);
QString withoutEnding(const QString& line);

}  // namespace studio
