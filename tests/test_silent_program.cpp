// With no sound device at all the program still works, silently: a practice round runs to its
// end, nothing is printed, and no press tries to open the device again.
#include <gtest/gtest.h>

#include <SDL.h>

#include <unistd.h>
#include <QAbstractButton>
#include <QFile>
#include <QTemporaryFile>
#include <QTest>
#include <cstdio>

#include "book/book.h"
#include "book/page_content.h"
#include "reader/reader_window.h"
#include "sound/sdl_sound.h"
#include "support/fake_services.h"

namespace {

// Sends whatever the process writes to stderr and stdout into a file while it lives.
class CapturedOutput {
  public:
    CapturedOutput() {
        file_.open();
        std::fflush(stdout);
        std::fflush(stderr);
        savedOut_ = dup(STDOUT_FILENO);
        savedErr_ = dup(STDERR_FILENO);
        dup2(file_.handle(), STDOUT_FILENO);
        dup2(file_.handle(), STDERR_FILENO);
    }
    ~CapturedOutput() { restore(); }
    QByteArray text() {
        restore();
        QFile read(file_.fileName());
        read.open(QIODevice::ReadOnly);
        return read.readAll();
    }

  private:
    void restore() {
        if (savedOut_ < 0) return;
        std::fflush(stdout);
        std::fflush(stderr);
        dup2(savedOut_, STDOUT_FILENO);
        dup2(savedErr_, STDERR_FILENO);
        close(savedOut_);
        close(savedErr_);
        savedOut_ = savedErr_ = -1;
    }
    QTemporaryFile file_;
    int savedOut_ = -1, savedErr_ = -1;
};

TEST(SilentProgram, APracticeRoundRunsToItsEndWithoutADevice) {
    qputenv("SDL_AUDIODRIVER", "no-such-driver");
    testing_support::FakeServices fakes;
    CapturedOutput output;
    sound::SdlSound sound;
    ui::services().sound = &sound;  // the real sound service, with nothing to play on
    ASSERT_FALSE(sound.isOpen());
    {
        reader::ReaderWindow window(testing_support::session().reader,
                                    testing_support::session().attach());
        window.show();
        QTest::mouseClick(window.findChild<QAbstractButton*>("超级按钮_练一练"), Qt::LeftButton);
        const book::PageDef& page = *book::pageOfScreen(0);
        auto* overlay = window.findChild<QWidget*>("透明标签练一练是否错误2_0");
        ASSERT_NE(overlay, nullptr);
        // Answer each question where its first target lies, as many times as there are items.
        const exercises::PageExercise& exercise = testing_support::session().exercises.page;
        for (int round = 0; round < page.hotspotCount && exercise.asking(); ++round) {
            const int target = exercise.targets().value(0);
            ASSERT_GT(target, 0);
            const book::Rect r = page.hotspots[target - 1].rect;
            QTest::mousePress(overlay, Qt::LeftButton, {}, QPoint(r.x + r.w / 2, r.y + r.h / 2));
        }
        EXPECT_FALSE(exercise.asking()) << "the round did not end";
        EXPECT_FALSE(overlay->isEnabled());
        // Reading the page works too, without sound.
        QTest::mousePress(window.findChild<QWidget*>("透明标签页二_1"), Qt::LeftButton, {},
                          QPoint(2, 2));
        EXPECT_TRUE(window.bubble()->isVisible());
    }
    // No press tried to bring the audio subsystem up again.
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
    EXPECT_EQ(output.text(), QByteArray());
    qunsetenv("SDL_AUDIODRIVER");
}

}  // namespace
