#include "ui/controls.h"

#include <QBuffer>
#include <QImageReader>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QMovie>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QTimer>
#include <QWheelEvent>

namespace ui {

int tagOf(const QObject* control) {
    return control->property("tag").toInt();
}

void setTag(QObject* control, int tag) {
    control->setProperty("tag", tag);
}

void setKeepsSizeWhenScaled(QWidget* control) {
    control->setProperty("keepsSizeWhenScaled", true);
}

bool keepsSizeWhenScaled(const QWidget* control) {
    return control->property("keepsSizeWhenScaled").toBool();
}

void place(QWidget* control, const QString& name, int left, int top, int width, int height) {
    control->setObjectName(name);
    control->setGeometry(left, top, width, height);
}

Label::Label(QWidget* parent) : QLabel(parent) {}

void Label::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit leftPressed(event->position().toPoint());
    QLabel::mousePressEvent(event);
}

TransparentLabel::TransparentLabel(QWidget* parent) : Label(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
}

void TransparentLabel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        setAttribute(Qt::WA_TransparentForMouseEvents, !isEnabled());
    }
    Label::changeEvent(event);
}

PictureBox::PictureBox(QWidget* parent) : QLabel(parent) {}

void PictureBox::setPictureBytes(const QByteArray& bytes) {
    bytes_ = bytes;
    source_ = QPixmap();
    scaled_ = QPixmap();
    update();
}

void PictureBox::setPicturePixmap(const QPixmap& pixmap) {
    bytes_.clear();
    source_ = pixmap;
    scaled_ = QPixmap();
    update();
}

void PictureBox::setMoviePicture(const QByteArray& gifBytes) {
    bytes_.clear();
    delete movie_;
    auto* buffer = new QBuffer(this);
    buffer->setData(gifBytes);
    movie_ = new QMovie(buffer, QByteArray(), this);
    setScaledContents(true);
    setMovie(movie_);
    movie_->start();
}

bool PictureBox::isPrepared() const {
    return !scaled_.isNull() && scaled_.size() == size();
}

void PictureBox::releaseScaled() {
    scaled_ = QPixmap();
}

void PictureBox::prepare() {
    if (isPrepared() || size().isEmpty()) return;
    if (!bytes_.isEmpty()) {
        // Decode straight to the box size: the JPEG decoder scales while decoding.
        QBuffer buffer;
        buffer.setData(bytes_);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        reader.setScaledSize(size());
        reader.setQuality(85);
        scaled_ = QPixmap::fromImage(reader.read());
        return;
    }
    if (!source_.isNull()) {
        scaled_ = source_.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
}

void PictureBox::paintEvent(QPaintEvent* event) {
    if (movie_) {
        QLabel::paintEvent(event);
        return;
    }
    prepare();
    if (scaled_.isNull()) return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, scaled_);
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit leftPressed(event->position().toPoint());
    QLabel::mousePressEvent(event);
}

SuperButton::SuperButton(QWidget* parent) : QAbstractButton(parent) {
    setAttribute(Qt::WA_Hover);  // repainted as the pointer comes and goes
    setCursor(Qt::PointingHandCursor);
    setFont(songFont(9));
}

void SuperButton::setColours(const QColor& normal, const QColor& hover, const QColor& pressed,
                             const QColor& text) {
    normal_ = normal;
    hover_ = hover;
    pressed_ = pressed;
    text_ = text;
    update();
}

void SuperButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF face = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const bool down = isDown() || isChecked();
    painter.setBrush(down ? pressed_ : underMouse() ? hover_ : normal_);
    painter.setPen(QPen(down ? QColor(60, 150, 60) : QColor(150, 190, 150), 1));
    painter.drawRoundedRect(face, 4, 4);
    painter.setPen(isEnabled() ? text_ : QColor(150, 150, 150));
    painter.setFont(font());
    painter.drawText(rect().adjusted(1, 1, -1, -1), Qt::AlignCenter | Qt::TextWordWrap, text());
}

PictureButton::PictureButton(QWidget* parent) : QAbstractButton(parent) {
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
    setFont(kaiFont(12));
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const int shift = isDown() ? 1 : 0;
    // Disabled faces fade, hovered ones light up a little.
    const QColor veil = !isEnabled()   ? QColor(255, 255, 255, 130)
                        : underMouse() ? QColor(255, 255, 255, 45)
                                       : QColor();
    if (veil.isValid() && !picture_.isNull() && picture_.hasAlphaChannel()) {
        // A face with see-through corners: the veil covers the face only, so the corners
        // stay see-through instead of showing as pale squares.
        QPixmap face = picture_;
        QPainter tint(&face);
        tint.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        tint.fillRect(face.rect(), veil);
        tint.end();
        painter.drawPixmap(rect().translated(shift, shift), face);
    } else {
        if (!picture_.isNull()) painter.drawPixmap(rect().translated(shift, shift), picture_);
        if (veil.isValid()) painter.fillRect(rect(), veil);
    }
    if (!text().isEmpty()) {
        painter.setFont(font());
        painter.setPen(isEnabled() ? QColor(40, 40, 40) : QColor(140, 140, 140));
        painter.drawText(rect().translated(shift, shift), Qt::AlignCenter | Qt::TextWordWrap,
                         text());
    }
}

EditBox::EditBox(QWidget* parent) : QLineEdit(parent) {}

void EditBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit enterPressed();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

ComboBox::ComboBox(QWidget* parent) : QComboBox(parent) {
    connect(this, &QComboBox::currentIndexChanged, this, &ComboBox::showWholeNameAsTooltip);
}

void ComboBox::showWholeNameAsTooltip() {
    const int room = width() - style()->pixelMetric(QStyle::PM_ComboBoxFrameWidth) * 2 - 20;
    setToolTip(fontMetrics().horizontalAdvance(currentText()) > room ? currentText() : QString());
}

void ComboBox::wheelEvent(QWheelEvent* event) {
    event->ignore();
}

void setTimerPeriod(QTimer* timer, int milliseconds) {
    if (milliseconds <= 0) {
        timer->stop();
        return;
    }
    if (timer->isActive() && timer->interval() == milliseconds) return;
    // Game clocks count whole seconds: a coarse timer may drift by 5 % per tick.
    timer->setTimerType(Qt::PreciseTimer);
    timer->start(milliseconds);
}

namespace {

QFont fontWith(const QStringList& families, double pointSize, int pixelSize) {
    QFont font;
    font.setFamilies(families);
    if (pointSize > 0) font.setPointSizeF(pointSize);
    if (pixelSize > 0) font.setPixelSize(pixelSize);
    return font;
}

}  // namespace

QFont songFont(double pointSize, int pixelSize) {
    return fontWith({"SimSun", "Noto Serif CJK SC"}, pointSize, pixelSize);
}

QFont heiFont(double pointSize, int pixelSize) {
    return fontWith({"SimHei", "Noto Sans CJK SC"}, pointSize, pixelSize);
}

QFont kaiFont(double pointSize, int pixelSize) {
    return fontWith({"KaiTi_GB2312", "KaiTi", "AR PL UKai CN", "Noto Serif CJK SC"}, pointSize,
                    pixelSize);
}

}  // namespace ui
