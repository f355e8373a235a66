#pragma once

// Files a school supplies in place of what the tool draws or records (scans or photos of its
// pages, window pictures, a teacher's recordings): whether every file the sources name is there
// and of a kind the tool takes, and what to do about one that is not.

#include <QByteArray>
#include <QString>

#include "sources/sources.h"

namespace tool {

// What a picture file holds as Qt reads it ("jpeg", "png", "gif", ...), empty when Qt cannot
// read it as a picture.
QString pictureFormatOf(const QString& path);

// Whether the tool reads a recording of this kind (an id of fileKindOf) through sox: WAV, FLAC,
// Ogg Vorbis and MP3. Phones' and browsers' kinds are read through FFmpeg (readByFfmpeg).
bool readBySox(const QString& kind);

// Checks that every supplied file is there and holds a picture or recording of a kind the tool
// takes. Each problem points at the line that names the file.
void checkSuppliedFiles(const BookSources& book, Problems& problems);

}  // namespace tool
