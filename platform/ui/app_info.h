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
// The per-user folder of the program's own files (frmMain.ini, rules files)
// and the read-only resources (sounds, icons, help pages), as the settings
// store has them (platform/store/program_folder.h). No trailing separator.
QString Path();
QString DataPath();

}  // namespace vb::App
