#pragma once
// Facts about the running program: its name, version and folders.
#include <QString>

namespace vb::App {

// The program's title, used in window captions and message-box titles.
QString Title();
// The executable's file name without its folder.
QString EXEName();
int Major();
int Minor();
int Revision();
// The per-user folder of the program's own files (frmMain.ini, rules files):
// $XDG_CONFIG_HOME/ZKT/Veltrane (default ~/.config), created (mode 0700)
// when missing. No trailing separator.
QString Path();
// The read-only resources (sounds, icons, help pages): <prefix>/share/veltrane
// beside the installed program, else the source tree's share/veltrane.
QString DataPath();

}  // namespace vb::App
