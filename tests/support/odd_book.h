#pragma once

// A book of another shape than the built-in one, made in memory for the tests and the monkey:
// fourteen pages numbered 89 to 102 (one entry, forty entries, only placeholders, a handful of
// short pages, a word-list page last), twelve sections, eight units of 3, 30, 1, 4, 6, 7, 12 and
// 13 words, its own names, small generated pictures (JPEG and PNG) and a tiny generated WAV clip
// for every entry, word and built-in role, each clip of its own content. The window pictures are
// the built-in book's.

#include <QByteArray>
#include <QString>
#include <deque>
#include <vector>

#include "book/book_data.h"

namespace testing_support {

namespace odd {
inline constexpr int kScreens = 14;
inline constexpr int kFirstPageNumber = 89;
inline constexpr int kOneEntryScreen = 0;     // "Hello!": one word, nothing for sentence order
inline constexpr int kFortyEntryScreen = 1;   // 40 four-word lines, a fill-in and a tick box
inline constexpr int kPlaceholderScreen = 2;  // three "$" entries: nothing to ask
inline constexpr int kWordListScreen = 13;    // plays the first six words of unit 2
inline constexpr int kSectionFirstScreens[12] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 12, 13};
inline constexpr int kUnitWords[8] = {3, 30, 1, 4, 6, 7, 12, 13};
inline constexpr const char* kTitle = "奇形课本点读软件";
inline constexpr const char* kCaption = "一本形状不同的课本";
// Made safe, the shortcut's file is "奇形课本点读.desktop".
inline constexpr const char* kShortcutName = "../奇形课本\n点读";

// The section chooser's names, the units' names, and the text of entry `entry` (1-based) of
// a screen with entries.
QString sectionName(int section);  // 1-based
QString unitName(int unit);        // 1-based
QString englishLine(int screen, int entry);
QString chineseLine(int screen, int entry);
int entryCount(int screen);
}  // namespace odd

class OddBook {
  public:
    // The odd shape above; or, with `onePage`, only its first page (one entry), one section
    // and one unit (three words).
    explicit OddBook(bool onePage = false);
    OddBook(const OddBook&) = delete;
    OddBook& operator=(const OddBook&) = delete;

    const book::Book& book() const { return book_; }

  private:
    int addClip();
    void addPage(int screen);
    void addWordListPage(int screen);
    void addUnits(int count);
    const char* keep(const QByteArray& bytes);

    std::deque<QByteArray> bytes_;  // every picture, clip and text the tables point into
    std::vector<book::Blob> clips_;
    std::vector<book::NamedClip> namedClips_;
    std::deque<std::vector<int>> clipLists_;
    std::deque<std::vector<book::HotspotDef>> hotspots_;
    std::vector<book::FillBoxDef> fillBoxes_;
    std::vector<book::TickBoxDef> tickBoxes_;
    book::ListenIconDef listenIcon_{};
    std::vector<book::PageDef> pages_;
    std::vector<book::SectionDef> sections_;
    std::vector<book::UnitDef> units_;
    book::Book book_{};
};

// Shows `book` for the scope's lifetime; the built-in book comes back after.
class BookInUse {
  public:
    explicit BookInUse(const book::Book& book);
    ~BookInUse();
    BookInUse(const BookInUse&) = delete;
    BookInUse& operator=(const BookInUse&) = delete;
};

}  // namespace testing_support
