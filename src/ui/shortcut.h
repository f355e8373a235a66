#pragma once

#include <QString>

namespace ui {

// The desktop shortcut's file name on this platform.
QString shortcutFileName();

// The Exec value of a desktop entry that starts exactly `programPath`, quoted so that spaces,
// quotes, '$', '%', backslashes and any other character of the path reach the program intact.
QString desktopEntryExec(const QString& programPath);
QString desktopEntryText(const QString& title, const QString& programPath);

// Creates the shortcut in `desktopFolder` pointing at the program in `programFolder`, but only
// when nothing at all (not even a dangling link) exists under its name: an exclusive create
// that never follows a link and never overwrites. Every failure is silent. Returns whether a
// shortcut was created.
bool ensureDesktopShortcut(const QString& desktopFolder, const QString& programFolder,
                           const QString& title);

}  // namespace ui
