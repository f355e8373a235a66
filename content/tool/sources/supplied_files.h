#pragma once

// Files a school supplies in place of what the tool draws or records (scans or photos of its
// pages, window pictures, a teacher's recordings): what kind of file each one is, and whether
// every file the sources name is there and of a kind the tool takes.

#include <QByteArray>
#include <QString>

#include "sources/sources.h"

namespace tool {

// What a picture file holds as Qt reads it ("jpeg", "png", "gif", ...), empty when Qt cannot
// read it as a picture.
QString pictureFormatOf(const QString& path);

// The audio a file holds, told from its first bytes: "wav", "flac", "ogg" (Vorbis), "mp3", or
// another name ("opus", "ogg-flac") for audio the tool does not take; empty for none.
QString audioFormatOf(const QByteArray& head);

// Checks that every supplied file is there and holds a picture or recording of a kind the tool
// takes. Each problem points at the line that names the file.
void checkSuppliedFiles(const BookSources& book, Problems& problems);

}  // namespace tool
