#pragma once

// The matching game's rules, free of any window: the pick of a unit's pairs, the deal of 48
// tiles, where each cell lies and how its text is laid out, and what the child's pointer
// moves and clicks do to the board.

#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

#include "book/vocabulary.h"

namespace games {

inline constexpr int kMatchCells = 48;
inline constexpr int kMatchColumns = 8;
inline constexpr int kMatchCellWidth = 79;
inline constexpr int kMatchCellHeight = 69;
// The rectangle a deal clears before drawing the tiles (left, top, width, height).
inline constexpr QRect kMatchDealArea{70, 60, 640, 480};

// ---- Geometry ----------------------------------------------------------------------------

// Cell c (1..48) lies in column (c - 1) mod 8 + 1 and row (c - 1) / 8 + 1; its 79 x 69
// rectangle has its top-left at (79 * column + 10, 69 * (row - 1) + 80).
QRect matchCellRect(int cell);
// The cell under a point: column (x - 10) / 79 plus 8 times the row (y - 80) / 69, both cut
// toward minus infinity. Only meaningful inside the spans below.
int matchCellAt(QPoint point);
// The board answers the pointer for 89 < x < 721 and 80 < y < 494, moves and clicks alike:
// that is exactly the span the tiles and their frames cover.
bool isOnMatchBoard(QPoint point);

// A tile's frame: four 1-pixel lines along the cell's edges, reaching one pixel past the
// cell to the right and below.
struct MatchFrameLine {
    QPoint from, to;
};
std::array<MatchFrameLine, 4> matchFrameLines(int cell);
// What removing a frame clears back to the background: two 2-pixel strips down the left and
// right edges and two along the top and bottom; then the two pixels of the frame's bottom-right
// corner that none of the four strips reaches, which would otherwise stay behind as a speck.
std::array<QRect, 5> matchFrameRemoval(int cell);

// ---- Tile text ---------------------------------------------------------------------------

// The text a tile shows: every full-width parenthesised part removed.
QString shownTileText(const QString& text);
// English tiles are those whose text starts with a single-byte (ASCII) character.
bool isEnglishTile(const QString& shownText);

struct MatchTextLine {
    QPoint topLeft;
    QString text;
    // The room to the tile's right edge: a piece wider than this is written condensed to it,
    // so that it is not cut off by the next tile (eight letters of a wide face take up to 86
    // pixels, and the pieces start 4 pixels into a 79-pixel cell).
    int maxWidth = 0;
};
// Where a tile's text is written, given its measured width in pixels. A narrow text is one
// centred line; wider texts are written left-aligned in 8-byte GBK pieces, two, three or four
// lines by width. Widths of exactly 58, 116 and 172 take the smaller layout (they fit it). A
// text whose pieces outnumber its width's lines (a proportional face packs many narrow
// letters into a small width) gets as many lines as it has pieces, up to four, so that no
// part of it goes unwritten.
QList<MatchTextLine> matchTextLines(int cell, const QString& shownText, int width);

// ---- Clock -------------------------------------------------------------------------------

inline constexpr int kMatchFullTime = 120;

// The tick period of a level (item data 1 to 3): 750, 500 or 250 ms; 120 ticks make a board's
// time. Any other value plays at the first level's pace.
int matchTickPeriod(int level);

// The time bar's count of ticks left.
class MatchClock {
  public:
    int timeLeft() const { return timeLeft_; }
    void refill() { timeLeft_ = kMatchFullTime; }
    // Lowers the time left by one; true when that used the last tick up.
    bool tick();

  private:
    int timeLeft_ = kMatchFullTime;
};

// ---- Board -------------------------------------------------------------------------------

// With a single pair every tile pairs with every tile of the other language: there is nothing
// to match, so a board needs two pairs.
inline constexpr int kFewestMatchPairs = 2;

struct MatchTileSelection {
    int cell = 0;
    int pairId = 0;
};

// The board's state and what the child's actions do to it. A PairId is k (1..n) on the
// English tile of pair k and k + n on its Chinese tile; two tiles pair when their PairIds
// differ by n.
class MatchBoard {
  public:
    // The pick: fresh copies of the unit's lists; reseed; then all pairs in table order for a
    // unit of at most 6 or of 12, six drawn for 7 to 11, twelve drawn for more. A drawn pair leaves
    // the copies, so none is drawn twice. Empties the cleared cells.
    void pick(int unit);
    // The same from lists given directly (entry j of each list belongs to pair j).
    void pick(const book::UnitWords& words);
    // The deal: d = 4 tiles per text for six pairs, 2 for any other count; reseed; then a uniform
    // shuffle into the 48 cells, cell by cell. Forgets any selection and hovered cell. A pick
    // of fewer than kFewestMatchPairs pairs deals an empty board, without a draw.
    void deal();
    // What the window shows instead of a board when the pick holds fewer than
    // kFewestMatchPairs pairs: kTooFewWords; empty when it can be played.
    QString tooFewWordsLine() const;
    static const char* const kTooFewWords;

    // What a pointer move did: the frame to remove and the cell to frame in red (0: none).
    struct HoverChange {
        int unframe = 0;
        int frame = 0;
    };
    HoverChange hover(QPoint point);

    struct ClickOutcome {
        enum Kind { Empty, Select, Pair, Mismatch } kind = Empty;
        int first = 0;   // Select: the cell; Pair, Mismatch: the cell selected before
        int second = 0;  // Pair, Mismatch: the cell just clicked
    };
    ClickOutcome click(QPoint point);

    int pairCount() const { return int(boardEnglish_.size()); }
    const QStringList& boardEnglish() const { return boardEnglish_; }
    const QStringList& boardChinese() const { return boardChinese_; }
    const book::UnitWords& unitWords() const { return unit_; }
    int pairIdAt(int cell) const;
    QString textAt(int cell) const;
    bool hasTile(int cell) const { return pairIdAt(cell) > 0; }
    bool isCleared(int cell) const { return clearedCells_.contains(cell); }
    const QList<int>& clearedCells() const { return clearedCells_; }
    std::optional<MatchTileSelection> tileSelection() const { return tileSelection_; }
    int hoveredCell() const { return hoveredCell_; }
    // Every tile on the board has been cleared.
    bool isWon() const;

  private:
    book::UnitWords unit_;
    QStringList boardEnglish_, boardChinese_;
    std::array<int, kMatchCells> pairIds_{};
    std::array<QString, kMatchCells> texts_;
    QList<int> clearedCells_;
    std::optional<MatchTileSelection> tileSelection_;
    int hoveredCell_ = 0;
};

}  // namespace games
