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

// Fills the three lists for a screen with entries from the page's text table and clip list; for
// a word-list page or the dictation screen nothing is loaded (navigation emptied the lists).
void LoadPageContent(int screen, PageContent& content);
void ClearPageContent(PageContent& content);

// Splits a page text table into its English (odd) and Chinese (even) lines.
void SplitTextTable(const QString& table, QStringList& english, QStringList& chinese);

}  // namespace book
