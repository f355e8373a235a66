#include "app/start_window.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <QTextEdit>

#include "app/banner.h"
#include "app/book_argument.h"
#include "app/features.h"
#include "book/book.h"
#include "ui/services.h"
#include "ui/shortcut.h"

namespace app {

const char* const kHomePage = "https://qcbook.example.org/";

QString startBannerText() {
    return QStringLiteral("其他年级及版本软件下载") + QString::fromLatin1(kHomePage);
}

namespace {

ui::TransparentLabel* addCaption(QWidget* parent, const QString& name, QRect geometry,
                                 const QString& text) {
    auto* label = new ui::TransparentLabel(parent);
    ui::place(label, name, geometry.x(), geometry.y(), geometry.width(), geometry.height());
    label->setText(text);
    label->setAlignment(Qt::AlignCenter);
    label->setFont(ui::heiFont(-1, 22));
    label->setStyleSheet(QStringLiteral("color: rgb(0, 100, 0);"));
    return label;
}

QTextEdit* addRichText(QWidget* parent, const QString& name, QRect geometry, const char* html) {
    auto* box = new QTextEdit(parent);
    ui::place(box, name, geometry.x(), geometry.y(), geometry.width(), geometry.height());
    box->setReadOnly(true);
    box->setHtml(QString::fromUtf8(html));
    return box;
}

// The rich text boxes show their text in 宋体 10 pt, dark green, with no other emphasis.
void setDefaultFormat(QTextEdit* box) {
    QTextCharFormat format;
    format.setFont(ui::songFont(10));
    format.setForeground(QColor(0, 128, 0));
    format.setFontWeight(QFont::Normal);
    format.setFontItalic(false);
    format.setFontUnderline(false);
    format.setFontStrikeOut(false);
    QTextCursor cursor(box->document());
    cursor.select(QTextCursor::Document);
    cursor.mergeCharFormat(format);
    box->setCurrentCharFormat(format);
    box->document()->setDefaultFont(ui::songFont(10));
}

QImage decodeAtSize(const QByteArray& bytes, QSize size) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setScaledSize(size);
    reader.setQuality(85);
    return reader.read();
}

}  // namespace

StartWindow::StartWindow(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("StartWindow"));
    setWindowTitle(book::programTitle());
    setFixedSize(800, 600);
    backgroundDecoding_ =
        std::async(std::launch::async, [bytes = book::pictureBytes("start_background")] {
            return decodeAtSize(bytes, QSize(800, 600));
        });
    buildControls();
    OnStartWindowCreated();
}

void StartWindow::buildControls() {
    auto* frame = new ui::GroupBox(this);
    ui::place(frame, QStringLiteral("分组框1"), 8, 12, 368, 272);
    frame->setStyleSheet(QStringLiteral(
        "QGroupBox { background-color: rgba(255,255,255,170); border: 2px solid rgb(120,180,230);"
        " border-radius: 8px; }"));
    auto* cover = new ui::PictureBox(this);
    ui::place(cover, QStringLiteral("图片框封皮"), 16, 28, 152, 216);
    cover->setPictureBytes(book::pictureBytes("cover"));
    auto* start = new ui::PictureButton(this);
    ui::place(start, QStringLiteral("超级按钮_开始学习"), 208, 197, 100, 40);
    start->setPicture(book::picture("start_button"));
    connect(start, &QAbstractButton::clicked, this, &StartWindow::StartLearning);

    banner_ = new ui::DrawPanel(this);
    ui::place(banner_, QStringLiteral("画板1"), 11, 252, 360, 28);
    banner_->setBackgroundColour(QColor(0, 0, 255));
    banner_->setTextColour(Qt::white);
    banner_->setFont(ui::songFont(-1, 21));
    banner_->setBorder(true);
    banner_->setCursor(Qt::PointingHandCursor);
    connect(banner_, &ui::DrawPanel::leftPressed, this, &StartWindow::OpenVendorSite);

    moveRight_ = new QTimer(this);
    moveRight_->setObjectName(QStringLiteral("时钟_右移"));
    connect(moveRight_, &QTimer::timeout, this, &StartWindow::BannerMoveRight);
    moveLeft_ = new QTimer(this);
    moveLeft_->setObjectName(QStringLiteral("时钟_左移"));
    connect(moveLeft_, &QTimer::timeout, this, &StartWindow::BannerMoveLeft);

    loading_ = new ui::PictureBox(this);
    ui::place(loading_, QStringLiteral("图片框加载"), 376, 272, 40, 40);
    loading_->setMoviePicture(book::pictureBytes("loading"));
    loading_->hide();

    auto* caption = new ui::Label(this);
    ui::place(caption, QStringLiteral("标签3"), 408, 16, 360, 48);
    caption->setText(book::programCaption());
    caption->setAlignment(Qt::AlignCenter);
    caption->setFont(ui::songFont(-1, 21));
    caption->setStyleSheet(QStringLiteral("color: rgb(0, 128, 0); background-color: white;"));

    addCaption(this, QStringLiteral("透明标签_年级1"), {540, 77, 100, 33},
               QStringLiteral("软件说明"));
    addRichText(this, QStringLiteral("超级编辑框软件说明"), {424, 116, 344, 158},
                book::theBook().aboutHtml);
    addCaption(this, QStringLiteral("透明标签_问题"), {548, 296, 112, 33},
               QStringLiteral("常见问题"));
    addRichText(this, QStringLiteral("超级编辑框常见问题"), {424, 337, 344, 215},
                book::theBook().faqHtml);
}

void StartWindow::OnStartWindowCreated() {
    ui::Shell* shell = ui::services().shell;
    if (shell) {
        ui::ensureDesktopShortcut(shell->desktopFolder(), shell->programFolder(),
                                  book::programTitle(), book::shortcutName(), openedBookPath());
    }
    setDefaultFormat(findChild<QTextEdit*>(QStringLiteral("超级编辑框软件说明")));
    setDefaultFormat(findChild<QTextEdit*>(QStringLiteral("超级编辑框常见问题")));
    findChild<QWidget*>(QStringLiteral("超级按钮_开始学习"))->show();
    moveRight_->stop();
    moveLeft_->start(50);
}

void StartWindow::StartLearning() {
    loading_->show();
    loading_->repaint();
    setEnabled(false);
    openBook(this, loading_, session_);
    setEnabled(true);
}

void StartWindow::openReaderAt(int screen) {
    session_.startScreen = screen;
    QTimer::singleShot(0, this, &StartWindow::StartLearning);
}

void StartWindow::OpenVendorSite() {
    if (ui::services().shell) ui::services().shell->openWebAddress(QString::fromLatin1(kHomePage));
}

void StartWindow::BannerMoveLeft() {
    const QString text = startBannerText();
    const BannerStep step =
        bannerMoveLeft(bannerOffset_, banner_->width(), banner_->textWidth(text));
    banner_->clear();
    bannerOffset_ = step.offset;
    banner_->drawText(bannerOffset_, 4, text);
    if (step.turn) {
        moveRight_->start(50);
        moveLeft_->stop();
    }
}

void StartWindow::BannerMoveRight() {
    const QString text = startBannerText();
    const BannerStep step = bannerMoveRight(bannerOffset_);
    banner_->clear();
    bannerOffset_ = step.offset;
    banner_->drawText(bannerOffset_, 4, text);
    if (step.turn) {
        moveRight_->stop();
        moveLeft_->start(50);
    }
}

void StartWindow::paintEvent(QPaintEvent*) {
    if (backgroundDecoding_.valid()) background_ = QPixmap::fromImage(backgroundDecoding_.get());
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!background_.isNull()) painter.drawPixmap(rect(), background_);
}

}  // namespace app
