#pragma once

// The kinds of controls the windows are built from. Each kind is its own small class so that
// the program can find controls by kind (findChildren<TransparentLabel*>()), by name prefix
// and by numeric tag, as its logic does.

#include <QAbstractButton>
#include <QByteArray>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPointer>
#include <QStackedWidget>

class QMovie;
class QTimer;

namespace ui {

// A control's numeric tag (the dynamic property "tag"; absent means 0).
int tagOf(const QObject* control);
void setTag(QObject* control, int tag);

// A control that a scaled layout moves with its page but leaves at its own size (the
// dictation screen's buttons and choosers).
void setKeepsSizeWhenScaled(QWidget* control);
bool keepsSizeWhenScaled(const QWidget* control);

// Finds the direct or indirect children of `root` of kind T whose objectName starts with
// `prefix`, in the window's control order.
template <typename T>
QList<T*> childrenWithPrefix(const QObject* root, const QString& prefix) {
    QList<T*> found;
    for (T* child : root->findChildren<T*>()) {
        if (child->objectName().startsWith(prefix)) found.append(child);
    }
    return found;
}

template <typename T>
T* child(const QObject* root, const QString& name) {
    return root->findChild<T*>(name);
}

// Places a control with the geometry its layout gives (left, top, width, height).
void place(QWidget* control, const QString& name, int left, int top, int width, int height);

// An ordinary label.
class Label : public QLabel {
    Q_OBJECT
  public:
    explicit Label(QWidget* parent = nullptr);

  signals:
    void leftPressed(QPoint position);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
};

// A label that draws only its text over what lies beneath it. While disabled it lets presses
// through to the controls underneath.
class TransparentLabel : public Label {
    Q_OBJECT
  public:
    explicit TransparentLabel(QWidget* parent = nullptr);

  protected:
    void changeEvent(QEvent* event) override;
};

// A picture shown stretched to the box. Large pictures are decoded lazily, straight to the
// box's size, and kept scaled so that painting is a plain copy.
class PictureBox : public QLabel {
    Q_OBJECT
  public:
    explicit PictureBox(QWidget* parent = nullptr);

    // Encoded picture bytes (JPEG, BMP, PNG); decoded when first needed.
    void setPictureBytes(const QByteArray& bytes);
    void setPicturePixmap(const QPixmap& pixmap);
    void setMoviePicture(const QByteArray& gifBytes);
    QByteArray pictureBytes() const { return bytes_; }
    // Decodes and scales now (used to prepare the next page ahead of time).
    void prepare();
    bool isPrepared() const;
    void releaseScaled();

  signals:
    void leftPressed(QPoint position);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QByteArray bytes_;
    QPixmap source_;
    QPixmap scaled_;
    QMovie* movie_ = nullptr;
};

// A push button drawn as the toolbar's text buttons: black text on white, light green when
// hovered or pressed, the hand cursor, the text wrapped to fit.
class SuperButton : public QAbstractButton {
    Q_OBJECT
  public:
    explicit SuperButton(QWidget* parent = nullptr);
    QSize sizeHint() const override { return size(); }
    // The face colours: at rest, under the pointer, pressed; and the caption's colour.
    void setColours(const QColor& normal, const QColor& hover, const QColor& pressed,
                    const QColor& text);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor normal_{255, 255, 255};
    QColor hover_{225, 255, 225};
    QColor pressed_{223, 255, 223};
    QColor text_{0, 0, 0};
};

// A button drawn from a picture with an optional caption over it.
class PictureButton : public QAbstractButton {
    Q_OBJECT
  public:
    explicit PictureButton(QWidget* parent = nullptr);
    void setPicture(const QPixmap& picture) {
        picture_ = picture;
        update();
    }
    QSize sizeHint() const override { return size(); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPixmap picture_;
};

class CheckBox : public QCheckBox {
    Q_OBJECT
  public:
    using QCheckBox::QCheckBox;
};

class EditBox : public QLineEdit {
    Q_OBJECT
  public:
    explicit EditBox(QWidget* parent = nullptr);

  signals:
    void enterPressed();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// A drop-down list. The mouse wheel never changes its choice: a child scrolling over a
// window must not jump to another section or unit by accident. A name too long for the box
// (a school's own section or unit name) shows whole as its tooltip; the open list is wide
// enough for every name.
class ComboBox : public QComboBox {
    Q_OBJECT
  public:
    explicit ComboBox(QWidget* parent = nullptr);

  protected:
    void wheelEvent(QWheelEvent* event) override;

  private:
    void showWholeNameAsTooltip();
};

class GroupBox : public QGroupBox {
    Q_OBJECT
  public:
    using QGroupBox::QGroupBox;
};

// The page container: shows one screen at a time and reports when the shown screen changes.
class PageContainer : public QStackedWidget {
    Q_OBJECT
  public:
    using QStackedWidget::QStackedWidget;
};

// Window timers are controlled by their period: 0 stops the timer; another period starts it.
// Setting the period a running timer already has leaves it undisturbed, so its phase goes on.
void setTimerPeriod(QTimer* timer, int milliseconds);

// Font helpers for the faces the layouts name; a machine without the Windows faces falls back
// to the Noto CJK faces.
QFont songFont(double pointSize = -1, int pixelSize = -1);  // 宋体
QFont heiFont(double pointSize = -1, int pixelSize = -1);   // 黑体
QFont kaiFont(double pointSize = -1, int pixelSize = -1);   // 楷体_GB2312

}  // namespace ui
