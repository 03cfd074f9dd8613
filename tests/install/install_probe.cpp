// Run from an installed tree: prints the data and library folders the
// program would use and creates the component by class from the library
// there, as the installed program does. Exit 0 only when both work.
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/com/activation.h"
#include "platform/com/com_ptr.h"
#include "platform/store/program_folder.h"
#include "qelpop3/qelpop3.h"

int main() {
    platform::store::SetAppIdentity({"ZKT\\Veltrane", "veltrane", "Veltrane", "", "", ""});
    std::printf("data %s\n", platform::store::InstallDataFolder().c_str());
    const std::filesystem::path libraries = platform::store::InstallLibraryFolder();
    std::printf("libraries %s\n", libraries.c_str());
    if (libraries.empty()) return 2;
    const std::string component = (libraries / "libqelpop3.so").string();
    if (com::RegisterServerLibrary(CLSID_qelPop3Com, {qelpop3::kProgId}, component) != com::S_OK) return 2;
    com::ComPtr<IqelPop3Com> pop3;
    const com::HRESULT hr =
        com::CoCreateInstance(CLSID_qelPop3Com, nullptr, IqelPop3Com::iid, pop3.ReleaseAndGetVoidAddress());
    std::printf("component %s (0x%08x)\n", hr == com::S_OK && pop3 ? "created" : "missing",
                static_cast<unsigned>(hr));
    return hr == com::S_OK && pop3 ? 0 : 1;
}
