// A school's own book: a content folder made from the template, with page scans and a
// teacher's recordings, checked, previewed and built by the content tool.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "book_profile.h"
#include "checks.h"
#include "new_book.h"
#include "preview.h"
#include "sources.h"
#include "supplied.h"

using namespace tool;

namespace {

struct ToolRun {
    int exitCode = -1;
    QString out;
    QString errors;
};

ToolRun runTool(const QStringList& arguments) {
    QProcess tool;
    tool.start(QStringLiteral(QCBOOK_TOOL), arguments);
    ToolRun run;
    if (!tool.waitForFinished(300000)) return run;
    run.exitCode = tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
    run.out = QString::fromLocal8Bit(tool.readAllStandardOutput());
    run.errors = QString::fromLocal8Bit(tool.readAllStandardError());
    return run;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString readText(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

// A plain "scan": one colour with a dark frame, saved as JPEG.
bool writeScan(const QString& path, QSize size, const QColor& colour) {
    QImage scan(size, QImage::Format_RGB32);
    scan.fill(colour);
    QPainter p(&scan);
    p.setPen(QPen(Qt::black, 4));
    p.drawRect(scan.rect().adjusted(2, 2, -3, -3));
    p.end();
    QDir().mkpath(QFileInfo(path).path());
    return scan.save(path, "JPEG", 92);
}

// A content folder made from the template by the tool itself.
class TemplateBook : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        const ToolRun run = runTool({"--new-book", folder()});
        ASSERT_EQ(run.exitCode, 0) << qPrintable(run.errors);
    }
    QString folder() const { return dir_.path() + "/book"; }
    QString path(const QString& relative) const { return folder() + "/" + relative; }

    // Appends an option to entry `entry` of page `page`; returns the line's number.
    int addOption(int page, int entry, const QString& option) {
        const QString file = path(QStringLiteral("pages/p%1.txt").arg(page, 2, 10, QChar('0')));
        QStringList lines = readText(file).split('\n');
        for (int i = 0; i < lines.size(); ++i) {
            if (!lines[i].startsWith(QString::number(entry) + " | ")) continue;
            lines[i] += (lines[i].count('|') == 5 ? "; " : " | ") + option;
            writeFile(file, lines.join('\n').toUtf8());
            return i + 1;
        }
        return -1;
    }
    // Turns the page's commented image line into a real one; returns its line number.
    int useScan(int page) {
        const QString file = path(QStringLiteral("pages/p%1.txt").arg(page, 2, 10, QChar('0')));
        QStringList lines = readText(file).split('\n');
        for (int i = 0; i < lines.size(); ++i) {
            if (!lines[i].startsWith("# image: ")) continue;
            lines[i].remove(0, 2);
            writeFile(file, lines.join('\n').toUtf8());
            return i + 1;
        }
        return -1;
    }
    QString at(int page, int line) const {
        return QStringLiteral("p%1.txt:%2: ").arg(page, 2, 10, QChar('0')).arg(line);
    }

    QTemporaryDir dir_;
};

}  // namespace

TEST(NewBook, TheTemplateHasTheBooksShapeAndPassesTheCheck) {
    const QMap<QString, QByteArray> files = newBookFiles();
    QTemporaryDir dir;
    for (auto it = files.begin(); it != files.end(); ++it)
        ASSERT_TRUE(writeFile(dir.filePath(it.key()), it.value()));
    Problems problems;
    const BookSources book = readSources(dir.path(), {}, problems);
    checkBook(book, true, problems);
    EXPECT_TRUE(problems.empty()) << qPrintable(problems.report());
    ASSERT_EQ(book.pages.size(), kBookScreens);
    int entries = 0;
    for (const PageSource& page : book.pages) {
        if (!isWordListPage(page.pageNumber)) entries += int(page.entries.size());
        EXPECT_FALSE(page.image.given()) << "a scan is named only once the school has one";
    }
    EXPECT_EQ(entries, 596);
    EXPECT_EQ(book.units.size(), 6);
    EXPECT_EQ(book.clips.size(), int(kClipRoles.size()));
    EXPECT_EQ(book.pictures.size(), requiredPictures().size());
    // The guide speaks to the teacher in both languages and names every file.
    const QString guide = QString::fromUtf8(files.value("README.md"));
    for (const char* needle : {"哪个文件放什么", "Which file holds what", "pages/p02.txt",
                               "units/unit1.txt", "clips.txt", "pictures.txt", "start_about.html",
                               "--preview", "QCBOOK_CONTENT_DIR", "audio:", "image:"}) {
        EXPECT_TRUE(guide.contains(QString::fromUtf8(needle))) << needle;
    }
}

TEST_F(TemplateBook, TheToolWritesItOnceAndNeverOverAnotherFolder) {
    for (const char* sub : {"scans", "recordings", "pictures"})
        EXPECT_TRUE(QDir(path(sub)).exists());
    const ToolRun check = runTool({"--source", folder(), "--check"});
    EXPECT_EQ(check.exitCode, 0) << qPrintable(check.errors);
    writeFile(path("units/unit1.txt"), "mine | 我的\n");
    const ToolRun again = runTool({"--new-book", folder()});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(again.errors.contains("is not empty"));
    EXPECT_EQ(readText(path("units/unit1.txt")), "mine | 我的\n")
        << "a teacher's work was overwritten";
}

TEST(SuppliedPictures, AScanKeepsItsAspectOnAWhiteMarginAtThePageSize) {
    QImage tall(300, 900, QImage::Format_RGB32);
    tall.fill(Qt::red);
    const QImage page = fitPicture(tall, QSize(2150, 1524), Qt::white);
    ASSERT_EQ(page.size(), QSize(2150, 1524));
    // 1524 high: 508 wide, centred.
    EXPECT_EQ(page.pixelColor(1075, 10), QColor(Qt::red));
    EXPECT_EQ(page.pixelColor(1075 - 250, 762), QColor(Qt::red));
    EXPECT_EQ(page.pixelColor(1075 - 258, 762), QColor(Qt::white));
    EXPECT_EQ(page.pixelColor(1075 + 258, 762), QColor(Qt::white));
    EXPECT_EQ(fittedRect(QSizeF(4000, 1000), QSizeF(800, 540)), QRectF(0, 170, 800, 200));

    QTemporaryDir dir;
    const QString scan = dir.filePath("p52.jpg");
    ASSERT_TRUE(writeScan(scan, QSize(1203, 1611), QColor(200, 230, 255)));
    QString error;
    const QByteArray jpeg = suppliedPagePicture({"p52.jpg", scan, {}}, pagePictureSize(52),
                                                dir.filePath("cache"), error);
    ASSERT_FALSE(jpeg.isEmpty()) << qPrintable(error);
    EXPECT_EQ(QImage::fromData(jpeg).size(), QSize(801, 560));
    EXPECT_EQ(QDir(dir.filePath("cache")).entryList(QDir::Files).size(), 1);
}

TEST_F(TemplateBook, ThePreviewOutlinesEveryHotspotAndAnswerBoxOnTheScan) {
    ASSERT_TRUE(writeScan(path("scans/p10.jpg"), QSize(1777, 2391), QColor(255, 240, 200)));
    ASSERT_GT(useScan(10), 0);
    const QString preview = dir_.path() + "/preview";
    const ToolRun run =
        runTool({"--source", folder(), "--check", "--only", "p10", "--preview", preview});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.errors);
    const QImage sheet(preview + "/p10.png");
    ASSERT_EQ(sheet.size(), QSize(800, 540));
    Problems problems;
    const PageSource page = readSources(folder(), {10}, problems).pages.value(0);
    ASSERT_EQ(page.entries.size(), 25);
    auto near = [](QColor a, QColor b) {
        return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
                   std::abs(a.blue() - b.blue()) <
               60;
    };
    // Each rectangle's bottom edge, away from its number tag, is drawn in the outline colour.
    for (const Entry& e : page.entries) {
        const QPoint edge(e.rect.center().x(), e.rect.bottom());
        EXPECT_TRUE(near(sheet.pixelColor(edge), kHotspotOutline))
            << "hotspot " << e.number << " " << qPrintable(sheet.pixelColor(edge).name());
    }
    for (const FillBox& f : page.fills) {
        const QPoint edge(f.pos.x() + kFillBoxSize / 2, f.pos.y() + kFillBoxSize - 1);
        EXPECT_TRUE(near(sheet.pixelColor(edge), kAnswerOutline)) << "fill box " << f.number;
    }
    // The scan (taller than the page) stands in the middle with white margins either side.
    const QRectF scan = fittedRect(QSizeF(1777, 2391), QSizeF(2150, 1524));
    const int left = int(scan.left() * 800 / 2150);
    EXPECT_TRUE(near(sheet.pixelColor(left - 6, 530), Qt::white));
    EXPECT_TRUE(near(sheet.pixelColor(left + 12, 530), QColor(255, 240, 200)));
}
