#include "games/match/match_game_window.h"

#include <QPainter>
#include <QProgressBar>
#include <QTimer>

#include "book/book.h"
#include "games/common/unit_selector.h"
#include "ui/control_builders.h"
#include "ui/draw_panel.h"
#include "ui/service_calls.h"

namespace games {

namespace {

const QColor kHoverColour(255, 0, 0);
const QColor kSelectionColour(0, 0, 255);
// Across the middle of the board.
constexpr QRect kShortageGeometry(60, 260, 680, 48);

// A tile picture made ready for its cell once, so that drawing a tile is a plain copy through
// its mask. The picture is set 2 pixels inside a white (transparent) border: removing a frame
// clears 2-pixel strips along the cell edges, which then take only background, never a piece
// of a tile's outline.
QPixmap tilePicture(const char* name) {
    constexpr int kInset = 2;
    QPixmap cell(kMatchCellWidth, kMatchCellHeight);
    cell.fill(Qt::white);
    QPainter painter(&cell);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(cell.rect().adjusted(kInset, kInset, -kInset, -kInset), book::picture(name));
    return cell;
}

}  // namespace

MatchGameWindow::MatchGameWindow(QWidget* owner)
    : GameWindow(owner, QStringLiteral("连连看")),
      clips_(matchClips()),
      englishTile_(tilePicture("tile_english")),
      chineseTile_(tilePicture("tile_chinese")) {
    panel_ = ui::addControl<ui::DrawPanel>(this, QStringLiteral("画板_底图"),
                                           {0, 0, kGameWidth, kGameHeight});
    panel_->setFont(ui::songFont(-1, 19));
    panel_->setTextColour(Qt::black);
    panel_->setBackgroundPicture(book::picture("match_background"));

    timeBar_ =
        ui::addControl<QProgressBar>(panel_, QStringLiteral("进度条_时间"), {184, 20, 412, 32});
    timeBar_->setRange(0, kMatchFullTime);
    timeBar_->setValue(kMatchFullTime);
    timeBar_->setTextVisible(false);
    timeBar_->setStyleSheet(QStringLiteral(
        "QProgressBar { border: 2px solid rgb(70, 120, 60); border-radius: 8px;"
        " background-color: rgba(255, 255, 255, 200); }"
        "QProgressBar::chunk { border-radius: 6px; background-color: qlineargradient("
        "x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 rgb(140, 220, 90), stop: 1 rgb(60, 170, 50)); }"));

    clock_ = addClock();

    music_ = ui::addSwitchCheckBox(panel_, QStringLiteral("选择框_背景音乐"), {321, 550, 135, 24},
                                   QStringLiteral("背景音乐关"), QStringLiteral("背景音乐开"));
    level_ = ui::addComboBox(panel_, QStringLiteral("组合框_难易"), {211, 548, 84, 24});
    level_->addItem(QStringLiteral("初级"), 1);
    level_->addItem(QStringLiteral("中级"), 2);
    level_->addItem(QStringLiteral("高级"), 3);
    level_->resize(84, std::max(24, level_->sizeHint().height()));
    unit_ = addUnitSelector(panel_, QStringLiteral("组合框_背单词课时选择"), {99, 548, 96, 24});
    addReturnButton(panel_, {732, 540, 40, 40});

    connect(panel_, &ui::DrawPanel::mouseMoved, this, &MatchGameWindow::hoverAt);
    connect(panel_, &ui::DrawPanel::leftPressed, this, &MatchGameWindow::clickAt);
    connect(clock_, &QTimer::timeout, this, &MatchGameWindow::tick);
    connect(music_, &QAbstractButton::clicked, this, &MatchGameWindow::musicClicked);

    // Window created: the first level, the first unit, the music, then a board and the
    // level's pace (a unit too small for a board keeps the clock still).
    level_->setCurrentIndex(0);
    unit_->setCurrentIndex(0);
    if (music_->isChecked()) ui::playClipLooped(clips_.music);
    pick();
    deal();
    setTickPeriodFromLevel();

    connect(level_, &QComboBox::currentIndexChanged, this, &MatchGameWindow::levelChanged);
    connect(unit_, &QComboBox::currentIndexChanged, this, &MatchGameWindow::unitChanged);
}

void MatchGameWindow::done(int result) {
    closed_ = true;
    ui::setTimerPeriod(clock_, 0);
    ui::stopAllClips();
    GameWindow::done(result);
}

// ---- Board events ------------------------------------------------------------------------

void MatchGameWindow::hoverAt(QPoint point) {
    const MatchBoard::HoverChange change = board_.hover(point);
    if (change.unframe) removeFrame(change.unframe);
    if (change.frame) drawFrame(change.frame, kHoverColour);
}

void MatchGameWindow::clickAt(QPoint point) {
    const MatchBoard::ClickOutcome outcome = board_.click(point);
    switch (outcome.kind) {
        case MatchBoard::ClickOutcome::Empty:
            ui::playClip(clips_.emptyClick);
            return;
        case MatchBoard::ClickOutcome::Select:
            ui::playClip(clips_.select);
            drawFrame(outcome.first, kSelectionColour);
            return;
        case MatchBoard::ClickOutcome::Pair:
            ui::playClip(clips_.pair);
            panel_->clearRect(matchCellRect(outcome.first));
            panel_->clearRect(matchCellRect(outcome.second));
            removeFrame(outcome.first);
            removeFrame(outcome.second);
            if (board_.isWon()) boardWon();
            return;
        case MatchBoard::ClickOutcome::Mismatch:
            ui::playClip(clips_.mismatch);
            removeFrame(outcome.first);
            removeFrame(outcome.second);
            return;
    }
}

void MatchGameWindow::boardWon() {
    // The clock rests while the child reads the praise: a tick meanwhile could time the
    // cleared board out and deal a second new board on top of the first.
    ui::setTimerPeriod(clock_, 0);
    ui::showMessage(this, QStringLiteral("你太棒了！冲关成功！可以挑战更高级别哦！"));
    if (closed_) return;
    refillTime();
    pick();
    deal();
    setTickPeriodFromLevel();
}

// ---- Clock and selectors -----------------------------------------------------------------

void MatchGameWindow::tick() {
    const bool timedOut = time_.tick();
    timeBar_->setValue(time_.timeLeft());
    if (!timedOut) return;
    ui::setTimerPeriod(clock_, 0);
    ui::showMessage(this, QStringLiteral("很遗憾时间到！冲关失败！继续努力哦！"));
    if (closed_) return;
    refillTime();
    setTickPeriodFromLevel();
    // The new board comes from the pairs already held; the fresh pick waits for the next deal.
    deal();
    pick();
}

void MatchGameWindow::levelChanged() {
    refillTime();
    pick();
    deal();
    setTickPeriodFromLevel();
}

void MatchGameWindow::unitChanged() {
    refillTime();
    pick();
    deal();
    // After the deal: the new unit decides whether the clock runs.
    setTickPeriodFromLevel();
}

void MatchGameWindow::musicClicked() {
    if (music_->isChecked())
        ui::playClipLooped(clips_.music);
    else
        ui::stopAllClips();
}

void MatchGameWindow::refillTime() {
    time_.refill();
    timeBar_->setValue(time_.timeLeft());
}

void MatchGameWindow::setTickPeriodFromLevel() {
    const bool playable = board_.tooFewWordsLine().isEmpty();
    ui::setTimerPeriod(clock_, playable ? matchTickPeriod(level_->currentData().toInt()) : 0);
}

// ---- Drawing -----------------------------------------------------------------------------

void MatchGameWindow::pick() {
    board_.pick(selectedUnit(unit_));
}

void MatchGameWindow::deal() {
    // The board forgets its hovered and selected cells on a deal, so their frames go first:
    // an eighth-column frame reaches past the area the deal clears.
    if (board_.hoveredCell() != 0) removeFrame(board_.hoveredCell());
    if (const auto selection = board_.tileSelection()) removeFrame(selection->cell);
    panel_->clearRect(kMatchDealArea);
    board_.deal();
    for (int cell = 1; cell <= kMatchCells; ++cell) drawTile(cell);
    // A unit too small for a board shows why, and its clock stays still: no time can run out
    // on an empty board.
    const QString tooFew = board_.tooFewWordsLine();
    showShortage(panel_, kShortageGeometry, tooFew);
    if (!tooFew.isEmpty()) ui::setTimerPeriod(clock_, 0);
}

void MatchGameWindow::drawTile(int cell) {
    if (!board_.hasTile(cell)) return;
    const QString text = shownTileText(board_.textAt(cell));
    panel_->drawPicture(matchCellRect(cell), isEnglishTile(text) ? englishTile_ : chineseTile_,
                        Qt::white);
    for (const MatchTextLine& line : matchTextLines(cell, text, panel_->textWidth(text)))
        panel_->drawText(line.topLeft.x(), line.topLeft.y(), line.text, line.maxWidth);
}

void MatchGameWindow::drawFrame(int cell, const QColor& colour) {
    for (const MatchFrameLine& line : matchFrameLines(cell))
        panel_->drawLine(line.from, line.to, colour);
}

void MatchGameWindow::removeFrame(int cell) {
    for (const QRect& strip : matchFrameRemoval(cell)) panel_->clearRect(strip);
}

}  // namespace games
