// pop3_get_all HOST PORT USER PASSWORD SECURITY COUNT (plain, implicit or stls): connects, logs in,
// downloads every message with one blocking GetAll and quits. Exit status 0
// only when all COUNT messages arrived.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/com/activation.h"
#include "platform/com/bstr.h"
#include "qelpop3/qelpop3.h"

namespace {

com::Bstr Wide(const char* text) {
    std::u16string wide;
    for (const char* p = text; *p != '\0'; ++p) wide += static_cast<char16_t>(static_cast<unsigned char>(*p));
    return com::Bstr(wide);
}

int Fail(const char* what, com::HRESULT hr) {
    std::fprintf(stderr, "%s failed: 0x%08X\n", what, static_cast<unsigned>(hr));
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 7) {
        std::fprintf(stderr, "usage: %s HOST PORT USER PASSWORD plain|implicit|stls COUNT\n", argv[0]);
        return 2;
    }
    const std::string mode = argv[5];
    if (mode != "plain" && mode != "implicit" && mode != "stls") {
        std::fprintf(stderr, "security is plain, implicit or stls\n");
        return 2;
    }
    const char* library = std::getenv("QELPOP3_LIBRARY");
    com::RegisterServerLibrary(CLSID_qelPop3Com, {qelpop3::kProgId},
                               library != nullptr ? library : QELPOP3_LIBRARY);
    com::ComPtr<IqelPop3Com> pop3;
    com::HRESULT hr =
        com::CreateInstanceFromProgID(qelpop3::kProgId, IqelPop3Com::iid, pop3.ReleaseAndGetVoidAddress());
    if (com::FAILED(hr)) return Fail("create", hr);
    // Before the port: Security sets the default port of its mode.
    pop3->put_Security(mode == "implicit" ? SecurityImplicit
                       : mode == "stls"   ? SecurityRequired
                                          : SecurityNone);
    pop3->put_Hostname(Wide(argv[1]).Get());
    pop3->put_Port(std::atoi(argv[2]));
    pop3->put_Login(Wide(argv[3]).Get());
    pop3->put_Password(Wide(argv[4]).Get());
    pop3->put_Blocking(com::VARIANT_TRUE);
    if (com::FAILED(hr = pop3->Connect())) return Fail("Connect", hr);
    com::ComPtr<IPop3Msgs> messages;
    pop3->get_Messages(messages.ReleaseAndGetAddressOf());
    std::int16_t count = 0;
    messages->get_Count(&count);
    if (count != std::atoi(argv[6])) return Fail("Count", count);
    if (com::FAILED(hr = messages->GetAll())) return Fail("GetAll", hr);
    if (com::FAILED(hr = pop3->Disconnect())) return Fail("Disconnect", hr);
    return 0;
}
