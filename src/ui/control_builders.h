#pragma once

// Builders for the controls the windows are made of: each creates the control as a child of
// `parent`, names it and gives it its layout geometry (left, top, width, height).

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

#include "ui/controls.h"

namespace ui {

// A control of kind T, made a child of `parent`, named and placed.
template <typename T>
T* addControl(QWidget* parent, const QString& name, QRect geometry) {
    auto* control = new T(parent);
    place(control, name, geometry.x(), geometry.y(), geometry.width(), geometry.height());
    return control;
}

void setTextColour(QWidget* control, const QColor& colour);

TransparentLabel* addTransparentLabel(QWidget* parent, const QString& name, QRect geometry,
                                      const QFont& font, const QColor& colour = Qt::black,
                                      Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);

// A button drawn from a face picture with its caption over it; it never takes the focus, so
// pressing it leaves the child's typing where it was.
PictureButton* addPictureButton(QWidget* parent, const QString& name, QRect geometry,
                                const QPixmap& face, const QString& caption);

SuperButton* addTextButton(QWidget* parent, const QString& name, QRect geometry,
                           const QString& caption, const QFont& font);

CheckBox* addCheckBox(QWidget* parent, const QString& name, QRect geometry, const QString& caption,
                      bool checked);

// A check box whose caption names what its next click does: `whenChecked` (ending in "关")
// while checked, `whenUnchecked` (ending in "开") otherwise.
CheckBox* addSwitchCheckBox(QWidget* parent, const QString& name, QRect geometry,
                            const QString& whenChecked, const QString& whenUnchecked);

ComboBox* addComboBox(QWidget* parent, const QString& name, QRect geometry);

}  // namespace ui
