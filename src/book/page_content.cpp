#include "book/page_content.h"

#include "book/book.h"
#include "ui/gbk_text.h"

namespace book {

void SplitTextTable(const QString& table, QStringList& english, QStringList& chinese) {
    english.clear();
    chinese.clear();
    const QStringList lines = ui::splitCrLf(table);
    // Line i (1-based) goes by its parity, whatever its content.
    for (qsizetype i = 0; i < lines.size(); ++i) {
        (i % 2 == 0 ? english : chinese).append(lines[i]);
    }
}

void LoadPageContent(int screen, PageContent& content) {
    if (!screenHasEntries(screen)) return;
    const PageDef* page = pageOfScreen(screen);
    SplitTextTable(QString::fromUtf8(page->textTable), content.EnglishLines, content.ChineseLines);
    content.PageClips.clear();
    for (int i = 0; i < page->entryCount; ++i) content.PageClips.append(clipAt(page->clips[i]));
}

void ClearPageContent(PageContent& content) {
    content.EnglishLines.clear();
    content.ChineseLines.clear();
    content.PageClips.clear();
}

}  // namespace book
