// A school's book file, made by the content tool and opened by the program: a refused file
// says why and changes nothing; a good one shows its own names and pages, gets its own desktop
// shortcut, and a press on its hotspot plays the teacher's recording through the real decoder
// and mixer (SDL's disk driver).

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

#include "app/book_argument.h"
#include "app/start_window.h"
#include "book/book.h"
#include "reader/reader_window.h"
#include "sound/sdl_sound.h"
#include "support/fake_services.h"
#include "ui/controls.h"

namespace {

bool runQuietly(const QString& program, const QStringList& arguments, QString* errors = nullptr) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(300000)) return false;
    if (errors) *errors = QString::fromLocal8Bit(process.readAllStandardError());
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Goertzel's power of `frequency` in a window of samples, as a share of the window's energy.
double shareAt(const std::vector<double>& window, double frequency, double rate) {
    const double coefficient = 2 * std::cos(2 * M_PI * frequency / rate);
    double previous = 0, beforePrevious = 0, energy = 0;
    for (double sample : window) {
        const double current = sample + coefficient * previous - beforePrevious;
        beforePrevious = previous;
        previous = current;
        energy += sample * sample;
    }
    const double power = previous * previous + beforePrevious * beforePrevious -
                         coefficient * previous * beforePrevious;
    return energy > 0 ? 2 * power / (double(window.size()) * energy) : 0;
}

// Whether the left channel of a 44.1 kHz stereo 16-bit stream holds a clear, audible tone.
bool holdsTone(const QByteArray& stream, double frequency) {
    const auto* samples = reinterpret_cast<const qint16*>(stream.constData());
    const qsizetype frames = stream.size() / 4;
    constexpr qsizetype kWindow = 2048;
    for (qsizetype at = 0; at + kWindow <= frames; at += kWindow / 2) {
        std::vector<double> window(kWindow);
        double peak = 0;
        for (qsizetype i = 0; i < kWindow; ++i) {
            window[i] = samples[2 * (at + i)];
            peak = std::max(peak, std::abs(window[i]));
        }
        if (peak > 2000 && shareAt(window, frequency, 44100) > 0.8) return true;
    }
    return false;
}

class SchoolBookFile : public ::testing::Test {
  protected:
    // The book is made once: a template cut down to one page whose hotspot plays a tone saved
    // as M4A, every other recording supplied too, so no voice is needed.
    static void SetUpTestSuite() {
        folder_ = new QTemporaryDir;
        const QString book = folder_->filePath("book");
        ASSERT_TRUE(runQuietly(QStringLiteral(QCBOOK_TOOL), {"--new-book", book}));
        for (const char* gone :
             {"pages/p02.txt", "pages/p03.txt", "pages/p04.txt", "units/unit2.txt"})
            ASSERT_TRUE(QFile::remove(book + "/" + gone));
        const QString wav = book + "/recordings/tone.wav", m4a = book + "/recordings/tone.m4a";
        ASSERT_TRUE(runQuietly("sox", {"-n", "-r", "44100", "-c", "1", wav, "synth", "0.8", "sine",
                                       "1000", "vol", "0.5"}));
        ASSERT_TRUE(runQuietly("ffmpeg", {"-v", "error", "-y", "-i", wav, "-c:a", "aac", m4a}));
        ASSERT_TRUE(writeFile(book + "/book.txt",
                              "title: 声音学校点读软件\ncaption: 声音学校的课本\n"
                              "shortcut: 声音学校课本\nsection: 声音单元 | page 1\n"));
        ASSERT_TRUE(writeFile(book + "/pages/p01.txt",
                              "page 1\ntheme sky\n"
                              "1 | pic boy | 40,70,110,160 | Listen! | 听！ | audio: "
                              "recordings/tone.m4a\n"));
        ASSERT_TRUE(writeFile(book + "/units/unit1.txt",
                              "name: 声音单元\nruler | 尺子 | audio: recordings/tone.wav\n"));
        QString clips = QString::fromUtf8(readFile(book + "/clips.txt"));
        QStringList lines = clips.split('\n');
        for (QString& line : lines) {
            if (!line.isEmpty() && !line.startsWith('#') && !line.contains("audio:"))
                line += " | audio: recordings/tone.wav";
        }
        ASSERT_TRUE(writeFile(book + "/clips.txt", lines.join('\n').toUtf8()));
        QString errors;
        ASSERT_TRUE(runQuietly(
            QStringLiteral(QCBOOK_TOOL),
            {"--source", book, "--cache", folder_->filePath("cache"), "--book-file", path()},
            &errors))
            << qPrintable(errors);
    }
    static void TearDownTestSuite() { delete folder_; }
    void TearDown() override { book::useBook(nullptr); }

    static QString path() { return folder_->filePath("school book.qcbook"); }
    static QTemporaryDir* folder_;
};

QTemporaryDir* SchoolBookFile::folder_ = nullptr;

TEST(BookArgument, ARefusedFileSaysWhyOnceAndLeavesTheBuiltInBookAndTheDesktopAlone) {
    testing_support::FakeServices fakes;
    QTemporaryDir desktop, folder;
    fakes.shell.desktop = desktop.path();
    EXPECT_EQ(app::openBookArgument(folder.path()), nullptr);
    ASSERT_EQ(fakes.messages.texts().size(), 1);
    EXPECT_EQ(
        fakes.messages.texts()[0],
        book::bookFileMessage(folder.path(), {book::BookFileProblem::CannotRead,
                                              QStringLiteral("这是一个文件夹，不是课本文件。")}));
    EXPECT_EQ(&book::theBook(), &book::builtInBook());
    EXPECT_TRUE(app::openedBookPath().isEmpty());
    EXPECT_TRUE(
        QDir(desktop.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
}

TEST_F(SchoolBookFile, OpensWithItsNamesAndPagesAndAShortcutAndPlaysTheTeachersRecording) {
    QTemporaryDir capture;
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", capture.filePath("mix.raw").toLocal8Bit());
    sound::SdlSound mixer;
    testing_support::FakeServices fakes;
    ui::services().sound = &mixer;
    QTemporaryDir desktop;
    fakes.shell.desktop = desktop.path();

    const std::unique_ptr<book::BookFile> file = app::openBookArgument(path());
    ASSERT_NE(file, nullptr) << qPrintable(fakes.messages.texts().join('\n'));
    {
        app::StartWindow start;
        EXPECT_EQ(start.windowTitle(), QStringLiteral("声音学校点读软件"));
        EXPECT_EQ(start.findChild<QLabel*>(QStringLiteral("标签3"))->text(),
                  QStringLiteral("声音学校的课本"));
    }
    // The shortcut is the book's, and opens this file.
    const QByteArray entry = readFile(desktop.filePath("声音学校课本.desktop"));
    EXPECT_TRUE(entry.contains("Name=声音学校点读软件\n")) << entry.constData();
    EXPECT_TRUE(entry.contains(("Exec=\"/opt/qcbook/qcbook\" \"" + path() + "\"\n").toUtf8()))
        << entry.constData();

    std::unique_ptr<reader::ReaderWindow> reader = testing_support::openReader();
    reader->show();
    auto* sections = reader->findChild<QComboBox*>(QStringLiteral("组合框课程选择"));
    ASSERT_EQ(sections->count(), 1);
    EXPECT_EQ(sections->itemText(0), QStringLiteral("声音单元"));
    EXPECT_NE(reader->findChild<QLabel*>(QStringLiteral("图片框底图1")), nullptr);
    EXPECT_FALSE(
        reader->findChild<QAbstractButton*>(QStringLiteral("超级按钮_下一页"))->isEnabled());
    const QList<ui::TransparentLabel*> hotspots = reader->hotspotsOf(0);
    ASSERT_EQ(hotspots.size(), 1);
    QTest::mouseClick(hotspots[0], Qt::LeftButton);
    // The disk driver writes the mix as it is made; the tone lasts 0.8 s.
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 1500) QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(holdsTone(readFile(capture.filePath("mix.raw")), 1000));
    reader.reset();
    qunsetenv("SDL_AUDIODRIVER");
    qunsetenv("SDL_DISKAUDIOFILE");
}

}  // namespace
