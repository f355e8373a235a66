#include "ui/shortcut.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace ui {

namespace {
const char kProgramFile[] =
#ifdef Q_OS_WIN
    "qcbook.exe";
#else
    "qcbook";
#endif
}  // namespace

QString shortcutFileName() {
#ifdef Q_OS_WIN
    return QStringLiteral("青橙点读软件三年级上册.lnk");
#else
    return QStringLiteral("青橙点读软件三年级上册.desktop");
#endif
}

QString desktopEntryExec(const QString& programPath) {
    // Inside a quoted argument, '"', '`', '$' and '\' are escaped with a backslash; '%' is
    // written "%%" because it starts field codes; then the whole value is escaped as a
    // desktop-entry string, where a backslash is written twice.
    QString quoted;
    for (const QChar c : programPath) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += QLatin1Char('\\');
        quoted += c;
    }
    quoted = QLatin1Char('"') + quoted.replace(QLatin1String("%"), QLatin1String("%%")) +
             QLatin1Char('"');
    QString value;
    for (const QChar c : quoted) {
        if (c == '\\')
            value += QLatin1String("\\\\");
        else if (c == '\n')
            value += QLatin1String("\\n");
        else if (c == '\t')
            value += QLatin1String("\\t");
        else if (c == '\r')
            value += QLatin1String("\\r");
        else
            value += c;
    }
    return value;
}

QString desktopEntryText(const QString& title, const QString& programPath) {
    return QStringLiteral(
               "[Desktop Entry]\nType=Application\nVersion=1.0\nName=%1\nExec=%2\n"
               "Terminal=false\nCategories=Education;\n")
        .arg(title, desktopEntryExec(programPath));
}

bool ensureDesktopShortcut(const QString& desktopFolder, const QString& programFolder,
                           const QString& title) {
    if (desktopFolder.isEmpty()) return false;
    const QString path = QDir(desktopFolder).filePath(shortcutFileName());
    const QString program = QDir(programFolder).filePath(QString::fromLatin1(kProgramFile));
#ifdef Q_OS_WIN
    if (QFileInfo(path).exists() || QFileInfo(path).isSymLink()) return false;
    return QFile::link(program, path);
#else
    const QByteArray text = desktopEntryText(title, program).toUtf8();
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0755);
    if (fd < 0) return false;
    ssize_t written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(fd, text.constData() + written, size_t(text.size() - written));
        if (n <= 0) break;
        written += n;
    }
    ::fchmod(fd, 0755);
    ::close(fd);
    if (written != text.size()) {
        ::unlink(QFile::encodeName(path).constData());
        return false;
    }
    return true;
#endif
}

}  // namespace ui
