// The desktop shortcut: made once when missing, never overwritten, quoted for any folder name,
// and silent when it cannot be made.
#include <gtest/gtest.h>

#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "ui/shortcut.h"

namespace {

const QString kTitle = QStringLiteral("青橙英语三年级上册点读软件");
const QString kName = QStringLiteral("青橙点读软件三年级上册");

QByteArray read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// What a desktop launcher makes of the Exec value: undo the string escapes, then split the
// command line as the desktop entry format quotes it.
QString launchedProgram(const QString& exec) {
    QString unescaped;
    for (int i = 0; i < exec.size(); ++i) {
        if (exec[i] == '\\' && i + 1 < exec.size()) {
            const QChar n = exec[++i];
            unescaped += n == 'n'   ? QChar('\n')
                         : n == 't' ? QChar('\t')
                         : n == 'r' ? QChar('\r')
                                    : n;
        } else {
            unescaped += exec[i];
        }
    }
    unescaped.replace("%%", "%");
    EXPECT_TRUE(unescaped.startsWith('"') && unescaped.endsWith('"')) << qPrintable(unescaped);
    QString program;
    for (int i = 1; i < unescaped.size() - 1; ++i) {
        if (unescaped[i] == '\\') ++i;
        program += unescaped[i];
    }
    return program;
}

}  // namespace

TEST(Shortcut, CreatedOnceAndNeverOverwritten) {
    QTemporaryDir desktop;
    ASSERT_TRUE(ui::ensureDesktopShortcut(desktop.path(), "/opt/qc book", kTitle, kName));
    const QString path = desktop.filePath(ui::shortcutFileName(kName));
    const QByteArray text = read(path);
    EXPECT_TRUE(text.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(text.contains("Type=Application\n"));
    EXPECT_TRUE(text.contains(("Name=" + kTitle + "\n").toUtf8()));
    EXPECT_TRUE(text.contains("Exec=\"/opt/qc book/qcbook\"\n"));
    EXPECT_TRUE(QFileInfo(path).permissions() & QFileDevice::ExeUser);
    // The user changed it: a second start leaves it as it is.
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("changed by the user");
    f.close();
    EXPECT_FALSE(ui::ensureDesktopShortcut(desktop.path(), "/elsewhere", kTitle, kName));
    EXPECT_EQ(read(path), "changed by the user");
}

TEST(Shortcut, LinksAreNeverFollowedEvenWhenDangling) {
    QTemporaryDir desktop, elsewhere;
    const QString path = desktop.filePath(ui::shortcutFileName(kName));
    const QString target = elsewhere.filePath("target.desktop");
    ASSERT_TRUE(QFile::link(target, path));  // dangling
    EXPECT_FALSE(ui::ensureDesktopShortcut(desktop.path(), "/opt/qcbook", kTitle, kName));
    EXPECT_FALSE(QFile::exists(target));
    EXPECT_TRUE(QFileInfo(path).isSymLink());
    QFile t(target);
    ASSERT_TRUE(t.open(QIODevice::WriteOnly));
    t.write("theirs");
    t.close();
    EXPECT_FALSE(ui::ensureDesktopShortcut(desktop.path(), "/opt/qcbook", kTitle, kName));
    EXPECT_EQ(read(target), "theirs");
}

TEST(Shortcut, ExecStartsExactlyTheProgramWhateverTheFolderName) {
    const QStringList folders{"/opt/qcbook", "/home/a b/my apps", "/tmp/quote\"d",
                              "/tmp/$HOME",  "/tmp/100%",         "/tmp/back\\slash",
                              "/tmp/`tick`", "/tmp/青橙 软件",    "/tmp/it's"};
    for (const QString& folder : folders) {
        const QString exec = ui::desktopEntryExec(folder + "/qcbook");
        EXPECT_EQ(launchedProgram(exec), folder + "/qcbook") << qPrintable(exec);
        EXPECT_FALSE(exec.contains('\n'));
    }
    EXPECT_EQ(ui::desktopEntryExec("/tmp/100%/qcbook"), "\"/tmp/100%%/qcbook\"");
    EXPECT_EQ(ui::desktopEntryExec("/tmp/$x/qcbook"), "\"/tmp/\\\\$x/qcbook\"");
}

TEST(Shortcut, FailuresAreSilent) {
    EXPECT_FALSE(ui::ensureDesktopShortcut(QString(), "/opt/qcbook", kTitle, kName));
    EXPECT_FALSE(
        ui::ensureDesktopShortcut("/nonexistent/desktop/folder", "/opt/qcbook", kTitle, kName));
    QTemporaryDir dir;
    const QString notAFolder = dir.filePath("file");
    QFile f(notAFolder);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_FALSE(ui::ensureDesktopShortcut(notAFolder, "/opt/qcbook", kTitle, kName));
    // A read-only desktop: nothing is made (root may write anyway, so only check when not root).
    QTemporaryDir readOnly;
    QFile::setPermissions(readOnly.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool created = ui::ensureDesktopShortcut(readOnly.path(), "/opt/qcbook", kTitle, kName);
    if (geteuid() != 0) {
        EXPECT_FALSE(created);
    }
    QFile::setPermissions(readOnly.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}
