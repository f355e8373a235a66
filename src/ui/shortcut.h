#pragma once

#include <QString>
#include <QStringList>

namespace ui {

// The book's shortcut name made safe as a file name: no '/' (nor, on Windows, any other
// character a file name may not hold), no control character, no leading '.' or space, short
// enough for a file name with its extension; kFallbackShortcutName when nothing is left.
QString safeShortcutName(const QString& shortcutName);
inline constexpr const char* kFallbackShortcutName = "qcbook";

// The desktop shortcut's file name on this platform for the book's shortcut name.
QString shortcutFileName(const QString& shortcutName);

// The Exec value of a desktop entry that starts exactly `programPath`, quoted so that spaces,
// quotes, '$', '%', backslashes and any other character of the path reach the program intact.
QString desktopEntryExec(const QString& programPath);
// The same for a program and its arguments, each quoted alike.
QString desktopEntryExec(const QStringList& arguments);
// A text as a desktop-entry string value: backslash, line break, tab and carriage return
// escaped.
QString desktopEntryString(const QString& text);
// A desktop entry that starts the program, with the book file `bookPath` when one is given.
QString desktopEntryText(const QString& title, const QString& programPath,
                         const QString& bookPath = {});

// Creates the shortcut named shortcutFileName(shortcutName) in `desktopFolder`, pointing at the
// program in `programFolder` (opening the book file `bookPath` when one is given) and showing
// `title`, but only when nothing at all (not even a
// dangling link) exists under its name: an exclusive create that never follows a link and
// never overwrites. Every failure is silent. Returns whether a shortcut was created.
bool ensureDesktopShortcut(const QString& desktopFolder, const QString& programFolder,
                           const QString& title, const QString& shortcutName,
                           const QString& bookPath = {});

}  // namespace ui
