#pragma once
// Who the program is, and the folders that stand in for its own folder: the
// per-user data folder for every file the program writes (frmMain.ini, the
// rules files) and the install's data folder for read-only resources (sounds,
// icons, help). platform/ names no program: the program gives its identity
// once at start-up, before any folder, setting or caption is needed.

#include <filesystem>
#include <string>
#include <system_error>

namespace platform::store {

struct AppIdentity {
    // The settings store's application key, "Maker\Program"; its parts also
    // name the per-user data folder under $XDG_CONFIG_HOME.
    std::string key;
    // The install's read-only data folder: <prefix>/share/<dataFolder>.
    std::string dataFolder;
    // The program's title (UTF-8): window captions and message-box titles.
    std::string title;
    // The maker's facts, for the About page and the error boxes.
    std::string makerName;
    std::string supportAddress;  // e-mail address
    std::string webPage;         // URL of the maker's home page
};

// Throws std::invalid_argument when the key or the data folder name is empty
// or has a part that is empty, ".", ".." or holds "/" (it would name a folder
// outside its parent), or when the title is empty.
void SetAppIdentity(const AppIdentity& identity);
// The identity the program set. Reading it before the program set it is a
// programming error: the process stops with a message naming the mistake
// (a default would quietly write another program's folder).
AppIdentity CurrentAppIdentity();

// $XDG_CONFIG_HOME/<key with "\" as "/"> (default ~/.config/...), created with
// mode 0700 when missing; ec reports a failure to create it.
std::filesystem::path UserDataFolder(std::error_code& ec);
std::filesystem::path UserDataFolder();

// <prefix>/share/<dataFolder> beside the installed executable; when the
// program runs from a build tree, the source tree's data folder
// (VELTRANE_SOURCE_DIR names the source tree, as the test driver and the
// build set it).
std::filesystem::path InstallDataFolder();

// The folder of the install's own libraries (the component), <prefix>/lib/
// veltrane beside the installed executable; empty when the program does not
// run from an install. Libraries are loaded by their full path from here:
// a bare name would depend on whose search path the loader applies, which
// differs under the sanitizers' interception of dlopen.
std::filesystem::path InstallLibraryFolder();

}  // namespace platform::store
