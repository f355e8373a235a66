#include "games/word_finder/word_finder_window.h"

#include <QHideEvent>
#include <QPointer>
#include <QTimer>

#include "book/book.h"
#include "games/common/unit_selector.h"
#include "games/result/result_window.h"
#include "games/word_finder/play_area.h"
#include "ui/animation_box.h"
#include "ui/control_builders.h"
#include "ui/service_calls.h"

namespace games {

namespace {

constexpr int kClockPeriod = 1000;
// Across the middle of the play area, where the prompt and the candidates would be.
constexpr QRect kShortageGeometry(60, 250, 680, 48);

}  // namespace

WordFinderWindow::WordFinderWindow(QWidget* owner, const FinderTwin& twin, MissedWords& missed)
    : GameWindow(owner, twin.title), missed_(missed) {
    box_ = ui::addControl<ui::AnimationBox>(this, QStringLiteral("动画框"),
                                            {0, 0, kGameWidth, kGameHeight});
    box_->setFont(ui::heiFont(kQuestionPointSize));
    box_->setTextColour(QColor(0x3b, 0x27, 0x14));

    flower_ = ui::addControl<ui::AnimationObject>(box_, QStringLiteral("动画物体_鲜花1"),
                                                  twin.flowerTemplate);
    flower_->setPicture(book::picture("flower"), Qt::white);
    flower_->hide();

    clock_ = addClock();

    next_ = ui::addPictureButton(this, QStringLiteral("超级按钮_下一题"), twin.skipButton,
                                 book::picture("button_72x32"), QStringLiteral("下一题"));
    next_->setFont(ui::heiFont(11));
    next_->setEnabled(false);
    remaining_ = ui::addTransparentLabel(this, QStringLiteral("透明标签_剩余时间"),
                                         QRect(168, 528, 112, 40), ui::heiFont(14), Qt::white);
    remaining_->setText(QStringLiteral("剩余秒："));
    addReturnButton(this, twin.exitButton)->setFont(ui::heiFont(10));
    units_ = addUnitSelector(this, QStringLiteral("组合框_背单词课时选择"), twin.unitSelector);

    surface_ = std::make_unique<PlayArea>(*box_, *flower_);
    rules_ = std::make_unique<WordFinderRules>(twin, *surface_, missed_);

    // Window created: a fresh list of misses, the first unit's words and the first question; the
    // clock waits for the first click.
    box_->setBackgroundPicture(book::picture("finder_background"));
    missed_.clear();
    say(rules_->loadUnit(selectedUnit(units_)));
    askFirstQuestion();

    connect(box_, &ui::AnimationBox::leftPressed, this, &WordFinderWindow::answerClick);
    connect(next_, &QAbstractButton::clicked, this, &WordFinderWindow::skip);
    connect(clock_, &QTimer::timeout, this, &WordFinderWindow::clockTick);
    connect(units_, &QComboBox::currentIndexChanged, this, &WordFinderWindow::unitChanged);
}

WordFinderWindow::~WordFinderWindow() = default;

void WordFinderWindow::hideEvent(QHideEvent* event) {
    // A game left in the middle stops its clock with the window. A hide the window system
    // makes on its own (the desktop minimising everything) is not the child leaving.
    if (!event->spontaneous()) ui::setTimerPeriod(clock_, 0);
    GameWindow::hideEvent(event);
}

bool WordFinderWindow::askFirstQuestion() {
    const QString tooFew = rules_->tooFewWordsLine();
    showShortage(this, kShortageGeometry, tooFew);
    if (!tooFew.isEmpty()) return false;
    rules_->setUpQuestion();
    return true;
}

void WordFinderWindow::answerClick(QPoint point) {
    if (!rules_->tooFewWordsLine().isEmpty()) return;
    // The first click of a game starts the clock; later clicks leave its phase alone.
    ui::setTimerPeriod(clock_, kClockPeriod);
    next_->setEnabled(true);
    rules_->answerClick(point);
}

void WordFinderWindow::skip() {
    if (!rules_->tooFewWordsLine().isEmpty()) return;
    rules_->skip();
}

void WordFinderWindow::clockTick() {
    if (rules_->tick()) {
        remaining_->setText(rules_->remainingCaption());
        units_->setEnabled(false);
        return;
    }
    endGame();
}

void WordFinderWindow::endGame() {
    // The clock stops before any message, so no tick arrives while they are open. The
    // remaining-time caption keeps its last text.
    ui::setTimerPeriod(clock_, 0);
    units_->setEnabled(true);
    next_->setEnabled(false);
    const GameMessage message = rules_->summary();
    const bool listMisses = rules_->summaryListsMisses();
    QPointer<WordFinderWindow> alive(this);
    ui::showMessage(this, message.text, message.caption);
    if (!alive) return;
    if (listMisses) {
        ShowResultWindow(this, missed_);
        if (!alive) return;
    }
    rules_->summaryDone();
}

void WordFinderWindow::unitChanged() {
    say(rules_->changeUnit(selectedUnit(units_)));
    if (!askFirstQuestion()) {
        // Nothing to play: no clock, no skipping, until a unit with enough words is chosen.
        ui::setTimerPeriod(clock_, 0);
        next_->setEnabled(false);
        return;
    }
    // A new unit starts a game at once, without waiting for a click.
    ui::setTimerPeriod(clock_, kClockPeriod);
    next_->setEnabled(true);
}

void WordFinderWindow::say(const std::optional<GameMessage>& message) {
    if (message) ui::showMessage(this, message->text, message->caption);
}

ChineseToEnglishWindow::ChineseToEnglishWindow(QWidget* owner, MissedWords& missed)
    : WordFinderWindow(owner, chineseToEnglishTwin(), missed) {}

EnglishToChineseWindow::EnglishToChineseWindow(QWidget* owner, MissedWords& missed)
    : WordFinderWindow(owner, englishToChineseTwin(), missed) {}

}  // namespace games
