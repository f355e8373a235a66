#pragma once

// The book's pictures made from its sources: every page drawn from its entries and drawings
// (or fitted from the school's scan), every window picture drawn by its painter (or fitted
// from a supplied file). Supplied pictures are kept converted in a cache.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSize>
#include <QString>
#include <atomic>

#include "pictures/art/page_art.h"
#include "sources/sources.h"

namespace tool {

// What a page source asks the page painter to draw.
art::PageSpec pageSpec(const PageSource& page, QSize pixelSize);

// How many supplied pictures a run used, and how many of those it converted rather than took
// from the cache.
struct PictureCounts {
    std::atomic<int> supplied{0};
    std::atomic<int> converted{0};
};

// The page pictures (JPEG, in the order of the pages) and their sizes in pixels, made on
// `parallel` threads. False when one cannot be made, with a problem for each.
bool makePagePictures(const BookSources& book, const QString& cacheFolder, int parallel,
                      QList<QByteArray>& pictures, QList<QSize>& sizes, PictureCounts& counts,
                      Problems& problems);

// The window pictures by name, made on `parallel` threads. False when one cannot be made, with
// a problem for each.
bool makeWindowPictures(const BookSources& book, const QString& cacheFolder, int parallel,
                        QHash<QString, QByteArray>& pictures, PictureCounts& counts,
                        Problems& problems);

}  // namespace tool
