#include "reader/reader_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QSet>

#include "book/book.h"
#include "book/page_content.h"
#include "ui/service_calls.h"

namespace reader {

namespace {

const QString kOverlayPrefix = QStringLiteral("透明标签练一练是否错误");
const QString kPlayable = QStringLiteral("可用");
const QString kUnplayable = QStringLiteral("不可用");

QString hotspotName(int page, int number) {
    const QString pageText = page == 2   ? QStringLiteral("二")
                             : page == 4 ? QStringLiteral("四")
                                         : QString::number(page);
    return QStringLiteral("透明标签页%1_%2").arg(pageText).arg(number);
}

// The translation bubble: the child may drag it away with the left mouse button.
class BubbleLabel : public ui::Label {
  public:
    using ui::Label::Label;

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) grab_ = event->position().toPoint();
        ui::Label::mousePressEvent(event);
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (event->buttons() & Qt::LeftButton)
            move(mapToParent(event->position().toPoint()) - grab_);
    }

  private:
    QPoint grab_;
};

}  // namespace

ReaderWindow::ReaderWindow(ReaderSession& session, const Attach& attach, QWidget* loadingPicture,
                           QWidget* parent)
    : QDialog(parent), session_(session), loadingPicture_(loadingPicture) {
    setObjectName(QStringLiteral("ReaderWindow"));
    // The title bar shows no text: an empty title would make Qt show the program's name, so
    // the title is a single space.
    setWindowTitle(QStringLiteral(" "));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    resize(800, 600);
    buildScreens();
    buildToolbar();

    bubble_ = new BubbleLabel(this);
    ui::place(bubble_, QStringLiteral("标签_显示翻译"), 72, 0, 40, 24);
    ui::setTag(bubble_, 1);
    bubble_->setAutoFillBackground(true);
    bubble_->setStyleSheet(QStringLiteral("background-color: rgb(255,255,223); color: black;"));
    bubble_->setFont(ui::songFont(15));
    bubble_->setWordWrap(true);
    bubble_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    bubble_->hide();

    markTemplate_ = new ui::PictureBox(this);
    ui::place(markTemplate_, QStringLiteral("图片框_正确"), 32, 8, 20, 20);
    markTemplate_->setPictureBytes(book::pictureBytes("mark_right"));
    markTemplate_->hide();

    bannerTimer_ = new QTimer(this);
    bannerTimer_->setObjectName(QStringLiteral("时钟1"));
    connect(bannerTimer_, &QTimer::timeout, this, &ReaderWindow::BannerTick);
    bannerTimer_->start(50);

    connect(container_, &QStackedWidget::currentChanged, this, &ReaderWindow::OnScreenChanged);
    if (attach) attach(*this);
    OnReaderCreated();
}

ReaderWindow::~ReaderWindow() = default;

void ReaderWindow::buildScreens() {
    container_ = new ui::PageContainer(this);
    ui::place(container_, QStringLiteral("高级选择夹1"), 0, 0, 800, 540);
    for (int screen = 0; screen < book::screenCount(); ++screen) buildPage(screen);
}

void ReaderWindow::buildPage(int screen) {
    // Each screen of the container holds one picture box at its origin; the picture box
    // keeps its own size so that the layout can scale it independently of the container.
    auto* holder = new QWidget(container_);
    auto* picture = new ui::PictureBox(holder);
    screens_.append(picture);
    hotspots_.append(QList<ui::TransparentLabel*>());
    container_->addWidget(holder);
    // The dictation screen is a picture here; the trainer puts its controls on it.
    if (screen == book::dictationScreen()) {
        ui::place(picture, QStringLiteral("图片框底图背单词"), 0, 0, 800, 560);
        picture->setPictureBytes(book::pictureBytes("dictation_screen"));
        return;
    }
    const book::PageDef& page = *book::pageOfScreen(screen);
    ui::place(picture, QString::fromUtf8(page.pictureBox), 0, 0, 800, 540);
    picture->setPictureBytes(QByteArray::fromRawData(
        reinterpret_cast<const char*>(page.picture.data), qsizetype(page.picture.size)));

    // The listen icon lies under the hotspot whose recording is the listening exercise.
    if (page.listenIcon) {
        auto* icon = new ui::PictureBox(picture);
        ui::place(icon, QString::fromUtf8(page.listenIcon->name), page.listenIcon->x,
                  page.listenIcon->y, 20, 20);
        icon->setPictureBytes(book::pictureBytes("listen_icon"));
    }
    // Hotspots are made from the highest number down, the control order of the page; the
    // screen's list keeps them in the page's order.
    const bool wordList = page.wordList;
    QList<ui::TransparentLabel*> pageHotspots(page.hotspotCount);
    for (int i = page.hotspotCount - 1; i >= 0; --i) {
        const book::HotspotDef& def = page.hotspots[i];
        auto* hotspot = new ui::TransparentLabel(picture);
        pageHotspots[i] = hotspot;
        ui::place(hotspot, hotspotName(page.pageNumber, def.number), def.rect.x, def.rect.y,
                  def.rect.w, def.rect.h);
        if (!wordList) ui::setTag(hotspot, page.pageNumber);
        hotspot->setCursor(Qt::PointingHandCursor);
        const int number = def.number;
        const int clip = def.clip;
        connect(hotspot, &ui::Label::leftPressed, this, [this, hotspot, number, clip, wordList] {
            if (wordList) {
                ReadHotspot(hotspot, book::clipAt(clip), QString());
                return;
            }
            const book::PageContent& content = session_.page;
            ReadHotspot(hotspot, content.PageClips.value(number - 1),
                        content.ChineseLines.value(number - 1));
        });
    }
    hotspots_[screen] = pageHotspots;
    if (page.hasOverlay) {
        auto* overlay = new ui::TransparentLabel(picture);
        ui::place(overlay, kOverlayPrefix + QString::number(page.pageNumber) + QStringLiteral("_0"),
                  page.overlayX, page.overlayY, 20, 20);
        overlay->setEnabled(false);
        overlay->setCursor(Qt::ArrowCursor);
        const int pageNumber = page.pageNumber;
        connect(overlay, &ui::Label::leftPressed, this,
                [this, pageNumber](QPoint position) { emit overlayPressed(pageNumber, position); });
    }
    for (int i = 0; i < page.fillBoxCount; ++i) {
        const book::FillBoxDef& def = page.fillBoxes[i];
        auto* box = new ui::EditBox(picture);
        ui::place(box, QStringLiteral("编辑框%1_%2").arg(page.pageNumber).arg(def.number), def.x,
                  def.y, 16, 16);
        box->setFrame(false);
        box->setTextMargins(0, 0, 0, 0);
        box->setAlignment(Qt::AlignCenter);
        box->setProperty("answer", QString::fromUtf8(def.answer));
    }
    for (int i = 0; i < page.tickBoxCount; ++i) {
        const book::TickBoxDef& def = page.tickBoxes[i];
        auto* box = new ui::CheckBox(picture);
        ui::place(box, QStringLiteral("选择框打钩%1_%2").arg(page.pageNumber).arg(def.number),
                  def.x, def.y, 15, 16);
        box->setProperty("shouldBeTicked", def.shouldBeTicked);
    }
}

ui::SuperButton* ReaderWindow::addToolbarButton(const QString& name, int left,
                                                const QString& text) {
    auto* button = new ui::SuperButton(toolbar_);
    ui::place(button, name, left, 15, 40, 30);
    button->setText(text);
    button->setToolTip(text);
    return button;
}

void ReaderWindow::addToolButton(const QString& name, int left, const QString& text,
                                 ReaderTool tool) {
    auto* button = addToolbarButton(name, left, text);
    connect(button, &QAbstractButton::clicked, this, [this, tool] { emit toolRequested(tool); });
}

void ReaderWindow::buildToolbar() {
    toolbar_ = new ui::GroupBox(this);
    ui::place(toolbar_, QStringLiteral("分组框翻页"), 1, 536, 792, 59);
    toolbar_->setStyleSheet(
        QStringLiteral("QGroupBox#分组框翻页 { background-color: rgb(236, 248, 236); border: 1px "
                       "solid rgb(170, 205, 170);"
                       " border-radius: 3px; }"));
    auto* full = addToolbarButton(QStringLiteral("超级按钮_全屏"), 4, QStringLiteral("全屏"));
    connect(full, &QAbstractButton::clicked, this, &ReaderWindow::ToggleFullScreen);
    auto* previous =
        addToolbarButton(QStringLiteral("超级按钮_上一页"), 43, QStringLiteral("上一页"));
    connect(previous, &QAbstractButton::clicked, this, &ReaderWindow::GoToPreviousPage);

    sections_ = new ui::ComboBox(toolbar_);
    ui::place(sections_, QStringLiteral("组合框课程选择"), 89, 21, 60, 20);
    sections_->setEditable(false);
    const book::Book& b = book::theBook();
    for (int i = 0; i < b.sectionCount; ++i) {
        sections_->addItem(QString::fromUtf8(b.sections[i].text), b.sections[i].data);
    }
    connect(sections_, &QComboBox::currentIndexChanged, this, &ReaderWindow::ChooseSection);

    auto* next = addToolbarButton(QStringLiteral("超级按钮_下一页"), 151, QStringLiteral("下一页"));
    connect(next, &QAbstractButton::clicked, this, &ReaderWindow::GoToNextPage);
    auto* hint =
        addToolbarButton(QStringLiteral("超级按钮_中文提示"), 195, QStringLiteral("中文翻译关"));
    hint->setToolTip(QStringLiteral("中文提示关"));
    hint->setCheckable(true);
    connect(hint, &QAbstractButton::clicked, this, &ReaderWindow::ToggleChineseHint);
    addToolButton(QStringLiteral("超级按钮_练一练"), 239, QStringLiteral("练一练"),
                  ReaderTool::Practice);
    addToolButton(QStringLiteral("超级按钮_找一找"), 283, QStringLiteral("找一找"),
                  ReaderTool::FindIt);
    addToolButton(QStringLiteral("超级按钮_填一填"), 327, QStringLiteral("填一填"),
                  ReaderTool::FillIn);
    addToolButton(QStringLiteral("超级按钮_排序"), 371, QStringLiteral("句子排序"),
                  ReaderTool::SentenceOrder);
    auto* dictation =
        addToolbarButton(QStringLiteral("超级按钮_背单词"), 415, QStringLiteral("背单词"));
    connect(dictation, &QAbstractButton::clicked, this, &ReaderWindow::EnterDictation);
    addToolButton(QStringLiteral("超级按钮_连连看"), 459, QStringLiteral("连连看"),
                  ReaderTool::Match);
    addToolButton(QStringLiteral("超级按钮_单词排序"), 503, QStringLiteral("单词排序"),
                  ReaderTool::WordSpell);
    addToolButton(QStringLiteral("超级按钮_汉找英"), 547, QStringLiteral("汉找英"),
                  ReaderTool::ChineseToEnglish);
    addToolButton(QStringLiteral("超级按钮_英找汉"), 591, QStringLiteral("英找汉"),
                  ReaderTool::EnglishToChinese);
    auto* exit = addToolbarButton(QStringLiteral("超级按钮_退出"), 634, QStringLiteral("退出"));
    connect(exit, &QAbstractButton::clicked, this, &ReaderWindow::ExitProgram);

    banner_ = new ui::DrawPanel(toolbar_);
    ui::place(banner_, QStringLiteral("画板1"), 671, 10, 118, 40);
    banner_->setBackgroundColour(QColor(0, 136, 255));
    banner_->setTextColour(Qt::white);
    banner_->setFont(ui::songFont(15));
}

void ReaderWindow::OnReaderCreated() {
    ReaderSession& state = session_;
    state.ScreenIndex = 0;
    state.BubbleEnabled = true;
    // The first screen is already shown, so no change event comes for it. A book may open on
    // a page without entries, or have that page only: the toolbar follows it from the start.
    if (shownScreen() == 0) {
        book::ClearPageContent(state.page);
        book::LoadPageContent(0, state.page);
    }
    enableToolbarFor(0);
    if (loadingPicture_) loadingPicture_->hide();
    LayoutReader();
    prepareNeighbours();
}

void ReaderWindow::LayoutReader() {
    const ReaderSession& state = session_;
    const QSize screen =
        ui::services().shell ? ui::services().shell->screenSize() : QSize(800, 600);
    scale_ = layoutScale(state.FullScreenMode, screen);
    auto* full = findChild<QAbstractButton*>(QStringLiteral("超级按钮_全屏"));
    const QString fullText =
        state.FullScreenMode ? QStringLiteral("退出全屏") : QStringLiteral("全屏");
    full->setText(fullText);
    full->setToolTip(fullText);
    if (state.FullScreenMode) {
        // Fixed at the screen's size like every window: the layout is made for that size, so
        // the window manager must not shrink it.
        setFixedSize(scale_.width, scale_.height);
        setWindowState(windowState() | Qt::WindowMaximized);
    } else {
        setFixedSize(800, 600);
    }
    container_->resize(scale_.width, scale_.height);
    for (QCheckBox* box : ui::childrenWithPrefix<QCheckBox>(this, QStringLiteral("选择框打钩"))) {
        box->move(tickBoxPosition(box->geometry(), scale_));
    }
    for (ui::PictureBox* picture : findChildren<ui::PictureBox*>()) {
        picture->setGeometry(scaledRect(picture->geometry(), scale_));
    }
    for (ui::TransparentLabel* label : findChildren<ui::TransparentLabel*>()) {
        label->setGeometry(scaledRect(label->geometry(), scale_));
        label->setText(QString());
    }
    for (QLineEdit* edit : findChildren<QLineEdit*>()) {
        if (qobject_cast<QComboBox*>(edit->parentWidget())) continue;
        edit->setGeometry(scaledRect(edit->geometry(), scale_));
        edit->setStyleSheet(QStringLiteral("background-color: rgb(128, 224, 0);"));
        edit->setFont(ui::songFont(15));
    }
    for (QPlainTextEdit* edit : findChildren<QPlainTextEdit*>()) {
        edit->setGeometry(scaledRect(edit->geometry(), scale_));
        edit->setStyleSheet(QStringLiteral("background-color: rgb(128, 224, 0);"));
        edit->setFont(ui::songFont(15));
    }
    for (ui::PictureBox* picture :
         ui::childrenWithPrefix<ui::PictureBox>(this, QStringLiteral("图片框底图"))) {
        picture->move(0, 0);
    }
    for (QWidget* widget : findChildren<QWidget*>()) {
        if (ui::keepsSizeWhenScaled(widget)) widget->move(scaledPoint(widget->pos(), scale_));
    }
    toolbar_->setGeometry(scaledRect(toolbar_->geometry(), scale_));
    banner_->move(toolbar_->width() - banner_->width() - 2, banner_->y());
    bubble_->raise();
}

int ReaderWindow::shownScreen() const {
    return container_->currentIndex();
}

ui::PictureBox* ReaderWindow::screenPicture(int screen) const {
    return screens_.value(screen);
}

QList<ui::TransparentLabel*> ReaderWindow::hotspotsOf(int screen) const {
    return hotspots_.value(screen);
}

void ReaderWindow::ShowScreen(int screen) {
    container_->setCurrentIndex(screen);
}

void ReaderWindow::OnScreenChanged(int screen) {
    bubble_->hide();
    book::LoadPageContent(screen, session_.page);
    enableToolbarFor(screen);
    prepareNeighbours();
}

void ReaderWindow::enableToolbarFor(int screen) {
    for (const char* name : {"超级按钮_排序", "超级按钮_找一找", "超级按钮_练一练",
                             "超级按钮_填一填", "超级按钮_中文提示"}) {
        findChild<QAbstractButton*>(QString::fromUtf8(name))
            ->setEnabled(book::screenHasEntries(screen));
    }
    findChild<QAbstractButton*>(QStringLiteral("超级按钮_下一页"))
        ->setEnabled(screen < book::lastBookScreen());
    findChild<QAbstractButton*>(QStringLiteral("超级按钮_上一页"))->setEnabled(screen != 0);
}

void ReaderWindow::LeaveShownPage() {
    ui::stopAllClips();
    if (session_.AnswerMarksShown) HideAnswerMarks();
    SetExerciseOverlays(kUnplayable);
    book::ClearPageContent(session_.page);
    emit pageLeft();
}

void ReaderWindow::GoToPreviousPage() {
    ReaderSession& state = session_;
    if (state.ScreenIndex == 0) {
        ui::showMessage(this, QStringLiteral("已经第一页了！"));
        return;
    }
    LeaveShownPage();
    ShowScreen(--state.ScreenIndex);
}

void ReaderWindow::GoToNextPage() {
    ReaderSession& state = session_;
    if (state.ScreenIndex >= book::lastBookScreen()) {
        ui::showMessage(this, QStringLiteral("已经最后一页了！"));
        return;
    }
    LeaveShownPage();
    ShowScreen(++state.ScreenIndex);
}

void ReaderWindow::ChooseSection() {
    // A running exercise ends as it does when a page is turned: its lists are replaced here,
    // so its overlays must stop taking presses and its clip must stop.
    ui::stopAllClips();
    SetExerciseOverlays(kUnplayable);
    book::ClearPageContent(session_.page);
    emit pageLeft();
    if (session_.AnswerMarksShown) HideAnswerMarks();
    const int first = book::sectionFirstScreen(sections_->currentData().toInt());
    if (first < 0) return;
    const bool alreadyShown = shownScreen() == first;
    session_.ScreenIndex = first;
    ShowScreen(first);
    if (alreadyShown) OnScreenChanged(first);
}

void ReaderWindow::SetExerciseOverlays(const QString& mode) {
    const QSize pageSize = screens_.value(0) ? screens_[0]->size() : QSize(800, 540);
    for (ui::TransparentLabel* overlay :
         ui::childrenWithPrefix<ui::TransparentLabel>(this, kOverlayPrefix)) {
        overlay->setEnabled(mode == kPlayable);
        overlay->resize(pageSize);
        if (mode == kPlayable) overlay->raise();
    }
}

void ReaderWindow::HideAnswerMarks() {
    // Hotspots carry their page number as their tag, and a book may have pages 89 to 91:
    // those stay.
    QSet<const QWidget*> hotspots;
    for (const QList<ui::TransparentLabel*>& page : hotspots_)
        for (const ui::TransparentLabel* hotspot : page) hotspots.insert(hotspot);
    for (QWidget* control : findChildren<QWidget*>()) {
        const int tag = ui::tagOf(control);
        if (tag >= 89 && tag <= 91 && !hotspots.contains(control)) control->hide();
    }
}

void ReaderWindow::ToggleChineseHint() {
    auto* hint = findChild<QAbstractButton*>(QStringLiteral("超级按钮_中文提示"));
    const bool pressed = hint->isChecked();
    hint->setText(pressed ? QStringLiteral("中文翻译开") : QStringLiteral("中文翻译关"));
    hint->setToolTip(pressed ? QStringLiteral("中文翻译开") : QStringLiteral("中文翻译关"));
    session_.BubbleEnabled = !pressed;
}

void ReaderWindow::ToggleFullScreen() {
    ReaderSession& state = session_;
    state.FullScreenToggleCount += 1;
    if (loadingPicture_) loadingPicture_->show();
    state.FullScreenMode = state.FullScreenToggleCount % 2 == 1;
    done(kReopen);
}

void ReaderWindow::ExitProgram() {
    exiting_ = true;
    ui::stopAllClips();
    QCoreApplication::exit(0);
    done(QDialog::Rejected);
}

void ReaderWindow::EnterDictation() {
    ui::stopAllClips();
    SetExerciseOverlays(kUnplayable);
    book::ClearPageContent(session_.page);
    emit pageLeft();
    ShowScreen(book::dictationScreen());
}

void ReaderWindow::LeaveDictation() {
    ShowScreen(session_.ScreenIndex);
}

void ReaderWindow::ReadHotspot(QWidget* source, const sound::SoundClip& clip, const QString& text) {
    ui::stopAllClips();
    QSize limits(800, 600);
    if (session_.FullScreenMode) {
        limits = ui::services().shell ? ui::services().shell->screenSize() : limits;
        setWindowState(windowState() | Qt::WindowMaximized);
    }
    if (sound::Sound* sound = ui::services().sound) sound->play(clip);
    const BubblePlacement placement = placeBubble(source->pos(), text, limits);
    bubble_->setFont(ui::songFont(15));
    bubble_->setAlignment((placement.centred ? Qt::AlignHCenter : Qt::AlignLeft) |
                          Qt::AlignVCenter);
    bubble_->setGeometry(placement.geometry);
    bubble_->setText(text);
    bubble_->setVisible(text != QLatin1String("$") && session_.BubbleEnabled);
    if (bubble_->isVisible()) bubble_->raise();
}

void ReaderWindow::BannerTick() {
    const QString title = book::programTitle();
    ReaderSession& state = session_;
    const int textWidth = banner_->textWidth(title);
    banner_->clear();
    state.bannerOffset = readerBannerStep(state.bannerOffset, banner_->width(), textWidth);
    banner_->drawText(state.bannerOffset, 10, title);
}

void ReaderWindow::prepareNeighbours() {
    // The shown page's recordings are decoded while the child looks at the page.
    if (ui::services().sound) ui::services().sound->prepare(session_.page.PageClips);
    // Decode the pages next to the shown one while the child looks at it, and let pictures
    // far away go, so that turning a page only copies a ready picture.
    const int shown = shownScreen();
    QTimer::singleShot(60, this, [this, shown] {
        for (int i = 0; i < screens_.size(); ++i) {
            if (std::abs(i - shown) <= 1) {
                screens_[i]->prepare();
            } else if (std::abs(i - shown) > 3) {
                screens_[i]->releaseScaled();
            }
        }
    });
}

void ReaderWindow::closeEvent(QCloseEvent* event) {
    ui::stopAllClips();
    QDialog::closeEvent(event);
}

void ReaderWindow::keyPressEvent(QKeyEvent* event) {
    // A stray Escape from a child must not close the book; the window's close button does.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void OpenReader(QWidget* owner, QWidget* loadingPicture, ReaderSession& session,
                const ReaderWindow::Attach& attach) {
    for (;;) {
        ReaderWindow reader(session, attach, loadingPicture, owner);
        reader.setWindowModality(Qt::ApplicationModal);
        // The owner is disabled while the reader is open; the reader, a window of its own,
        // stays usable.
        reader.setEnabled(true);
        if (reader.exec() != ReaderWindow::kReopen) return;
    }
}

}  // namespace reader
