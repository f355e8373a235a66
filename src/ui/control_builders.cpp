#include "ui/control_builders.h"

#include <QPalette>

namespace ui {

void setTextColour(QWidget* control, const QColor& colour) {
    QPalette palette = control->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    palette.setColor(QPalette::ButtonText, colour);
    control->setPalette(palette);
}

TransparentLabel* addTransparentLabel(QWidget* parent, const QString& name, QRect geometry,
                                      const QFont& font, const QColor& colour,
                                      Qt::Alignment alignment) {
    auto* label = addControl<TransparentLabel>(parent, name, geometry);
    label->setFont(font);
    label->setAlignment(alignment);
    setTextColour(label, colour);
    return label;
}

PictureButton* addPictureButton(QWidget* parent, const QString& name, QRect geometry,
                                const QPixmap& face, const QString& caption) {
    auto* button = addControl<PictureButton>(parent, name, geometry);
    button->setPicture(face);
    button->setText(caption);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

SuperButton* addTextButton(QWidget* parent, const QString& name, QRect geometry,
                           const QString& caption, const QFont& font) {
    auto* button = addControl<SuperButton>(parent, name, geometry);
    button->setText(caption);
    button->setFont(font);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

CheckBox* addCheckBox(QWidget* parent, const QString& name, QRect geometry, const QString& caption,
                      bool checked) {
    auto* box = addControl<CheckBox>(parent, name, geometry);
    box->setText(caption);
    box->setChecked(checked);
    box->setCursor(Qt::PointingHandCursor);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

CheckBox* addSwitchCheckBox(QWidget* parent, const QString& name, QRect geometry,
                            const QString& whenChecked, const QString& whenUnchecked) {
    CheckBox* box = addCheckBox(parent, name, geometry, whenChecked, true);
    QObject::connect(box, &QAbstractButton::clicked, box, [box, whenChecked, whenUnchecked] {
        box->setText(box->isChecked() ? whenChecked : whenUnchecked);
    });
    return box;
}

ComboBox* addComboBox(QWidget* parent, const QString& name, QRect geometry) {
    auto* combo = addControl<ComboBox>(parent, name, geometry);
    combo->setFocusPolicy(Qt::NoFocus);
    return combo;
}

}  // namespace ui
