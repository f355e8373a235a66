// Rounded button faces come out of the book as PNGs with see-through corners, and a picture
// button keeps those corners see-through when it is disabled or hovered.
#include <gtest/gtest.h>

#include <QImage>

#include "book/book.h"
#include "ui/controls.h"

namespace {

constexpr const char* kRoundedFaces[] = {
    "start_button",  "dict_start",    "dict_replay",  "dict_next",    "dict_confirm",
    "button_104x40", "button_100x40", "button_72x32", "button_60x40", "button_40x40"};

// The button as painted over nothing: what it leaves alone stays transparent.
QImage painted(ui::PictureButton& button) {
    QImage image(button.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    button.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

}  // namespace

TEST(PictureButtons, RoundedFacesLoadWithSeeThroughCorners) {
    for (const char* name : kRoundedFaces) {
        SCOPED_TRACE(name);
        const QImage face = book::picture(name).toImage().convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(face.isNull());
        EXPECT_TRUE(face.hasAlphaChannel());
        EXPECT_EQ(qAlpha(face.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(face.pixel(face.width() - 1, face.height() - 1)), 0);
        EXPECT_EQ(qAlpha(face.pixel(face.width() / 2, face.height() / 2)), 255);
    }
}

TEST(PictureButtons, DisabledAndHoveredFacesKeepTheirCornersSeeThrough) {
    ui::PictureButton button;
    button.resize(60, 40);
    button.setPicture(book::picture("button_60x40"));
    const QImage normal = painted(button);
    button.setEnabled(false);
    const QImage disabled = painted(button);
    for (const QImage& image : {normal, disabled}) {
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(image.pixel(59, 39)), 0);
        EXPECT_EQ(qAlpha(image.pixel(30, 20)), 255);
    }
    // The disabled face is faded towards white.
    EXPECT_GT(QColor(disabled.pixel(30, 20)).lightness(), QColor(normal.pixel(30, 20)).lightness());

    // A face without transparency is still veiled all over when disabled.
    QImage opaque(60, 40, QImage::Format_RGB32);
    opaque.fill(QColor(200, 40, 40));
    button.setPicture(QPixmap::fromImage(opaque));
    const QImage veiled = painted(button);
    EXPECT_GT(QColor(veiled.pixel(0, 0)).lightness(), QColor(200, 40, 40).lightness());
    EXPECT_EQ(veiled.pixel(0, 0), veiled.pixel(30, 20));
}
