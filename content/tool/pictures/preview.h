#pragma once

// The preview sheet of a page: the page picture as the reader shows it (800 x 540), with every
// hotspot rectangle and answer box outlined and numbered, so that a teacher sees at once
// whether the rectangles sit on the scan.

#include <QColor>
#include <QImage>
#include <QString>

#include "sources/sources.h"

namespace tool {

// Hotspots are outlined in this colour with their entry number; answer boxes and the listen
// icon in the second, with 填 (fill-in box), 勾 (tick box) or 听 (listen icon) and their number.
inline const QColor kHotspotOutline{226, 0, 116};
inline const QColor kAnswerOutline{0, 102, 255};

// The page picture at 800 x 540: the supplied scan fitted as the build fits it into a picture of
// `pixels`, or the drawn page. False with `error` set when the scan cannot be read.
bool pagePreviewPicture(const PageSource& page, QSize pixels, QImage& picture, QString& error);

// Draws the outlines and numbers over a page picture of 800 x 540.
void outlinePage(const PageSource& page, QImage& picture);

// Writes every page's preview sheet into `folder` as pNN.png, on `parallel` threads. False when
// one cannot be made, with a problem for each.
bool writePreviews(const BookSources& book, const QString& folder, int parallel,
                   Problems& problems);

}  // namespace tool
