// The teacher's takes: what the microphone gives arrives whole through SDL's capture, with the
// moment before the key press, and a take is judged and written as the book will read it.

#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>
#include <sndfile.h>

#include <chrono>
#include <cmath>
#include <numbers>
#include <thread>

#include "editor/page_take_dialog.h"
#include "editor/page_view.h"
#include "editor/prompts.h"
#include "editor/record_panel.h"
#include "editor/studio_window.h"
#include "editor/voice_tools.h"
#include "model/book_document.h"
#include "recordings/take_splitter.h"
#include "sound/sound.h"
#include "sources/new_book.h"
#include "voice/capture_device.h"
#include "voice/take_recorder.h"

namespace studio::voice {
namespace {

constexpr int kRate = 16000;

// Sample n of the made "microphone": a counter, so a gap or a repeat shows at once.
std::int16_t counterSample(std::size_t n) {
    return std::int16_t(n % 30000);
}

// Feeds the recorder from the device until `count` more samples have arrived; false when they
// do not come within a few seconds.
bool feedUntil(SdlCaptureDevice& device, TakeRecorder& recorder, std::size_t& arrived,
               std::size_t count) {
    const std::size_t goal = arrived + count;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (arrived < goal && std::chrono::steady_clock::now() < giveUp) {
        std::vector<std::int16_t> samples = device.takeSamples();
        if (samples.empty()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            continue;
        }
        recorder.feed(samples);
        arrived += samples.size();
    }
    return arrived >= goal;
}

TEST(StudioVoice, CapturedTakeArrivesWholeWithTheMomentBeforeTheKeyPress) {
    QTemporaryDir folder;
    const QString input = folder.filePath("microphone.raw");
    {
        QFile file(input);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        std::vector<std::int16_t> samples(20 * kRate);
        for (std::size_t n = 0; n < samples.size(); ++n) samples[n] = counterSample(n);
        file.write(reinterpret_cast<const char*>(samples.data()), qint64(samples.size() * 2));
    }
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILEIN", QFile::encodeName(input));
    qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(folder.filePath("speaker.raw")));
    // Paced as a microphone is, one 1024-sample buffer every 64 ms: unpaced, the driver reads
    // the whole file at once whenever this thread is slow to take the samples, and runs past its
    // end into silence or past the device's buffer into dropped samples.
    qputenv("SDL_DISKAUDIODELAY", "64");

    SdlCaptureDevice device;
    QString error;
    ASSERT_TRUE(device.open(kRate, &error)) << error.toStdString();
    TakeRecorder recorder(kRate);
    std::size_t arrived = 0;
    ASSERT_TRUE(feedUntil(device, recorder, arrived, kRate / 2));
    const std::size_t pressedAt = arrived;
    recorder.start();
    ASSERT_TRUE(feedUntil(device, recorder, arrived, kRate));
    const Take take = recorder.stop();
    device.close();

    EXPECT_EQ(take.preRollSamples, std::size_t(kRate / 5));
    ASSERT_EQ(take.samples.size(), arrived - pressedAt + take.preRollSamples);
    const std::size_t first = pressedAt - take.preRollSamples;
    for (std::size_t i = 0; i < take.samples.size(); ++i)
        ASSERT_EQ(take.samples[i], counterSample(first + i)) << "sample " << i;
}

TEST(StudioVoice, TakesAreJudgedAndWrittenAsFlac) {
    TakeRecorder recorder(kRate);
    // A key pressed before 200 ms have arrived keeps what there is.
    const std::vector<std::int16_t> early(100, 5);
    recorder.feed(early);
    recorder.start();
    std::vector<std::int16_t> speech(kRate / 2);
    for (std::size_t n = 0; n < speech.size(); ++n)
        speech[n] = std::int16_t((n % 40 < 20 ? 1 : -1) * 8000);
    recorder.feed(speech);
    EXPECT_NEAR(recorder.level(), 8000 / 32767.0, 1e-6);
    Take take = recorder.stop();
    EXPECT_EQ(take.preRollSamples, early.size());
    EXPECT_FALSE(recorder.stop().samples.size());

    EXPECT_TRUE(judgeTake(take).warning().isEmpty());
    Take quiet = take;
    for (auto& sample : quiet.samples) sample = std::int16_t(sample / 100);
    EXPECT_TRUE(judgeTake(quiet).tooQuiet);
    Take loud = take;
    loud.samples[1000] = loud.samples[1001] = loud.samples[1002] = 32767;
    EXPECT_TRUE(judgeTake(loud).clipped);
    EXPECT_FALSE(judgeTake(loud).warning().isEmpty());
    loud.samples[1001] = 0;  // single full-scale samples are honest peaks
    EXPECT_FALSE(judgeTake(loud).clipped);

    QTemporaryDir folder;
    const QString path = folder.filePath("line-1.flac");
    QString error;
    ASSERT_TRUE(writeTakeFlac(take, path, &error)) << error.toStdString();
    SF_INFO info{};
    SNDFILE* file = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(info.format & SF_FORMAT_TYPEMASK, SF_FORMAT_FLAC);
    std::vector<std::int16_t> back(take.samples.size() + 10);
    EXPECT_EQ(sf_read_short(file, back.data(), sf_count_t(back.size())),
              sf_count_t(take.samples.size()));
    sf_close(file);
    back.resize(take.samples.size());
    EXPECT_EQ(back, take.samples);
    EXPECT_FALSE(writeTakeFlac(take, folder.filePath("no-such-folder/x.flac"), &error));
    EXPECT_TRUE(error.contains("no-such-folder"));
}

// A microphone that hands out what the test gives it, or none at all.
class ScriptedMicrophone : public CaptureDevice {
  public:
    bool present = true;
    std::vector<std::int16_t> waiting;
    bool open(int, QString* error) override {
        if (!present && error) *error = QStringLiteral("没有找到话筒");
        return opened = present;
    }
    void close() override { opened = false; }
    bool isOpen() const override { return opened; }
    std::vector<std::int16_t> takeSamples() override { return std::exchange(waiting, {}); }
    bool opened = false;
};

class PlayedSounds : public sound::Sound {
  public:
    void play(const sound::SoundClip& clip) override { played.append(clip); }
    void playLooped(const sound::SoundClip& clip) override { played.append(clip); }
    void stopAll() override {}
    QList<sound::SoundClip> played;
};

struct RecordPanelTest : ::testing::Test {
    void SetUp() override {
        ASSERT_EQ(tool::writeNewBook(dir.filePath("book")), 0);
        ASSERT_TRUE(document.open(dir.filePath("book")));
    }
    QPushButton* button(const char* name) {
        return panel.findChild<QPushButton*>(QString::fromUtf8(name));
    }
    QTemporaryDir dir;
    BookDocument document;
    ScriptedMicrophone microphone;
    PlayedSounds sounds;
    RecordPanel panel{&document, &microphone, &sounds};
};

TEST_F(RecordPanelTest, ATakeIsHeardAtOnceAndKeptAsTheLinesRecordingWhichUndoGivesBack) {
    const QString before = document.page(0).entries[0].recording.file;
    panel.setEntry(0, 0);
    QSignalSpy next(&panel, &RecordPanel::nextLineRequested);
    for (int take = 0; take < 4; ++take) {
        panel.toggleRecording();
        EXPECT_EQ(button("录音_录音")->text(), QStringLiteral("停止 (R)"));
        microphone.waiting.assign(8000, std::int16_t(6000 + take));
        panel.toggleRecording();
    }
    ASSERT_EQ(sounds.played.size(), 4);  // each take plays back as it ends
    EXPECT_TRUE(sounds.played.last().startsWith("RIFF"));
    EXPECT_EQ(panel.takes().count(), voice::LineTakes::kKept);
    EXPECT_EQ(panel.takes().take(0).samples.back(), 6001);  // the first take was forgotten

    ASSERT_TRUE(panel.keepChosenTake());
    EXPECT_EQ(next.size(), 1);
    const QString kept = document.page(0).entries[0].recording.file;
    EXPECT_TRUE(kept.startsWith("recordings/") && kept.endsWith(".flac")) << kept.toStdString();
    EXPECT_TRUE(QFile::exists(dir.filePath("book/" + kept)));
    document.undoStack()->undo();
    EXPECT_EQ(document.page(0).entries[0].recording.file, before);
}

TEST_F(RecordPanelTest, WithoutAMicrophoneTheButtonSaysSoAndNothingBreaks) {
    microphone.present = false;
    panel.setEntry(0, 0);
    EXPECT_EQ(button("录音_录音")->text(), QStringLiteral("没有话筒"));
    EXPECT_FALSE(button("录音_录音")->isEnabled());
    panel.toggleRecording();
    EXPECT_FALSE(panel.isRecording());
    EXPECT_FALSE(panel.keepChosenTake());
    EXPECT_FALSE(document.isModified());
}

// The page's lines read as voiced bursts as long as their texts predict, half a second apart.
QString madeTakeFile(const QStringList& lines, const QString& path) {
    Take take{kRate, std::vector<std::int16_t>(kRate / 2), 0};
    for (const QString& line : lines) {
        const auto n = size_t(tool::spokenLength(line) * kRate);
        for (size_t i = 0; i < n; ++i) {
            const double envelope = std::sin(std::numbers::pi * double(i) / double(n));
            const double phase = 2 * std::numbers::pi * 180 * double(i) / kRate;
            take.samples.push_back(std::int16_t(9000 * envelope * std::sin(phase)));
        }
        take.samples.resize(take.samples.size() + kRate / 2);
    }
    QString error;
    EXPECT_TRUE(writeTakeFlac(take, path, &error)) << error.toStdString();
    return path;
}

TEST_F(RecordPanelTest, AOneTakePageIsCutSetRightByHandAndSavedAsOneUndoStep) {
    int page = 0;
    while (page < document.pageCount() &&
           PageTakeDialog(&document, page, nullptr, nullptr).entries().size() < 3)
        ++page;
    ASSERT_LT(page, document.pageCount());
    PageTakeDialog dialog(&document, page, &microphone, &sounds);
    QStringList lines;
    for (int entry : dialog.entries())
        lines.append(document.page(page).entries[entry].recording.text);
    ASSERT_TRUE(dialog.loadFile(madeTakeFile(lines, dir.filePath("page.flac"))));
    PageTake& take = dialog.take();
    ASSERT_EQ(take.clips().size(), size_t(lines.size()));
    EXPECT_EQ(take.problem(), tool::TakeProblem::None) << take.problemMessage().toStdString();

    // Boundaries stay between their neighbours, and clips never overlap.
    take.moveStart(1, 0);
    EXPECT_GT(take.clips()[1].first, take.clips()[0].first);
    take.moveEnd(0, qsizetype(take.samples().size()));
    EXPECT_LT(take.clips()[0].end, take.clips()[1].end);
    take.tapLineStart(1, kRate);  // a tap at 1 s: line 2 starts there, line 1 ends there
    EXPECT_EQ(take.clips()[0].end, kRate);
    EXPECT_EQ(take.clips()[1].first, kRate);
    take.tapLineStart(2, kRate / 2);                                 // out of order: ignored
    take.tapLineStart(2, qsizetype(take.samples().size()) + kRate);  // after the take: ignored
    for (size_t i = 1; i < take.clips().size(); ++i)
        EXPECT_LE(take.clips()[i - 1].end, take.clips()[i].first);
    EXPECT_LE(take.clips().back().end, qsizetype(take.samples().size()));

    dialog.playClip(1);
    ASSERT_EQ(sounds.played.size(), 1);
    ASSERT_TRUE(dialog.writeClips());
    for (int entry : dialog.entries())
        EXPECT_TRUE(document.page(page).entries[entry].recording.file.endsWith(".flac"));
    document.undoStack()->undo();
    for (int entry : dialog.entries())
        EXPECT_FALSE(document.page(page).entries[entry].recording.file.endsWith(".flac"));
}

// Says nothing and answers every question with its cancel button.
class QuietPrompts : public StudioPrompts {
  public:
    void tell(const QString&) override {}
    QMessageBox::StandardButton ask(const QString&, QMessageBox::StandardButtons,
                                    QMessageBox::StandardButton cancel) override {
        return cancel;
    }
    QString chooseFolder(const QString&) override { return {}; }
    QString chooseFile(const QString&, const QString&) override { return {}; }
};

TEST_F(RecordPanelTest, InTheStudioRAndEnterInTheEntryTableRecordALineAndGoToTheNext) {
    StudioOptions options;
    options.recoveryFolder = dir.filePath("recovery");
    options.microphone = &microphone;
    options.sound = &sounds;
    StudioWindow window(std::make_unique<QuietPrompts>(), options);
    window.show();
    ASSERT_TRUE(window.openFolder(dir.filePath("book")));
    QTableView* table = window.entryTable();
    table->selectRow(1);
    table->setFocus();
    QTest::keyClick(table, Qt::Key_R);
    microphone.waiting.assign(4000, 7000);
    QTest::keyClick(table, Qt::Key_R);
    EXPECT_EQ(sounds.played.size(), 1);
    QTest::keyClick(table, Qt::Key_Return);
    EXPECT_TRUE(window.document()->page(0).entries[1].recording.file.endsWith(".flac"));
    EXPECT_EQ(table->selectionModel()->selectedRows().value(0).row(), 2);
    // The next line has no take yet: Enter does not keep anything for it.
    QTest::keyClick(table, Qt::Key_Return);
    EXPECT_FALSE(window.document()->page(0).entries[2].recording.file.endsWith(".flac"));

    // What the listening check flags stands in the check list and leads to its line.
    const tool::Entry& flagged = window.document()->page(0).entries[3];
    emit window.voiceTools()->listened({{flagged.where, "sounds like line 5"}}, 0);
    QListWidget* problems = window.problemList();
    const int row = problems->count() - 1;
    EXPECT_TRUE(problems->item(row)->text().startsWith("听："))
        << problems->item(row)->text().toStdString();
    window.goToProblem(row);
    const QList<ItemRef> third{ItemRef{ItemKind::Entry, 3}};
    EXPECT_EQ(window.pageView()->selection(), third);
    emit window.voiceTools()->listened({}, 0);  // listened again: the flag is gone
    EXPECT_FALSE(problems->item(problems->count() - 1)->text().startsWith("听："));
}

}  // namespace
}  // namespace studio::voice
