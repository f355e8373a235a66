// The start window: shortcut at start, text panels, the bouncing banner and the start button.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include "app/features.h"
#include "app/start_window.h"
#include "reader/reader_window.h"
#include "support/fake_services.h"
#include "ui/shortcut.h"

namespace {

class StartWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { fakes.shell.desktop = desktop.path(); }
    testing_support::FakeServices fakes;
    QTemporaryDir desktop;
};

}  // namespace

TEST_F(StartWindowTest, StartsWithShortcutTextsAndTheBannerMovingLeft) {
    app::StartWindow window;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("青橙英语三年级上册点读软件"));
    EXPECT_EQ(window.size(), QSize(800, 600));
    const QByteArray entry = [&] {
        QFile f(desktop.filePath(ui::shortcutFileName(QStringLiteral("青橙点读软件三年级上册"))));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    EXPECT_TRUE(entry.contains("Exec=\"/opt/qcbook/qcbook\""));

    auto* about = window.findChild<QTextEdit*>("超级编辑框软件说明");
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isReadOnly());
    EXPECT_FALSE(about->toPlainText().isEmpty());
    QTextCursor cursor(about->document());
    cursor.movePosition(QTextCursor::NextCharacter);
    EXPECT_EQ(cursor.charFormat().foreground().color(), QColor(0, 128, 0));
    EXPECT_FALSE(cursor.charFormat().font().bold());

    auto* left = window.findChild<QTimer*>("时钟_左移");
    auto* right = window.findChild<QTimer*>("时钟_右移");
    ASSERT_TRUE(left && right);
    EXPECT_TRUE(left->isActive());
    EXPECT_EQ(left->interval(), 50);
    EXPECT_FALSE(right->isActive());
    EXPECT_FALSE(window.findChild<QWidget*>("图片框加载")->isVisible());
}

TEST_F(StartWindowTest, BannerTurnsAtTheRightEdgeAndAtFivePixels) {
    app::StartWindow window;
    auto* left = window.findChild<QTimer*>("时钟_左移");
    auto* right = window.findChild<QTimer*>("时钟_右移");
    int ticks = 0;
    while (left->isActive() && ticks < 2000) {
        window.BannerMoveLeft();
        ++ticks;
    }
    EXPECT_TRUE(right->isActive());
    EXPECT_LT(window.bannerOffset(), 0);
    EXPECT_EQ(ticks, -window.bannerOffset());
    while (right->isActive() && ticks < 4000) {
        window.BannerMoveRight();
        ++ticks;
    }
    EXPECT_EQ(window.bannerOffset(), 5);
    EXPECT_TRUE(left->isActive());
}

TEST_F(StartWindowTest, PressingTheBannerOpensTheHomePage) {
    app::StartWindow window;
    window.show();
    QTest::mousePress(window.findChild<QWidget*>("画板1"), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(fakes.shell.opened, QStringList({QString::fromLatin1(app::kHomePage)}));
    EXPECT_TRUE(app::startBannerText().startsWith(QStringLiteral("其他年级及版本软件下载")));
}

TEST_F(StartWindowTest, StartButtonOpensTheReaderAndHidesTheLoadingPicture) {
    app::StartWindow window;
    window.show();
    auto* loading = window.findChild<QWidget*>("图片框加载");
    bool loadingHiddenInReader = false;
    bool startDisabledInReader = false, readerEnabled = false;
    int readerScreen = -1;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* reader = qobject_cast<reader::ReaderWindow*>(w);
                reader && reader->isVisible()) {
                loadingHiddenInReader = !loading->isVisible();
                startDisabledInReader = !window.isEnabled();
                readerEnabled = reader->isEnabled();
                readerScreen = reader->shownScreen();
                reader->done(0);
            }
        }
    });
    QTest::mouseClick(window.findChild<QAbstractButton*>("超级按钮_开始学习"), Qt::LeftButton);
    EXPECT_TRUE(loadingHiddenInReader);
    EXPECT_TRUE(startDisabledInReader);
    EXPECT_TRUE(readerEnabled);
    EXPECT_EQ(readerScreen, 0);
    EXPECT_FALSE(loading->isVisible());
    EXPECT_TRUE(window.isEnabled());
}
