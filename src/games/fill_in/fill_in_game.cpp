#include "games/fill_in/fill_in_game.h"

#include <QTextLayout>
#include <algorithm>
#include <cmath>

#include "games/common/game_text.h"
#include "ui/gbk_text.h"
#include "ui/service_calls.h"

namespace games {

namespace {

const QString kPlaceholder = QStringLiteral("$");

// What the blank needs on top of the word's own width so that the whole word stays covered and
// the typed word shows whole: its border, the edit box's margins around the text and the
// cursor.
constexpr int kBlankFrameRoom = 8;
constexpr int kPixelsPerByte = 12;

// A draw loop that keeps meeting placeholders gives up after this many tries and asks the
// first askable word, so that a random source that always answers the same never freezes the
// window. With the clock-seeded generator it is never reached.
constexpr int kMostDraws = 10000;

bool askable(const QString& word) {
    return answerOfWord(word) != kPlaceholder;
}

}  // namespace

QString answerOfWord(const QString& word) {
    if (word.isEmpty()) return word;
    const QChar last = word.back();
    if (last == u',' || last == u'!' || last == u'.' || last == u'?') return word.chopped(1);
    return word;
}

BlankPlacement placeBlank(const QString& line, int word, const QFont& font) {
    const QStringList words = splitAtSpaces(line);
    if (word < 1 || word > words.size()) return {};
    qsizetype start = 0;
    for (int i = 0; i < word - 1; ++i) start += words[i].size() + 1;
    const QString answer = answerOfWord(words[word - 1]);

    // Measure where the label's own layout of the whole line puts the word, so that kerning
    // and a proportional face are taken as they are drawn.
    QTextLayout layout(line, font);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine row = layout.createLine();
    row.setLineWidth(1e6);
    layout.endLayout();
    const qreal from = row.cursorToX(int(start));
    const qreal to = row.cursorToX(int(start + answer.size()));

    BlankPlacement blank;
    blank.left = int(from);
    const int measured = int(std::ceil(to - blank.left)) + kBlankFrameRoom;
    blank.width = std::max(kPixelsPerByte * ui::gbkLength(answer), measured);
    return blank;
}

bool FillInGame::hasAskableLine(const QStringList& english) {
    return std::any_of(english.begin(), english.end(), [](const QString& line) {
        const QStringList words = splitAtSpaces(line);
        return std::any_of(words.begin(), words.end(), askable);
    });
}

FillInGame::Outcome FillInGame::SetNewQuestion(const QStringList& english,
                                               const QStringList& chinese) {
    if (english.size() == chinese.size() && !hasAskableLine(english)) {
        question.item = 0;
        question.word = 0;
        question.answer.clear();
        return Outcome::NothingToAsk;
    }
    for (int tries = 0;; ++tries) {
        ui::reseedRandom();
        const int item = ui::drawBetween(1, int(chinese.size()));
        if (english.size() != chinese.size()) return Outcome::ListsDiffer;
        // A line without words is as unaskable as a placeholder: draw again.
        const QStringList words = splitAtSpaces(english.value(item - 1));
        if (!words.isEmpty()) {
            const int word = ui::drawBetween(1, int(words.size()));
            if (askable(words[word - 1])) {
                ask(item, word, words[word - 1]);
                return Outcome::Asked;
            }
        }
        if (tries < kMostDraws) continue;
        // Fall back on the first askable word of the page.
        for (qsizetype i = 0; i < english.size(); ++i) {
            const QStringList some = splitAtSpaces(english[i]);
            const auto it = std::find_if(some.begin(), some.end(), askable);
            if (it == some.end()) continue;
            ask(int(i + 1), int(it - some.begin() + 1), *it);
            return Outcome::Asked;
        }
    }
}

void FillInGame::ask(int item, int word, const QString& text) {
    question.item = item;
    question.word = word;
    question.answer = answerOfWord(text);
}

Judgement FillInGame::Check(const QString& typed) const {
    return judged(typed == question.answer);
}

}  // namespace games
