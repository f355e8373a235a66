#pragma once

// A page's content as three parallel 1-based lists (index 0 holds entry 1): its English lines,
// their Chinese translations and their recordings.

#include <QList>
#include <QStringList>

#include "sound/sound.h"

namespace book {

struct PageContent {
    QStringList EnglishLines;
    QStringList ChineseLines;
    QList<sound::SoundClip> PageClips;
};

// Fills the three lists for a screen: screens 0 to 33 from the page's text table and clip
// list; for screens 34 to 36 nothing is loaded (navigation emptied the lists before).
void LoadPageContent(int screen, PageContent& content);
void ClearPageContent(PageContent& content);

// Splits a page text table into its English (odd) and Chinese (even) lines.
void SplitTextTable(const QString& table, QStringList& english, QStringList& chinese);

}  // namespace book
