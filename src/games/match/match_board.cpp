#include "games/match/match_board.h"

#include <algorithm>
#include <cstdlib>

#include "games/common/game_text.h"
#include "ui/gbk_text.h"
#include "ui/service_calls.h"

namespace games {

namespace {

constexpr int kBoardLeft = 10;  // x of the (never used) column 0
constexpr int kBoardTop = 80;
constexpr int kPieceBytes = 8;
constexpr int kMaxLines = 4;
// Writing keeps this far from the cell's right edge: the tile's outline lies there.
constexpr int kTextMargin = 3;

int floorDivide(int value, int divisor) {
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

int columnOf(int cell) {
    return (cell - 1) % kMatchColumns + 1;
}

int rowOf(int cell) {
    return (cell - 1) / kMatchColumns + 1;
}

}  // namespace

// ---- Geometry ----------------------------------------------------------------------------

QRect matchCellRect(int cell) {
    return QRect(kMatchCellWidth * columnOf(cell) + kBoardLeft,
                 kMatchCellHeight * (rowOf(cell) - 1) + kBoardTop, kMatchCellWidth,
                 kMatchCellHeight);
}

int matchCellAt(QPoint point) {
    const int column = floorDivide(point.x() - kBoardLeft, kMatchCellWidth);
    const int row = floorDivide(point.y() - kBoardTop, kMatchCellHeight);
    return column + kMatchColumns * row;
}

bool isOnMatchBoard(QPoint point) {
    return point.x() > 89 && point.x() < 721 && point.y() > 80 && point.y() < 494;
}

std::array<MatchFrameLine, 4> matchFrameLines(int cell) {
    const QRect r = matchCellRect(cell);
    const int x = r.left(), y = r.top();
    const int w = kMatchCellWidth, h = kMatchCellHeight;
    return {{{QPoint(x, y), QPoint(x + w, y)},
             {QPoint(x, y + h), QPoint(x + w, y + h)},
             {QPoint(x, y), QPoint(x, y + h)},
             {QPoint(x + w, y), QPoint(x + w, y + h)}}};
}

std::array<QRect, 5> matchFrameRemoval(int cell) {
    const QRect r = matchCellRect(cell);
    const int x = r.left(), y = r.top();
    return {QRect(x - 1, y, 2, 69), QRect(x + 78, y, 2, 69), QRect(x - 1, y, 79, 2),
            QRect(x - 1, y + 69, 79, 2), QRect(x + 78, y + 69, 2, 1)};
}

// ---- Tile text ---------------------------------------------------------------------------

QString shownTileText(const QString& text) {
    return withoutFullWidthParentheses(text);
}

bool isEnglishTile(const QString& shownText) {
    return shownText.isEmpty() || shownText.front().unicode() < 0x80;
}

QList<MatchTextLine> matchTextLines(int cell, const QString& shownText, int width) {
    const QRect r = matchCellRect(cell);
    const auto room = [&](int left) { return r.left() + kMatchCellWidth - kTextMargin - left; };
    if (width <= 58) {
        const int left = r.left() + (kMatchCellWidth - width) / 2;
        return {{QPoint(left, r.top() + 30), shownText, room(left)}};
    }
    const int byWidth = width <= 116 ? 2 : width <= 172 ? 3 : 4;
    const int pieces = (ui::gbkLength(shownText) + kPieceBytes - 1) / kPieceBytes;
    const int lines = std::max(byWidth, std::min(pieces, kMaxLines));
    static constexpr int kTops[3][4] = {{30, 50}, {10, 30, 50}, {10, 30, 50, 70}};
    QList<MatchTextLine> written;
    for (int k = 0; k < lines; ++k) {
        const QString piece = ui::gbkMid(shownText, kPieceBytes * k, kPieceBytes);
        if (!piece.isEmpty())
            written.append(
                {QPoint(r.left() + 4, r.top() + kTops[lines - 2][k]), piece, room(r.left() + 4)});
    }
    return written;
}

// ---- Clock -------------------------------------------------------------------------------

int matchTickPeriod(int level) {
    switch (level) {
        case 2:
            return 500;
        case 3:
            return 250;
        default:
            return 750;
    }
}

bool MatchClock::tick() {
    if (timeLeft_ > 0) --timeLeft_;
    return timeLeft_ == 0;
}

// ---- Board -------------------------------------------------------------------------------

void MatchBoard::pick(int unit) {
    pick(book::LoadUnitWords(unit));
}

void MatchBoard::pick(const book::UnitWords& words) {
    unit_ = words;
    ui::reseedRandom();
    QStringList& english = unit_.UnitEnglishWords;
    QStringList& chinese = unit_.UnitChineseWords;
    const int m = int(english.size());
    boardEnglish_.clear();
    boardChinese_.clear();
    if (m == 12 || m <= 6) {
        // All pairs in table order; a unit shorter than six pairs leaves cells empty.
        boardEnglish_ = english;
        for (int k = 0; k < m; ++k) boardChinese_.append(chinese.value(k));
    } else {
        const int wanted = m > 12 ? 12 : 6;
        for (int k = 0; k < wanted; ++k) {
            const int j = ui::drawBetween(1, int(english.size()));
            boardEnglish_.append(english.takeAt(j - 1));
            boardChinese_.append(j <= chinese.size() ? chinese.takeAt(j - 1) : QString());
        }
    }
    clearedCells_.clear();
}

const char* const MatchBoard::kTooFewWords = "这个单元不到2个单词，不能玩连连看";

QString MatchBoard::tooFewWordsLine() const {
    return pairCount() < kFewestMatchPairs ? QString::fromUtf8(kTooFewWords) : QString();
}

void MatchBoard::deal() {
    tileSelection_.reset();
    hoveredCell_ = 0;
    if (pairCount() < kFewestMatchPairs) {
        pairIds_.fill(0);
        texts_.fill(QString());
        return;
    }
    struct Tile {
        QString text;
        int pairId = 0;  // 0: no tile (only a unit shorter than six pairs leaves gaps)
    };
    const int n = pairCount();
    const int d = n == 6 ? 4 : 2;
    QList<Tile> left;
    for (int t = 1; t <= kMatchCells; ++t) {
        const bool english = t <= kMatchCells / 2;
        const int k = (t - (english ? 1 : kMatchCells / 2 + 1)) / d + 1;
        if (k > n)
            left.append(Tile{});
        else
            left.append(
                Tile{english ? boardEnglish_[k - 1] : boardChinese_[k - 1], english ? k : k + n});
    }
    ui::reseedRandom();
    for (int c = 1; c <= kMatchCells; ++c) {
        const Tile tile = left.takeAt(ui::drawBetween(1, int(left.size())) - 1);
        pairIds_[c - 1] = tile.pairId;
        texts_[c - 1] = tile.text;
    }
}

int MatchBoard::pairIdAt(int cell) const {
    return cell >= 1 && cell <= kMatchCells ? pairIds_[cell - 1] : 0;
}

QString MatchBoard::textAt(int cell) const {
    return cell >= 1 && cell <= kMatchCells ? texts_[cell - 1] : QString();
}

bool MatchBoard::isWon() const {
    for (int cell = 1; cell <= kMatchCells; ++cell) {
        if (hasTile(cell) && !isCleared(cell)) return false;
    }
    return true;
}

MatchBoard::HoverChange MatchBoard::hover(QPoint point) {
    if (!isOnMatchBoard(point)) return {};
    const int cell = matchCellAt(point);
    if (!hasTile(cell) || isCleared(cell)) return {};
    if (hoveredCell_ == 0) {
        hoveredCell_ = cell;
        return {0, cell};
    }
    // While a tile is selected the hover frame stays where it is.
    if (cell == hoveredCell_ || tileSelection_) return {};
    const int old = hoveredCell_;
    hoveredCell_ = cell;
    return {old, cell};
}

MatchBoard::ClickOutcome MatchBoard::click(QPoint point) {
    if (!isOnMatchBoard(point)) return {};
    const int cell = matchCellAt(point);
    if (!hasTile(cell) || isCleared(cell)) return {};
    if (!tileSelection_) {
        tileSelection_ = MatchTileSelection{cell, pairIdAt(cell)};
        return {ClickOutcome::Select, cell, 0};
    }
    const MatchTileSelection selected = *tileSelection_;
    tileSelection_.reset();
    // The selected tile clicked again differs from itself by 0, never by n: a mismatch.
    if (std::abs(pairIdAt(cell) - selected.pairId) == pairCount()) {
        clearedCells_.append(selected.cell);
        clearedCells_.append(cell);
        return {ClickOutcome::Pair, selected.cell, cell};
    }
    return {ClickOutcome::Mismatch, selected.cell, cell};
}

}  // namespace games
