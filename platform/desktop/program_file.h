#pragma once
// A program the user names by its path, such as the mail client: whether the
// path can be started, its icon, and starting it.
//
// Linux programs carry no ".exe" ending and no icon inside the file. A usable
// path is an executable regular file, or a desktop entry (".desktop") that
// describes an application; the icon comes from the program's desktop entry
// or from the icon theme.

#include <QIcon>
#include <QString>

namespace platform::desktop {

bool IsUsableProgram(const QString& path);

// The program's icon: the Icon of the desktop entry at path, or of an
// installed entry whose command is that program, or the theme's icon named
// after the program file. A null icon when there is none; the caller shows
// its own generic picture then.
QIcon ProgramIcon(const QString& path);

// Starts the program with no arguments, detached; false when it could not
// be started. Linux cannot impose a window size on another program, so
// there is no show-window code.
bool StartProgram(const QString& path);

}  // namespace platform::desktop
