#pragma once
// The folders that stand in for the program's own folder: the per-user data
// folder for every file the program writes (frmMain.ini, the rules files) and
// the install's data folder for read-only resources (sounds, icons, help).

#include <filesystem>
#include <system_error>

namespace platform::store {

// $XDG_CONFIG_HOME/ZKT/Veltrane (default ~/.config/ZKT/Veltrane), created with
// mode 0700 when missing; ec reports a failure to create it.
std::filesystem::path UserDataFolder(std::error_code& ec);
std::filesystem::path UserDataFolder();

// <prefix>/share/veltrane beside the installed executable; when the program
// runs from a build tree, the source tree's data folder (VELTRANE_SOURCE_DIR
// names the source tree, as the test driver and the build set it).
std::filesystem::path InstallDataFolder();

// The folder of the install's own libraries (the component), <prefix>/lib/
// veltrane beside the installed executable; empty when the program does not
// run from an install. Libraries are loaded by their full path from here:
// a bare name would depend on whose search path the loader applies, which
// differs under the sanitizers' interception of dlopen.
std::filesystem::path InstallLibraryFolder();

}  // namespace platform::store
