#pragma once

// A two-page book of a few bytes per picture and recording: the seed the book file fuzzer
// starts from, small enough that mutations reach every table.

#include "book/book_data.h"

namespace fuzzing {

inline const book::Book& tinyBook() {
    using namespace book;
    static const unsigned char bytes[] = "RIFF....WAVEfmt JPEG";
    static const Blob clips[] = {{bytes, 8}, {bytes + 8, 4}};
    static const int pageClips[] = {0, 1};
    static const HotspotDef hotspots[] = {{1, {10, 10, 100, 30}, -1}, {2, {10, 50, 100, 30}, -1}};
    static const HotspotDef words[] = {{1, {10, 10, 80, 20}, 1}};
    static const FillBoxDef fills[] = {{1, 200, 20, "3"}};
    static const TickBoxDef ticks[] = {{1, 220, 20, 1}, {2, 240, 20, -1}};
    static const ListenIconDef listen{"图片框听录音s2_1", 20, 12};
    static const PageDef pages[] = {
        {0,
         2,
         "图片框底图1",
         {bytes + 16, 4},
         2150,
         1524,
         "Hi!\r\n你好！\r\nBye.\r\n再见。",
         pageClips,
         2,
         hotspots,
         2,
         true,
         4,
         4,
         fills,
         1,
         ticks,
         2,
         &listen,
         false},
        {1,
         4,
         "图片框底图2",
         {bytes + 16, 4},
         800,
         540,
         nullptr,
         nullptr,
         0,
         words,
         1,
         false,
         0,
         0,
         nullptr,
         0,
         nullptr,
         0,
         nullptr,
         true},
    };
    static const SectionDef sections[] = {{"Unit 1", 1, 0}, {"单词表", 2, 1}};
    static const int unitClips[] = {1, 0};
    static const UnitDef units[] = {{"pen\r\n钢笔\r\nbag\r\n书包", unitClips, 2, "Unit 1"}};
    static const NamedClip named[] = {{"praise1", 0}};
    static const NamedBlob pictures[] = {{"cover", {bytes + 16, 4}}};
    static const Book book{pages,          2,
                           sections,       2,
                           units,          1,
                           clips,          2,
                           named,          1,
                           pictures,       1,
                           "<p>about</p>", "<p>faq</p>",
                           sizeof bytes,   "Tiny book",
                           "Tiny",         "Tiny"};
    return book;
}

}  // namespace fuzzing
