#include "games/word_spell/word_spell_window.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QPainter>
#include <QTimer>
#include <algorithm>

#include "games/common/unit_selector.h"
#include "games/result/result_window.h"
#include "ui/control_builders.h"
#include "ui/service_calls.h"

namespace games {

namespace {

// Tiles 15, 14, ..., 1 from left to right, all at the same top.
constexpr std::array<int, kLetterTileCount> kTileLefts{33,  82,  131, 180, 229, 278, 327, 376,
                                                       425, 474, 523, 572, 621, 670, 721};
constexpr int kTileTop = 192;
constexpr int kTileSize = 40;
constexpr double kFreshPoints = 30;
constexpr double kClickedPoints = 20;
constexpr double kResultPoints = 30;
// Where the tiles would be.
constexpr QRect kShortageGeometry(60, 192, 680, 48);

const QColor kSilver(192, 192, 192);
const QColor kInertGrey(128, 128, 128);
const QColor kCheckGreen(0, 255, 0);

// The text buttons: white writing on green.
ui::SuperButton* addGreenButton(QWidget* parent, const char* name, QRect geometry,
                                const char* caption) {
    ui::SuperButton* button = ui::addTextButton(parent, QString::fromUtf8(name), geometry,
                                                QString::fromUtf8(caption), ui::kaiFont(14));
    button->setColours(QColor(24, 150, 48), QColor(46, 178, 70), QColor(16, 118, 36), Qt::white);
    return button;
}

// White writing on a flat green face, for the option check boxes and the unit selector.
void paintWhiteOnGreen(QWidget* control, const QColor& green) {
    QPalette palette = control->palette();
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Button, QPalette::Base})
        palette.setColor(role, green);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        palette.setColor(role, Qt::white);
    control->setPalette(palette);
    control->setAutoFillBackground(true);
}

}  // namespace

LetterTileLabel::LetterTileLabel(QWidget* parent) : ui::TransparentLabel(parent) {
    setAlignment(Qt::AlignCenter);
    applyLook();
}

void LetterTileLabel::setClickedLook(bool clicked) {
    if (clicked == clicked_) return;
    clicked_ = clicked;
    applyLook();
}

void LetterTileLabel::setInert(bool inert) {
    if (inert == inert_) return;
    inert_ = inert;
    applyLook();
}

void LetterTileLabel::applyLook() {
    setEnabled(!clicked_ && !inert_);
    setFont(ui::heiFont(clicked_ ? kClickedPoints : kFreshPoints));
    setCursor(inert_ ? Qt::ArrowCursor : Qt::PointingHandCursor);
    ui::setTextColour(this, letterColour());
    update();
}

QColor LetterTileLabel::letterColour() const {
    if (clicked_) return kSilver;
    return inert_ ? kInertGrey : QColor(Qt::black);
}

void LetterTileLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // A light block under the letter shows where a tile can be pressed, a space's included.
    const QRectF face = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
    const bool muted = clicked_ || inert_;
    painter.setPen(QPen(muted ? QColor(214, 214, 214) : QColor(176, 140, 222), 2));
    painter.setBrush(muted ? QColor(246, 246, 246, 220) : QColor(255, 252, 240, 235));
    painter.drawRoundedRect(face, 6, 6);
    const QString letter = text();
    if (letter.trimmed().isEmpty()) return;
    // The fallback faces reserve a tall line whose middle lies well below the middle of a
    // Latin letter, so the letter is placed by its ink: every tile shares one baseline, the
    // one that centres the x-height (and with it the span from ascender to descender), and a
    // letter whose ink would reach the block's rim is moved back inside it.
    painter.setFont(font());
    painter.setPen(letterColour());
    const QFontMetricsF metrics(font());
    const QRectF ink = metrics.tightBoundingRect(letter);
    const QRectF inside = face.adjusted(1.5, 1.5, -1.5, -1.5);
    const QPointF centre = inside.center();
    const qreal xHeight = metrics.tightBoundingRect(QStringLiteral("x")).height();
    qreal baseline = centre.y() + xHeight / 2;
    if (ink.height() <= inside.height()) {
        baseline = std::max(baseline, inside.top() - ink.top());
        baseline = std::min(baseline, inside.bottom() - ink.bottom());
    }
    painter.drawText(QPointF(centre.x() - ink.center().x(), baseline), letter);
}

WordSpellWindow::WordSpellWindow(QWidget* reader, MissedWords& missed)
    : GameWindow(reader, QStringLiteral("单词排序")), missed_(missed), game_(missed) {
    buildControls();
    connectControls();
    // Window created: the selected unit's words and the first word.
    tell(game_.LoadUnit(selectedUnit(units_)));
    tell(game_.SetNewWord());
}

void WordSpellWindow::buildControls() {
    // The background picture is the parent of every control, so positions are window
    // positions.
    background_ = addBackground(QStringLiteral("图片框_背景"), "spell_background");
    QWidget* board = background_;

    ui::addTransparentLabel(board, QStringLiteral("透明标签_帮助"), {60, 16, 744, 56},
                            ui::heiFont(-1, 40))
        ->setText(QStringLiteral("请根据下面给出的字母组合正确的单词"));
    meaning_ = ui::addTransparentLabel(board, QStringLiteral("透明标签_汉语"), {112, 117, 516, 56},
                                       ui::heiFont(-1, 40), QColor(0, 96, 192), Qt::AlignCenter);
    for (int number = kLetterTileCount; number >= 1; --number) {
        auto* tile = ui::addControl<LetterTileLabel>(
            board, QStringLiteral("透明标签_字母%1").arg(number),
            {kTileLefts[kLetterTileCount - number], kTileTop, kTileSize, kTileSize});
        tile->hide();
        tiles_[number - 1] = tile;
    }
    result_ = ui::addTransparentLabel(board, QStringLiteral("透明标签_结果"), {104, 285, 528, 64},
                                      ui::songFont(-1, 27), Qt::black, Qt::AlignCenter);
    result_->setText(kWordSpellHint);

    ui::ComboBox* units =
        addUnitSelector(board, QStringLiteral("组合框_单词排序课时选择"), {32, 508, 96, 15});
    paintWhiteOnGreen(units, QColor(24, 150, 48));
    units->setCursor(Qt::PointingHandCursor);
    units_ = units;

    meaningBox_ =
        ui::addSwitchCheckBox(board, QStringLiteral("选择框_单词翻译"), {139, 512, 135, 24},
                              QStringLiteral("单词翻译关"), QStringLiteral("单词翻译开"));
    readAloudBox_ = ui::addCheckBox(board, QStringLiteral("选择框_排序读音开关"),
                                    {285, 511, 89, 24}, QStringLiteral("读音关"), true);
    for (QCheckBox* box : {meaningBox_, readAloudBox_}) {
        box->setFont(ui::heiFont(12));
        paintWhiteOnGreen(box, kCheckGreen);
    }

    redo_ = addGreenButton(board, "超级按钮_重做", {383, 495, 64, 40}, "重做");
    redo_->hide();
    replay_ = addGreenButton(board, "超级按钮_再听一遍", {454, 495, 90, 40}, "再听一遍");
    next_ = addGreenButton(board, "超级按钮_排序开始", {551, 495, 64, 40}, "下一题");
    answer_ = addGreenButton(board, "超级按钮_答案", {622, 495, 64, 40}, "答案");
    back_ = addGreenButton(board, "超级按钮_提交答案1", {696, 495, 64, 40}, "返回");
}

void WordSpellWindow::connectControls() {
    for (int number = 1; number <= kLetterTileCount; ++number) {
        connect(tiles_[number - 1], &ui::Label::leftPressed, this,
                [this, number] { tell(game_.ClickTile(number)); });
    }
    connect(units_, &QComboBox::currentIndexChanged, this, [this] {
        tell(game_.ChooseUnit(selectedUnit(units_)));
        tell(game_.SetNewWord());
    });
    connect(next_, &QAbstractButton::clicked, this, [this] { tell(game_.SkipWord()); });
    connect(redo_, &QAbstractButton::clicked, this, [this] {
        game_.Redo();
        showState();
    });
    connect(answer_, &QAbstractButton::clicked, this, [this] {
        game_.ShowAnswer();
        showState();
    });
    connect(replay_, &QAbstractButton::clicked, this, [this] { game_.ReplayWord(); });
    connect(meaningBox_, &QAbstractButton::clicked, this, [this](bool checked) {
        game_.SetMeaningShown(checked);
        showState();
    });
    // The read-aloud box has no handler of its own; the game reads its state when a word is
    // set and on replay.
    connect(readAloudBox_, &QAbstractButton::toggled, this,
            [this](bool checked) { game_.readAloud = checked; });
    connect(back_, &QAbstractButton::clicked, this, &QWidget::close);
}

void WordSpellWindow::showState() {
    for (int number = 1; number <= kLetterTileCount; ++number) {
        const LetterTile& state = game_.tile(number);
        LetterTileLabel* tile = tiles_[number - 1];
        tile->setText(state.letter);
        tile->setClickedLook(state.clicked);
        // After the summary the last word's tiles stay in view but take no clicks.
        tile->setInert(game_.passOver());
        tile->setVisible(state.visible);
    }
    meaning_->setText(game_.meaningText());
    meaning_->setVisible(game_.meaningVisible());
    if (game_.resultEnlarged() && result_->font().pointSizeF() != kResultPoints)
        result_->setFont(ui::songFont(kResultPoints));
    result_->setText(game_.resultLine());
    redo_->setVisible(game_.redoVisible());
    showShortage(background_, kShortageGeometry, game_.noWordToSpellLine());
}

void WordSpellWindow::tell(const SpellNews& news) {
    showState();
    for (const GameMessage& message : news.messages)
        ui::showMessage(this, message.text, message.caption);
    if (!news.listMisses) return;
    // A pass that ended while the window was being built owes the child its result window:
    // it opens once the window is up. A window closed while its summary was up opens nothing.
    if (!wasShown_) {
        resultsOwed_ = true;
    } else if (isVisible()) {
        ShowResultWindow(this, missed_);
    }
}

void WordSpellWindow::showEvent(QShowEvent* event) {
    GameWindow::showEvent(event);
    wasShown_ = true;
    if (!resultsOwed_) return;
    resultsOwed_ = false;
    QTimer::singleShot(0, this, [this] { ShowResultWindow(this, missed_); });
}

}  // namespace games
