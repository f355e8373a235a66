#include "pictures/book_pictures.h"

#include <QImage>
#include <vector>

#include "common/parallel.h"
#include "common/progress.h"
#include "pictures/art/window_art.h"
#include "pictures/supplied_pictures.h"
#include "sources/book_profile.h"

namespace tool {

art::PageSpec pageSpec(const PageSource& page, QSize pixelSize) {
    art::PageSpec spec;
    spec.pageNumber = page.pageNumber;
    spec.theme = page.theme;
    spec.sectionName = page.section;
    spec.pixelSize = pixelSize;
    spec.wordList = page.wordList;
    for (const Entry& e : page.entries) {
        // A strip prints what its recording says; one that plays a made sound prints its say:
        // text (or its English line) instead of the recipe's name.
        const QString said = e.sound.isEmpty() ? e.recording.text
                             : e.say.isEmpty() ? e.english
                                               : e.say;
        spec.items.append(
            {e.number, e.kind, e.thing, e.colour, e.rect, e.english, e.chinese, said, e.speaker});
    }
    for (const Drawing& d : page.drawings) {
        spec.drawings.append({0, d.kind, d.thing, d.colour, d.rect, d.text, QString(), QString()});
    }
    for (const ListenIcon& icon : page.listens)
        spec.listenIcons.append(QRect(icon.pos, QSize(kListenIconSize, kListenIconSize)));
    for (const FillBox& f : page.fills)
        spec.answerBoxes.append(QRect(f.pos, QSize(kFillBoxSize, kFillBoxSize)));
    for (const TickBox& t : page.ticks) {
        spec.answerBoxes.append(QRect(t.pos + QPoint(7, 8), QSize(kTickBoxWidth, kTickBoxHeight)));
    }
    return spec;
}

// Each page picture is the supplied scan fitted to the page's size, or the drawn page.
bool makePagePictures(const BookSources& book, const QString& cacheFolder, int parallel,
                      QList<QByteArray>& pictures, QList<QSize>& sizes, PictureCounts& counts,
                      Problems& problems) {
    const int count = int(book.pages.size());
    std::vector<QByteArray> made(static_cast<size_t>(count));
    std::vector<QString> errors(static_cast<size_t>(count));
    sizes.clear();
    for (const PageSource& page : book.pages) sizes.append(pagePictureSize(book, page.pageNumber));
    Progress progress(QStringLiteral("pages drawn"), count);
    forEachParallel(count, parallel, [&](int at) {
        const auto i = size_t(at);
        const PageSource& page = book.pages[at];
        const QSize size = pagePictureSize(book, page.pageNumber);
        if (!page.image.given()) {
            made[i] = encodePagePicture(art::renderPage(pageSpec(page, size)));
        } else {
            bool converted = false;
            made[i] = suppliedPagePicture(page.image, size, cacheFolder, errors[i], &converted);
            ++counts.supplied;
            counts.converted += converted;
        }
        progress.step();
    });
    pictures = QList<QByteArray>(made.begin(), made.end());
    bool ok = true;
    for (size_t i = 0; i < made.size(); ++i) {
        const PageSource& page = book.pages[qsizetype(i)];
        if (!made[i].isEmpty()) continue;
        ok = false;
        if (page.image.given()) {
            problems.add(
                page.image.where,
                QStringLiteral("cannot use the picture %1: %2").arg(page.image.file, errors[i]));
        } else {
            problems.add({page.file, 0}, QStringLiteral("cannot encode the page picture"));
        }
    }
    return ok;
}

// Each window picture is the supplied file fitted to the picture's size, or the drawn picture.
bool makeWindowPictures(const BookSources& book, const QString& cacheFolder, int parallel,
                        QHash<QString, QByteArray>& pictures, PictureCounts& counts,
                        Problems& problems) {
    const int count = int(book.pictures.size());
    std::vector<QByteArray> made(static_cast<size_t>(count));
    std::vector<QString> errors(static_cast<size_t>(count));
    forEachParallel(count, parallel, [&](int at) {
        const auto i = size_t(at);
        const PictureSource& p = book.pictures[at];
        if (p.image.given()) {
            bool converted = false;
            made[i] = suppliedWindowPicture(p, cacheFolder, errors[i], &converted);
            ++counts.supplied;
            counts.converted += converted;
            return;
        }
        made[i] = art::renderWindowPicture(
            art::PictureSpec{p.name, p.size, p.painter, p.text, p.format}, &errors[i]);
        QImage decoded;
        if (!made[i].isEmpty() && (!decoded.loadFromData(made[i]) || decoded.size() != p.size)) {
            made[i].clear();
            errors[i] = QStringLiteral("wrong size");
        }
    });
    bool ok = true;
    for (size_t i = 0; i < made.size(); ++i) {
        const PictureSource& p = book.pictures[qsizetype(i)];
        if (!made[i].isEmpty()) {
            pictures.insert(p.name, made[i]);
            continue;
        }
        ok = false;
        if (p.image.given()) {
            problems.add(
                p.image.where,
                QStringLiteral("cannot use the picture %1: %2").arg(p.image.file, errors[i]));
        } else {
            problems.add(p.where,
                         QStringLiteral("cannot make the picture %1 at %2 x %3: %4")
                             .arg(p.name)
                             .arg(p.size.width())
                             .arg(p.size.height())
                             .arg(errors[i].isEmpty() ? QStringLiteral("wrong size") : errors[i]));
        }
    }
    return ok;
}

}  // namespace tool
