#pragma once

// The content of the page on show: three parallel 1-based lists (index 0 holds entry 1) that
// the reader's hotspots, the exercises and the page games read.

#include <QList>
#include <QStringList>

#include "ui/sound.h"

namespace reader {

struct PageContent {
    QStringList EnglishLines;
    QStringList ChineseLines;
    QList<ui::SoundClip> PageClips;
};

// The program-wide lists of the shown page.
PageContent& currentPage();

// Fills the three lists for a screen: screens 0 to 33 from the page's text table and clip
// list; for screens 34 to 36 nothing is loaded (navigation emptied the lists before).
void LoadPageContent(int screen);
void ClearPageContent();

// Splits a page text table into its English (odd) and Chinese (even) lines.
void SplitTextTable(const QString& table, QStringList& english, QStringList& chinese);

}  // namespace reader
