#pragma once
// Facts about the running program: its name, maker, version and folders.
// The names and the maker's facts are those the program gave at start-up
// (platform::store::SetAppIdentity); reading them earlier stops the process.
#include <QString>

namespace vb::App {

// The program's title, used in window captions and message-box titles.
QString Title();
// The maker's name, support e-mail address and home page (About page,
// error boxes, the Updates command).
QString CompanyName();
QString SupportAddress();
QString HomePage();
// The executable's file name without its folder.
QString EXEName();
int Major();
int Minor();
// The per-user folder of the program's own files (frmMain.ini, rules files)
// and the read-only resources (sounds, icons, help pages), as the settings
// store has them (platform/store/program_folder.h). No trailing separator.
QString Path();
QString DataPath();

}  // namespace vb::App
