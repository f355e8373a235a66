// The embedded book and the lists of the shown page.
#include <gtest/gtest.h>

#include <QSet>

#include "book/book.h"
#include "book/page_content.h"
#include "support/fake_services.h"
#include "ui/gbk_text.h"

using namespace book;

TEST(Book, HasTheScreensSectionsAndEntryCountsOfTheVolume) {
    const book::Book& b = book::theBook();
    ASSERT_EQ(b.pageCount, 36);
    int entries = 0;
    for (int screen = 0; screen < 36; ++screen) {
        const book::PageDef& page = b.pages[screen];
        EXPECT_EQ(page.screen, screen);
        EXPECT_EQ(page.pageNumber, screen <= 33 ? 2 * (screen + 1) : screen == 34 ? 70 : 74);
        if (screen <= 33) {
            EXPECT_EQ(page.entryCount, page.hotspotCount) << "page " << page.pageNumber;
            entries += page.entryCount;
        }
    }
    EXPECT_EQ(entries, 596);
    EXPECT_EQ(b.pages[34].hotspotCount, 64);
    EXPECT_EQ(b.pages[35].hotspotCount, 38);
    EXPECT_STREQ(b.pages[2].pictureBox, "图片框底图1");
    EXPECT_EQ(b.pages[25].pictureWidth, 801);
    EXPECT_EQ(b.pages[0].pictureWidth, 2150);
    EXPECT_EQ(sectionFirstScreen(9), 34);
    EXPECT_EQ(sectionFirstScreen(4), 15);
    EXPECT_EQ(sectionFirstScreen(10), -1);
}

TEST(Book, WordListHotspotsEachHaveTheirOwnClip) {
    for (int screen : {34, 35}) {
        const book::PageDef& page = *pageOfScreen(screen);
        EXPECT_EQ(page.textTable, nullptr);
        EXPECT_FALSE(page.hasOverlay);
        QSet<int> clips;
        for (int i = 0; i < page.hotspotCount; ++i) {
            EXPECT_FALSE(clipAt(page.hotspots[i].clip).isEmpty());
            clips.insert(page.hotspots[i].clip);
        }
        EXPECT_EQ(clips.size(), page.hotspotCount) << "page " << page.pageNumber;
    }
}

TEST(Book, BuiltInClipsAndPicturesAreThere) {
    for (const char* role :
         {"praise1", "praise2", "praise3", "retry1", "retry4", "done", "practice_intro",
          "findit_intro", "right_answer", "wrong1", "wrong2", "letter_click", "match_music"}) {
        EXPECT_TRUE(namedClip(role).startsWith("RIFF")) << role;
    }
    EXPECT_TRUE(namedClip("no such clip").isEmpty());
    for (const char* name : {"start_background", "cover", "loading", "mark_right", "mark_wrong"}) {
        EXPECT_FALSE(picture(name).isNull()) << name;
    }
    EXPECT_EQ(picture("mark_wrong").size(), QSize(20, 20));
}

class PageContentTest : public ::testing::Test {
  protected:
    PageContent page;
};

TEST_F(PageContentTest, FirstPageHasTenEntriesOpenedByTheUnitHeading) {
    LoadPageContent(0, page);
    const PageContent& c = page;
    ASSERT_EQ(c.EnglishLines.size(), 10);
    EXPECT_EQ(c.ChineseLines.size(), 10);
    EXPECT_EQ(c.PageClips.size(), 10);
    EXPECT_EQ(c.EnglishLines[0], QStringLiteral("Unit 1"));
    EXPECT_EQ(c.ChineseLines[0], QStringLiteral("第一单元"));
}

TEST_F(PageContentTest, EveryPageSplitsIntoParallelListsWithTheRightPlaceholders) {
    const int dollars[34][2] = {{0, 0}, {4, 4}, {1, 1}, {0, 0}, {2, 2}, {0, 0}, {0, 0},
                                {0, 0}, {0, 0}, {2, 2}, {0, 0}, {0, 0}, {0, 0}, {0, 0},
                                {3, 3}, {0, 0}, {1, 1}, {0, 0}, {5, 5}, {0, 0}, {0, 0},
                                {3, 3}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {3, 3}, {0, 1},
                                {3, 4}, {0, 0}, {5, 5}, {3, 3}, {1, 1}, {1, 1}};
    for (int screen = 0; screen <= 33; ++screen) {
        ClearPageContent(page);
        LoadPageContent(screen, page);
        const PageContent& c = page;
        const int n = pageOfScreen(screen)->entryCount;
        ASSERT_EQ(c.EnglishLines.size(), n) << screen;
        ASSERT_EQ(c.ChineseLines.size(), n) << screen;
        ASSERT_EQ(c.PageClips.size(), n) << screen;
        EXPECT_EQ(c.EnglishLines.count(QStringLiteral("$")), dollars[screen][0]) << screen;
        EXPECT_EQ(c.ChineseLines.count(QStringLiteral("$")), dollars[screen][1]) << screen;
        for (int j = 0; j < n; ++j) {
            EXPECT_TRUE(c.PageClips[j].startsWith("RIFF")) << screen << " entry " << j + 1;
            EXPECT_FALSE(c.EnglishLines[j].isEmpty());
        }
    }
}

TEST_F(PageContentTest, EnglishOnlyEntriesOfPages56And58) {
    LoadPageContent(27, page);
    EXPECT_NE(page.EnglishLines[5], QStringLiteral("$"));
    EXPECT_EQ(page.ChineseLines[5], QStringLiteral("$"));
    LoadPageContent(28, page);
    EXPECT_NE(page.EnglishLines[8], QStringLiteral("$"));
    EXPECT_EQ(page.ChineseLines[8], QStringLiteral("$"));
}

TEST_F(PageContentTest, LoadingReplacesThePreviousPageAndWordListScreensLoadNothing) {
    LoadPageContent(18, page);  // 27 entries
    LoadPageContent(0, page);   // 10 entries
    EXPECT_EQ(page.EnglishLines.size(), 10);
    EXPECT_EQ(page.PageClips.size(), 10);
    ClearPageContent(page);
    for (int screen : {34, 35, 36}) {
        LoadPageContent(screen, page);
        EXPECT_TRUE(page.EnglishLines.isEmpty());
        EXPECT_TRUE(page.ChineseLines.isEmpty());
        EXPECT_TRUE(page.PageClips.isEmpty());
    }
}

TEST(TextTable, SplitsByLineParityAndDropsOnlyATrailingEmptyRemainder) {
    QStringList english, chinese;
    SplitTextTable(QStringLiteral("Hello\r\n你好\r\n$\r\n$"), english, chinese);
    EXPECT_EQ(english, QStringList({"Hello", "$"}));
    EXPECT_EQ(chinese, QStringList({"你好", "$"}));
    SplitTextTable(QStringLiteral("A\r\nB\r\n"), english, chinese);
    EXPECT_EQ(english, QStringList({"A"}));
    EXPECT_EQ(chinese, QStringList({"B"}));
    // A line that looks like a Chinese line still goes by its position.
    SplitTextTable(QStringLiteral("你好\r\nHello"), english, chinese);
    EXPECT_EQ(english, QStringList({"你好"}));
    SplitTextTable(QString(), english, chinese);
    EXPECT_TRUE(english.isEmpty());
    EXPECT_TRUE(chinese.isEmpty());
}

TEST(TextTable, EveryEmbeddedTableIsTwoNLinesOfGbkText) {
    for (int screen = 0; screen <= 33; ++screen) {
        const book::PageDef& page = *pageOfScreen(screen);
        const QString table = QString::fromUtf8(page.textTable);
        EXPECT_FALSE(table.endsWith(QStringLiteral("\r\n")));
        const QStringList lines = table.split(QStringLiteral("\r\n"));
        EXPECT_EQ(lines.size(), 2 * page.entryCount);
        for (const QString& line : lines) {
            EXPECT_FALSE(line.isEmpty());
            EXPECT_FALSE(line.contains('\n') || line.contains('\r'));
        }
    }
}
