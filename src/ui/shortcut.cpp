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

const char kShortcutExtension[] =
#ifdef Q_OS_WIN
    ".lnk";
#else
    ".desktop";
#endif

// A file name holds at most 255 bytes, its extension included.
constexpr qsizetype kMostNameBytes = 255 - qsizetype(sizeof(kShortcutExtension) - 1);

bool keptInFileName(QChar c) {
    if (c == u'/' || c.category() == QChar::Other_Control) return false;
#ifdef Q_OS_WIN
    if (QStringLiteral("\\:*?\"<>|").contains(c)) return false;
#endif
    return true;
}

// The longest start of `text` that takes at most `bytes` bytes in UTF-8, whole characters only.
QString cutToUtf8Bytes(const QString& text, qsizetype bytes) {
    qsizetype used = 0, end = 0;
    while (end < text.size()) {
        const qsizetype step = text[end].isHighSurrogate() && end + 1 < text.size() ? 2 : 1;
        const qsizetype size = QStringView(text).mid(end, step).toUtf8().size();
        if (used + size > bytes) break;
        used += size;
        end += step;
    }
    return text.left(end);
}

}  // namespace

QString safeShortcutName(const QString& shortcutName) {
    QString safe;
    for (const QChar c : shortcutName) {
        if (keptInFileName(c)) safe += c;
    }
    // A leading dot would hide the file; leading and trailing spaces only confuse.
    qsizetype from = 0;
    while (from < safe.size() && (safe[from] == u'.' || safe[from].isSpace())) ++from;
    safe = safe.mid(from).trimmed();
    safe = cutToUtf8Bytes(safe, kMostNameBytes).trimmed();
    return safe.isEmpty() ? QString::fromLatin1(kFallbackShortcutName) : safe;
}

QString shortcutFileName(const QString& shortcutName) {
    return safeShortcutName(shortcutName) + QString::fromLatin1(kShortcutExtension);
}

QString desktopEntryExec(const QStringList& arguments) {
    // Inside a quoted argument, '"', '`', '$' and '\' are escaped with a backslash; '%' is
    // written "%%" because it starts field codes; then the whole value is escaped as a
    // desktop-entry string, where a backslash is written twice.
    QStringList words;
    for (const QString& argument : arguments) {
        QString quoted;
        for (const QChar c : argument) {
            if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += QLatin1Char('\\');
            quoted += c;
        }
        words << QLatin1Char('"') + quoted.replace(QLatin1String("%"), QLatin1String("%%")) +
                     QLatin1Char('"');
    }
    return desktopEntryString(words.join(QLatin1Char(' ')));
}

QString desktopEntryExec(const QString& programPath) {
    return desktopEntryExec(QStringList{programPath});
}

QString desktopEntryString(const QString& text) {
    QString value;
    for (const QChar c : text) {
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

QString desktopEntryText(const QString& title, const QString& programPath,
                         const QString& bookPath) {
    // The title comes from the book: a name is one line of text, so its control characters
    // go, and none of them can start another key.
    QString name;
    for (const QChar c : title) {
        if (c.category() != QChar::Other_Control) name += c;
    }
    return QStringLiteral(
               "[Desktop Entry]\nType=Application\nVersion=1.0\nName=%1\nExec=%2\n"
               "Terminal=false\nCategories=Education;\n")
        .arg(desktopEntryString(name),
             desktopEntryExec(bookPath.isEmpty() ? QStringList{programPath}
                                                 : QStringList{programPath, bookPath}));
}

bool ensureDesktopShortcut(const QString& desktopFolder, const QString& programFolder,
                           const QString& title, const QString& shortcutName,
                           const QString& bookPath) {
    if (desktopFolder.isEmpty()) return false;
    const QString path = QDir(desktopFolder).filePath(shortcutFileName(shortcutName));
    const QString program = QDir(programFolder).filePath(QString::fromLatin1(kProgramFile));
#ifdef Q_OS_WIN
    if (QFileInfo(path).exists() || QFileInfo(path).isSymLink()) return false;
    return QFile::link(program, path);
#else
    const QByteArray text = desktopEntryText(title, program, bookPath).toUtf8();
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
