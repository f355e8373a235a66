#pragma once

// The demonstration volume that ships with the program, as the facts its content keeps: which
// pages it has and how many entries and "$" placeholders each holds, its sections, where its
// answer boxes stand and what they expect, its unit sizes and the traits of its word lists.
// A build of that volume (--built-in-volume) checks its sources against them, so that they keep
// guarding its content; any other book is checked by the general rules only. The volume also
// keeps the names and the one picture size it has always had: the program's controls bear them.

#include <array>

#include <QSize>
#include <QString>

#include "sources/sources.h"

namespace tool {

struct ScreenProfile {
    int screen;
    int page;
    const char* pictureBox;
    const char* section;
    int entries;         // hotspots with entries (pages 2 to 68) or word hotspots (70, 74)
    int englishDollars;  // entries whose English line is "$"
    int chineseDollars;  // entries whose Chinese line is "$"
    int overlayX, overlayY;
};

inline constexpr int kBuiltInScreens = 36;

// clang-format off
inline constexpr std::array<ScreenProfile, kBuiltInScreens> kScreens{{
    {0, 2, "图片框底图2", "Unit 1", 10, 0, 0, 16, 8},
    {1, 4, "图片框底图4", "Unit 1", 19, 4, 4, 0, 0},
    {2, 6, "图片框底图1", "Unit 1", 12, 1, 1, 12, 4},
    {3, 8, "图片框底图3", "Unit 1", 15, 0, 0, 16, 8},
    {4, 10, "图片框底图5", "Unit 1", 25, 2, 2, 12, 8},
    {5, 12, "图片框底图6", "Unit 2", 9, 0, 0, 8, 20},
    {6, 14, "图片框底图7", "Unit 2", 19, 0, 0, 8, 20},
    {7, 16, "图片框底图8", "Unit 2", 20, 0, 0, 0, -4},
    {8, 18, "图片框底图9", "Unit 2", 22, 0, 0, 4, 0},
    {9, 20, "图片框底图10", "Unit 2", 26, 2, 2, 16, 4},
    {10, 22, "图片框底图11", "Unit 3", 9, 0, 0, 0, -4},
    {11, 24, "图片框底图12", "Unit 3", 22, 0, 0, 4, 8},
    {12, 26, "图片框底图13", "Unit 3", 25, 0, 0, 4, 8},
    {13, 28, "图片框底图14", "Unit 3", 20, 0, 0, 4, 8},
    {14, 30, "图片框底图15", "Unit 3", 25, 3, 3, 8, 8},
    {15, 32, "图片框底图16", "Recycle 1", 14, 0, 0, 4, 4},
    {16, 34, "图片框底图17", "Recycle 1", 5, 1, 1, 4, 4},
    {17, 36, "图片框底图18", "Unit 4", 9, 0, 0, 4, 4},
    {18, 38, "图片框底图19", "Unit 4", 27, 5, 5, 4, 4},
    {19, 40, "图片框底图20", "Unit 4", 24, 0, 0, 4, 4},
    {20, 42, "图片框底图21", "Unit 4", 19, 0, 0, 8, 8},
    {21, 44, "图片框底图22", "Unit 4", 21, 3, 3, 8, 8},
    {22, 46, "图片框底图23", "Unit 5", 10, 0, 0, 8, 8},
    {23, 48, "图片框底图24", "Unit 5", 20, 0, 0, 8, 8},
    {24, 50, "图片框底图25", "Unit 5", 25, 0, 0, 8, 8},
    {25, 52, "图片框底图26", "Unit 5", 16, 0, 0, 8, 8},
    {26, 54, "图片框底图27", "Unit 5", 25, 3, 3, 8, 8},
    {27, 56, "图片框底图28", "Unit 6", 6, 0, 1, 8, 4},
    {28, 58, "图片框底图29", "Unit 6", 18, 3, 4, 0, -4},
    {29, 60, "图片框底图30", "Unit 6", 26, 0, 0, 16, 12},
    {30, 62, "图片框底图31", "Unit 6", 17, 5, 5, 0, -4},
    {31, 64, "图片框底图32", "Unit 6", 14, 3, 3, 8, 20},
    {32, 66, "图片框底图33", "Recycle 2", 18, 1, 1, 0, -4},
    {33, 68, "图片框底图34", "Recycle 2", 4, 1, 1, 0, -4},
    {34, 70, "图片框底图35", "单词表", 64, 0, 0, 0, 0},
    {35, 74, "图片框底图36", "单词表", 38, 0, 0, 0, 0},
}};
// clang-format on

// Entries that have a real English line but "$" as their Chinese line.
inline bool isEnglishOnlyEntry(int page, int entry) {
    return (page == 56 && entry == 6) || (page == 58 && entry == 9);
}

struct SectionProfile {
    const char* text;
    int data;
    int firstScreen;
};

inline constexpr std::array<SectionProfile, 9> kSections{{
    {"Unit 1", 1, 0},
    {"Unit 2", 2, 5},
    {"Unit 3", 3, 10},
    {"Recycle 1", 4, 15},
    {"Unit 4", 5, 17},
    {"Unit 5", 6, 22},
    {"Unit 6", 7, 27},
    {"Recycle 2", 8, 32},
    {"单词表", 9, 34},
}};

// Fill-in boxes: fixed places on pages 10, 20 and 30. Page 20's boxes 2 and 3 stand 40 apart
// (not 4), each under its own picture, so a child can tell which picture a box belongs to.
struct FillBoxProfile {
    int page;
    int number;
    int x, y;
};

// clang-format off
inline constexpr std::array<FillBoxProfile, 12> kFillBoxes{{
    {10, 1, 41, 162}, {10, 2, 132, 191}, {10, 3, 231, 167}, {10, 4, 310, 178},
    {20, 1, 96, 179}, {20, 2, 160, 189}, {20, 3, 220, 180}, {20, 4, 284, 188},
    {30, 1, 36, 151}, {30, 2, 116, 150}, {30, 3, 196, 151}, {30, 4, 274, 151},
}};
// clang-format on

// Tick boxes per page; page 66's boxes are never checked.
inline int tickBoxCount(int page) {
    switch (page) {
        case 44:
            return 4;
        case 54:
            return 8;
        case 64:
            return 4;
        case 66:
            return 12;
        default:
            return 0;
    }
}
inline bool tickBoxesChecked(int page) {
    return page == 44 || page == 54 || page == 64;
}
inline int fillBoxCount(int page) {
    return page == 10 || page == 20 || page == 30 ? 4 : 0;
}

// The pages with a listen icon and the entry whose hotspot holds it (its recording is the
// listening script).
inline bool hasListenIcon(int page) {
    return fillBoxCount(page) > 0 || tickBoxCount(page) > 0;
}
inline int builtInListeningEntry(int page) {
    return page == 66 ? 18 : 3;
}

inline constexpr std::array<int, 6> kUnitSizes{10, 10, 12, 12, 8, 12};

// The names and the size the volume's pages have always had in the program: its picture boxes
// are not numbered in screen order, page 64's listen icon bears another name and page 52's
// picture is smaller. Empty (or invalid) for a page the volume does not have.
QString builtInPictureBox(int screen);
QString builtInListenIconName(int page);
QSize builtInPagePictureSize(int page);

// Checks the sources against the volume's facts: the whole book (its pages, sections and
// units) and each page that was read.
void checkBuiltInVolume(const BookSources& book, Problems& problems);
void checkBuiltInPage(const PageSource& page, Problems& problems);
void checkBuiltInUnits(const QList<UnitSource>& units, Problems& problems);

}  // namespace tool
