#pragma once

// Shapes of the window pictures that other pictures (the program's icon) draw too.

#include <QColor>
#include <QPointF>

class QPainter;

namespace art {

void paintOpenBook(QPainter& p, QPointF centre, qreal width, const QColor& cover);
// The series' logo: a little green-leafed orange.
void paintOrangeLogo(QPainter& p, QPointF centre, qreal radius);

}  // namespace art
