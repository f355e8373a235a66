#include "pictures/preview.h"

#include <QDir>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <vector>

#include "common/parallel.h"
#include "pictures/art/page_art.h"
#include "pictures/book_pictures.h"
#include "pictures/supplied_pictures.h"
#include "sources/book_profile.h"

namespace tool {

namespace {

const QSize kDesignSize(kPageWidth, kPageHeight);

QFont labelFont() {
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(11);
    font.setBold(true);
    return font;
}

// A rectangle outlined in `colour` over a light tint of it, with a white edge on both sides
// of the line so that it stands out on dark and light scans alike.
void outline(QPainter& p, const QRect& r, const QColor& colour) {
    const QRectF box = QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5);
    QColor tint = colour;
    tint.setAlpha(36);
    p.fillRect(box, tint);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 210), 3.2));
    p.drawRect(box);
    p.setPen(QPen(colour, 1.4));
    p.drawRect(box);
}

// A small tag with the label at `corner`, kept inside the page.
void tag(QPainter& p, QPointF corner, const QString& text, const QColor& colour) {
    const QFont font = labelFont();
    const QFontMetricsF metrics(font);
    const QSizeF size(metrics.horizontalAdvance(text) + 6, metrics.height() + 1);
    QPointF at = corner;
    at.setX(std::clamp(at.x(), 0.0, kPageWidth - size.width()));
    at.setY(std::clamp(at.y(), 0.0, kPageHeight - size.height()));
    const QRectF box(at, size);
    QPainterPath path;
    path.addRoundedRect(box, 3, 3);
    p.setPen(QPen(QColor(255, 255, 255, 220), 1));
    p.setBrush(colour);
    p.drawPath(path);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(box, Qt::AlignCenter, text);
}

}  // namespace

bool pagePreviewPicture(const PageSource& page, QSize pixels, QImage& picture, QString& error) {
    if (!page.image.given()) {
        picture = art::renderPage(pageSpec(page, kDesignSize));
        return true;
    }
    QList<QImage> frames;
    int delayMs = 0;
    if (!readPicture(page.image.path, frames, delayMs, error)) return false;
    // The scan is fitted into the page picture's size, which the reader then stretches over
    // the design space: the preview places it the same way.
    const QRectF fitted = fittedRect(frames.first().size(), pixels);
    const double sx = double(kPageWidth) / pixels.width();
    const double sy = double(kPageHeight) / pixels.height();
    picture = QImage(kDesignSize, QImage::Format_RGB32);
    picture.fill(marginColour(QStringLiteral("jpg")));
    QPainter p(&picture);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRectF(fitted.x() * sx, fitted.y() * sy, fitted.width() * sx, fitted.height() * sy),
                frames.first());
    return true;
}

void outlinePage(const PageSource& page, QImage& picture) {
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    for (const Entry& e : page.entries) outline(p, e.rect, kHotspotOutline);
    // Answer boxes sit where the reader lays them; their tags go to their right, as the boxes
    // are too small to hold them.
    struct Box {
        QRect rect;
        QString label;
    };
    QList<Box> boxes;
    for (const FillBox& f : page.fills) {
        boxes.append({QRect(f.pos, QSize(kFillBoxSize, kFillBoxSize)),
                      QStringLiteral("填%1").arg(f.number)});
    }
    for (const TickBox& t : page.ticks) {
        boxes.append({QRect(t.pos + QPoint(7, 8), QSize(kTickBoxWidth, kTickBoxHeight)),
                      QStringLiteral("勾%1").arg(t.number)});
    }
    for (const ListenIcon& icon : page.listens) {
        boxes.append(
            {QRect(icon.pos, QSize(kListenIconSize, kListenIconSize)), QStringLiteral("听")});
    }
    for (const Box& box : boxes) outline(p, box.rect, kAnswerOutline);
    // Tags go over every outline, so that no number is hidden under another box's line.
    for (const Entry& e : page.entries) {
        tag(p, e.rect.topLeft(), QString::number(e.number), kHotspotOutline);
    }
    for (const Box& box : boxes) {
        tag(p, QPointF(box.rect.right() + 3, box.rect.top()), box.label, kAnswerOutline);
    }
}

bool writePreviews(const BookSources& book, const QString& folder, int parallel,
                   Problems& problems) {
    QDir().mkpath(folder);
    const int count = int(book.pages.size());
    std::vector<QString> errors(static_cast<size_t>(count));
    forEachParallel(count, parallel, [&](int at) {
        const auto i = size_t(at);
        const PageSource& page = book.pages[at];
        QImage sheet;
        if (!pagePreviewPicture(page, pagePictureSize(book, page.pageNumber), sheet, errors[i]))
            return;
        outlinePage(page, sheet);
        const QString path = QDir(folder).filePath(
            QStringLiteral("p%1.png").arg(page.pageNumber, 2, 10, QChar('0')));
        if (!sheet.save(path)) errors[i] = QStringLiteral("cannot write %1").arg(path);
    });
    bool ok = true;
    for (size_t i = 0; i < errors.size(); ++i) {
        if (errors[i].isEmpty()) continue;
        ok = false;
        const PageSource& page = book.pages[qsizetype(i)];
        problems.add(
            page.image.given() ? page.image.where : Where{page.file, 0},
            page.image.given()
                ? QStringLiteral("cannot use the picture %1: %2").arg(page.image.file, errors[i])
                : errors[i]);
    }
    return ok;
}

}  // namespace tool
