// The six unit word lists as every user of them receives them.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSet>
#include <climits>

#include "book/vocabulary.h"

using book::LoadUnitWordClips;
using book::LoadUnitWords;

TEST(Vocabulary, EveryUnitGivesMatchingWordsMeaningsAndRecordings) {
    const int sizes[] = {10, 10, 12, 12, 8, 12};
    const QRegularExpression english(QStringLiteral("^[A-Za-z]+( [A-Za-z]+)?$"));
    for (int unit = 1; unit <= 6; ++unit) {
        const book::UnitWords words = LoadUnitWords(unit);
        QList<sound::SoundClip> clips;
        LoadUnitWordClips(unit, clips);
        const int n = sizes[unit - 1];
        ASSERT_EQ(words.UnitEnglishWords.size(), n) << unit;
        ASSERT_EQ(words.UnitChineseWords.size(), n) << unit;
        ASSERT_EQ(clips.size(), n) << unit;
        for (int j = 0; j < n; ++j) {
            // A line break left in an entry would make every typed answer wrong.
            EXPECT_TRUE(english.match(words.UnitEnglishWords[j]).hasMatch())
                << unit << ' ' << qPrintable(words.UnitEnglishWords[j]);
            const QString& chinese = words.UnitChineseWords[j];
            EXPECT_FALSE(chinese.isEmpty() || chinese.contains('\r') || chinese.contains('\n'));
            EXPECT_TRUE(clips[j].startsWith("RIFF")) << unit << ' ' << j;
        }
        EXPECT_EQ(QSet<sound::SoundClip>(clips.begin(), clips.end()).size(), n)
            << "one clip a word";
    }
    EXPECT_EQ(LoadUnitWords(1).UnitEnglishWords.first(), QStringLiteral("ruler"));
}

TEST(Vocabulary, EntriesStayWhole) {
    int twoWordEntries = 0;
    for (int unit = 1; unit <= 6; ++unit) {
        for (const QString& word : LoadUnitWords(unit).UnitEnglishWords)
            twoWordEntries += word.contains(' ');
    }
    EXPECT_EQ(twoWordEntries, 1);
    const book::UnitWords unit1 = LoadUnitWords(1);
    const qsizetype box = unit1.UnitEnglishWords.indexOf(QStringLiteral("pencil box"));
    ASSERT_GE(box, 0);
    EXPECT_EQ(unit1.UnitChineseWords[box], QStringLiteral("铅笔盒"));

    const book::UnitWords unit2 = LoadUnitWords(2);
    EXPECT_EQ(unit2.UnitChineseWords.filter(QStringLiteral("；")).size(), 9);
    EXPECT_EQ(unit2.UnitEnglishWords.first(), QStringLiteral("red"));
    EXPECT_EQ(unit2.UnitChineseWords.first(), QStringLiteral("红色；红色的"));
}

TEST(Vocabulary, EachLoadReplacesTheCallersLists) {
    const book::UnitWords first = LoadUnitWords(3);
    const book::UnitWords again = LoadUnitWords(3);
    EXPECT_EQ(first.UnitEnglishWords, again.UnitEnglishWords);
    EXPECT_EQ(first.UnitChineseWords, again.UnitChineseWords);

    QList<sound::SoundClip> unit2;
    LoadUnitWordClips(2, unit2);
    QList<sound::SoundClip> clips;
    LoadUnitWordClips(1, clips);
    LoadUnitWordClips(2, clips);
    EXPECT_EQ(clips, unit2);
    LoadUnitWordClips(2, clips);
    EXPECT_EQ(clips, unit2);
}

TEST(Vocabulary, UnitsOutsideOneToSixGiveNothing) {
    QList<sound::SoundClip> unit4;
    LoadUnitWordClips(4, unit4);
    for (int unit : {0, 7, -1, INT_MAX, INT_MIN}) {
        const book::UnitWords words = LoadUnitWords(unit);
        EXPECT_TRUE(words.UnitEnglishWords.isEmpty()) << unit;
        EXPECT_TRUE(words.UnitChineseWords.isEmpty()) << unit;
        QList<sound::SoundClip> clips = unit4;
        LoadUnitWordClips(unit, clips);
        EXPECT_EQ(clips, unit4) << "the caller's clips stay as they were";
    }
}
