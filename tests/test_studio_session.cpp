// A teacher's session in the studio, driven as she would: ten hotspots drawn with the mouse on a
// page, their lines typed in the entry table, saved, Try it writing the book file; then the book
// file opened in the real reader, where a press on each new hotspot shows its line's bubble.
// Every recording is a supplied tone, so no voice is needed.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "app/book_argument.h"
#include "book/book.h"
#include "editor/page_view.h"
#include "editor/prompts.h"
#include "editor/studio_window.h"
#include "reader/reader_window.h"
#include "sources/new_book.h"
#include "support/fake_services.h"
#include "ui/controls.h"

namespace {

using namespace studio;

class SilentPrompts : public StudioPrompts {
  public:
    explicit SilentPrompts(QStringList* told) : told_(told) {}
    void tell(const QString& text) override { *told_ << text; }
    QMessageBox::StandardButton ask(const QString&, QMessageBox::StandardButtons,
                                    QMessageBox::StandardButton cancel) override {
        return cancel;
    }
    QString chooseFolder(const QString&) override { return {}; }
    QString chooseFile(const QString&, const QString&) override { return {}; }

  private:
    QStringList* told_;
};

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The template cut down to one empty page and one unit, every recording a supplied tone.
QString makeToneBook(const QTemporaryDir& dir) {
    const QString book = dir.filePath("book");
    if (tool::writeNewBook(book) != 0) return {};
    for (const char* gone : {"pages/p02.txt", "pages/p03.txt", "pages/p04.txt", "units/unit2.txt"})
        QFile::remove(book + "/" + gone);
    QProcess sox;
    sox.start("sox", {"-n", "-r", "22050", "-c", "1", book + "/recordings/tone.wav", "synth", "0.4",
                      "sine", "880", "vol", "0.5"});
    if (!sox.waitForFinished(60000) || sox.exitCode() != 0) return {};
    QStringList clips = QString::fromUtf8(readFile(book + "/clips.txt")).split('\n');
    for (QString& line : clips) {
        if (!line.isEmpty() && !line.startsWith('#') && !line.contains("audio:"))
            line += " | audio: recordings/tone.wav";
    }
    const bool written =
        writeFile(book + "/clips.txt", clips.join('\n').toUtf8()) &&
        writeFile(book + "/book.txt",
                  "title: 试一试学校\ncaption: 试一试学校的课本\nshortcut: 试一试课本\n"
                  "section: 第一单元 | page 1\n") &&
        writeFile(book + "/pages/p01.txt",
                  "page 1\ntheme sky\n"
                  "1 | title | 20,12,260,40 | Unit 1 | 第一单元 | audio: recordings/tone.wav\n") &&
        writeFile(book + "/units/unit1.txt",
                  "name: 第一单元\nruler | 尺子 | audio: recordings/tone.wav\n");
    return written ? book : QString();
}

// Draws a hotspot with the mouse from one design point to another.
void drawHotspot(PageView* view, QPoint from, QPoint to) {
    QWidget* viewport = view->viewport();
    const QPoint start = view->mapFromScene(from), end = view->mapFromScene(to);
    QTest::mousePress(viewport, Qt::LeftButton, {}, start);
    for (int step = 1; step <= 4; ++step) {
        QMouseEvent move(QEvent::MouseMove, start + (end - start) * step / 4,
                         viewport->mapToGlobal(start + (end - start) * step / 4), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
    }
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, end);
}

TEST(StudioSession, TenHotspotsDrawnTypedSavedAndPressedInTheReader) {
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir dir;
    const QString book = makeToneBook(dir);
    ASSERT_FALSE(book.isEmpty());
    QStringList told;
    QString bookFile;
    StudioOptions options;
    options.recoveryFolder = dir.filePath("recovery");
    options.launch = [&](const QString&, const QStringList& arguments) {
        bookFile = arguments.value(0);
        return true;
    };
    StudioWindow window(std::make_unique<SilentPrompts>(&told), options);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(window.openFolder(book));
    PageView* view = window.pageView();
    view->setZoom(1.0);
    view->setTool(PageTool::NewHotspot);
    BookDocument* document = window.document();

    const int first = int(document->page(0).entries.size());
    for (int i = 0; i < 10; ++i) {
        const QPoint corner(40 + 150 * (i % 5), 120 + 160 * (i / 5));
        view->centerOn(QPointF(corner) + QPointF(50, 30));
        drawHotspot(view, corner, corner + QPoint(100, 60));
        ASSERT_EQ(document->page(0).entries.size(), first + i + 1) << "hotspot " << i;
    }
    QAbstractItemModel* table = window.entryTable()->model();
    for (int i = 0; i < 10; ++i) {
        const int row = first + i;
        ASSERT_TRUE(table->setData(table->index(row, 1), QStringLiteral("Line %1.").arg(i + 1)));
        ASSERT_TRUE(table->setData(table->index(row, 2), QStringLiteral("第%1句。").arg(i + 1)));
        ASSERT_TRUE(document->setEntryAudio(0, row, "recordings/tone.wav"));
    }
    ASSERT_TRUE(window.save()) << qPrintable(told.join('\n'));
    EXPECT_TRUE(readFile(book + "/pages/p01.txt").contains("Line 10."));

    QSignalSpy finished(&window, &StudioWindow::tryItFinished);
    window.tryIt();
    ASSERT_TRUE(finished.wait(300000));
    ASSERT_TRUE(finished.first().at(0).toBool()) << qPrintable(told.join('\n'));
    ASSERT_FALSE(bookFile.isEmpty());

    testing_support::FakeServices fakes;
    const std::unique_ptr<book::BookFile> file = app::openBookArgument(bookFile);
    ASSERT_NE(file, nullptr) << qPrintable(fakes.messages.texts().join('\n'));
    std::unique_ptr<reader::ReaderWindow> reader = testing_support::openReader();
    reader->show();
    const QList<ui::TransparentLabel*> hotspots = reader->hotspotsOf(0);
    ASSERT_EQ(hotspots.size(), first + 10);
    for (int i = 0; i < 10; ++i) {
        QTest::mouseClick(hotspots[first + i], Qt::LeftButton);
        EXPECT_TRUE(reader->bubble()->isVisible()) << "hotspot " << i;
        EXPECT_EQ(reader->bubble()->text(), QStringLiteral("第%1句。").arg(i + 1));
    }
    reader.reset();
    book::useBook(nullptr);
}

}  // namespace
