// Run from an installed tree: prints the data folder the program would use
// and creates the component by class through the bare library name, as the
// installed program does. Exit 0 only when both work.
#include <cstdio>

#include "platform/com/activation.h"
#include "platform/com/com_ptr.h"
#include "platform/store/program_folder.h"
#include "qelpop3/qelpop3.h"

int main() {
    std::printf("data %s\n", platform::store::InstallDataFolder().c_str());
    if (com::RegisterServerLibrary(CLSID_qelPop3Com, {qelpop3::kProgId}, "libqelpop3.so") != com::S_OK) return 2;
    com::ComPtr<IqelPop3Com> pop3;
    const com::HRESULT hr =
        com::CoCreateInstance(CLSID_qelPop3Com, nullptr, IqelPop3Com::iid, pop3.ReleaseAndGetVoidAddress());
    std::printf("component %s\n", hr == com::S_OK && pop3 ? "created" : "missing");
    return hr == com::S_OK && pop3 ? 0 : 1;
}
