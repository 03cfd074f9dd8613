// CqelPop3Com: construction, properties with their checks, errors and
// clean-up. The session itself is in pop3_session.cpp and pop3_download.cpp,
// the events in pop3_events.cpp.
#include "component/protocol/qel_pop3_com.h"
#include "component/protocol/exception_barrier.h"
#include "component/protocol/out_params.h"

#include "component/transport/error_table.h"
#include "platform/com/user_locale.h"
#include "platform/net/resolver.h"
#include "platform/text/code_page.h"

namespace component::protocol {

using transport::LookupErrorText;

using com::E_POINTER;

namespace {

// Process-wide, as the type library's Language is: every new object sets it
// to the user's locale.
std::int32_t gLanguage = 1033;

std::u16string TextOf(BSTR value) { return std::u16string(com::BstrView(value)); }

const char16_t* StateTextOf(std::int32_t state) {
    switch (state) {
        case Disconnected:
            return u"Not yet connected - waiting.";
        case Connecting:
            return u"Trying to connect to the server.";
        case LogonInProgress:
            return u"Sending login information.";
        case ReadingMessageList:
            return u"Receiving message list from the server.";
        case Connected:
            return u"Connected to the server - idle.";
        case ReceivingMessage:
            return u"Receiving message from the server.";
        case DeletingMessage:
            return u"Deleting message from the server.";
        case NegotiatingSSL:
            return u"Negotiating SSL encryption.";
        case EstablishedSSL:
            return u"Established SSL encryption.";
        default:
            return u"Unknown state";
    }
}

}  // namespace

CqelPop3Com::CqelPop3Com() = default;

HRESULT CqelPop3Com::FinalConstruct() {
    messages = com::MakeComObject<CPop3Msgs>();
    if (!messages) return com::E_OUTOFMEMORY;
    const std::string host = platform::net::LocalHostName();
    myHostname = text::FromAnsi(host);
    // MyIP is looked up when first read: a slow name server must not hold
    // every creation of the object.
    gLanguage = static_cast<std::int32_t>(com::GetUserDefaultLCID());
    if (AddConnectionPoint(DIID__IqelPop3ComEvents) == nullptr) return com::E_OUTOFMEMORY;
    return S_OK;
}

void CqelPop3Com::FinalRelease() {
    notification = nullptr;
    DisconnectConnectionPoints();
    // No QUIT: the client let go of the object, the session just ends.
    EndSession();
    // Messages the client still holds stay readable but can no longer
    // reach this object.
    if (messages) messages->DetachOwner();
    certificate = nullptr;
    tag.Clear();
    password.assign(password.size(), u'\0');
}

// ---- Errors ----------------------------------------------------------------

HRESULT CqelPop3Com::ReportError(std::int32_t code) {
    lastError = code;
    return SetErrorInfoText(code, text::FromAnsi(LookupErrorText(code)));
}

HRESULT CqelPop3Com::SetErrorInfoText(std::int32_t code, const std::u16string& text) {
    lastErrorText = text;
    com::SetErrorInfoText(IqelPop3Com::iid, qelpop3::kProgId, text);
    return com::CtlError(static_cast<std::uint16_t>(code));
}

HRESULT CqelPop3Com::InterfaceSupportsErrorInfo(const com::IID& iid) {
    return iid == IqelPop3Com::iid ? S_OK : com::S_FALSE;
}

// ---- State -----------------------------------------------------------------

bool CqelPop3Com::SetState(StatesEnum newState) {
    const StatesEnum old = state;
    state = newState;
    if (old == newState) return true;
    return RaiseStateChange(old);
}

void CqelPop3Com::ReplaceMessages() {
    // A collection kept from an earlier session must not download into the
    // new one's messages by index.
    if (messages) messages->DetachOwner();
    messages = com::MakeComObject<CPop3Msgs>();
}

// ---- Properties ------------------------------------------------------------

HRESULT CqelPop3Com::get_Hostname(BSTR* value) try { return CopyText(hostname, value); } catch (...) {
    return ExceptionResult();
}
HRESULT CqelPop3Com::put_Hostname(BSTR value) try {
    hostname = TextOf(value);
    return S_OK;
} catch (...) {
    return ExceptionResult();
}
HRESULT CqelPop3Com::get_Port(std::int32_t* value) try { return CopyValue(port, value); } catch (...) {
    return ExceptionResult();
}
HRESULT CqelPop3Com::put_Port(std::int32_t value) try {
    port = value;
    return S_OK;
} catch (...) {
    return ExceptionResult();
}
HRESULT CqelPop3Com::get_Login(BSTR* value) try { return CopyText(login, value); } catch (...) {
    return ExceptionResult();
}
HRESULT CqelPop3Com::put_Login(BSTR value) try {
    login = TextOf(value);
    return S_OK;
} catch (...) {
    return ExceptionResult();
}
HRESULT CqelPop3Com::get_Password(BSTR* value) try { return CopyText(password, value); } catch (...) {
    return ExceptionResult();
}
HRESULT CqelPop3Com::put_Password(BSTR value) try {
    password = TextOf(value);
    return S_OK;
} catch (...) {
    return ExceptionResult();
}
HRESULT CqelPop3Com::get_State(StatesEnum* value) try { return CopyValue(state, value); } catch (...) {
    return ExceptionResult();
}
HRESULT CqelPop3Com::get_StateText(com::VARIANT StateNum, BSTR* value) try {
    std::int32_t number = state;
    if (StateNum.vt == com::VT_I4)
        number = StateNum.lVal;
    else if (StateNum.vt == (com::VT_I4 | com::VT_BYREF) && StateNum.plVal != nullptr)
        number = *StateNum.plVal;
    return CopyText(StateTextOf(number), value);
} catch (...) {
    return ExceptionResult();
}
HRESULT CqelPop3Com::get_Messages(IPop3Msgs** value) try {
    if (value == nullptr) return E_POINTER;
    if (messages->Owner() == nullptr && IsAlive()) messages->SetOwner(this);
    return com::ComPtr<IPop3Msgs>(messages.Get()).CopyTo(value);
} catch (...) {
    return ExceptionResult();
}
HRESULT CqelPop3Com::get_LastError(std::int32_t* value) try {
    return CopyValue(lastError, value);
} catch (...) {
    return ExceptionResult();
}
HRESULT CqelPop3Com::get_LastErrorText(BSTR* value) try {
    return CopyText(lastErrorText, value);
} catch (...) {
    return ExceptionResult();
}
HRESULT CqelPop3Com::get_Blocking(com::VARIANT_BOOL* value) try {
    return CopyValue(com::ToVariantBool(blocking), value);
} catch (...) {
    return ExceptionResult();
}
HRESULT CqelPop3Com::put_Blocking(com::VARIANT_BOOL value) try {
    blocking = value != 0;
    return S_OK;
} catch (...) {
    return ExceptionResult();
}
HRESULT CqelPop3Com::get_Timeout(std::int16_t* value) try { return CopyValue(timeout, value); } catch (...) {
    return ExceptionResult();
}
HRESULT CqelPop3Com::put_Timeout(std::int16_t value) try {
    timeout = value;
    return S_OK;
} catch (...) {
    return ExceptionResult();
}
HRESULT CqelPop3Com::get_DebugFile(BSTR* value) try { return CopyText(debugFile, value); } catch (...) {
    return ExceptionResult();
}
HRESULT CqelPop3Com::put_DebugFile(BSTR value) try {
    debugFile = TextOf(value);
    debugFile8 = text::ToAnsi(debugFile);
    return S_OK;
} catch (...) {
    return ExceptionResult();
}
HRESULT CqelPop3Com::get_MyHostname(BSTR* value) try { return CopyText(myHostname, value); } catch (...) {
    return ExceptionResult();
}
HRESULT CqelPop3Com::put_MyHostname(BSTR value) try {
    myHostname = TextOf(value);
    return S_OK;
} catch (...) {
    return ExceptionResult();
}
HRESULT CqelPop3Com::get_MyIP(BSTR* value) try {
    if (!myIPKnown) {
        myIPKnown = true;
        const std::string host = platform::net::LocalHostName();
        in_addr address{};
        if (!host.empty() && platform::net::ResolveIPv4(host, address) == 0)
            myIP = text::FromAnsi(platform::net::AddressText(address));
    }
    return CopyText(myIP, value);
} catch (...) {
    return ExceptionResult();
}
HRESULT CqelPop3Com::put_MyIP(BSTR value) try {
    myIPKnown = true;
    myIP = TextOf(value);
    return S_OK;
} catch (...) {
    return ExceptionResult();
}
HRESULT CqelPop3Com::get_Tag(com::VARIANT* value) try {
    if (value == nullptr) return E_POINTER;
    return tag.CopyTo(value);
} catch (...) {
    return ExceptionResult();
}
HRESULT CqelPop3Com::put_Tag(com::VARIANT value) try {
    tag = value;
    return S_OK;
} catch (...) {
    return ExceptionResult();
}
HRESULT CqelPop3Com::get_Version(BSTR* value) try { return CopyText(u"1.4.1.113", value); } catch (...) {
    return ExceptionResult();
}
HRESULT CqelPop3Com::put_Version(BSTR) try { return S_OK; } catch (...) {
    return ExceptionResult();
}
HRESULT CqelPop3Com::get_Notification(IqelPopClientNotify** value) try {
    if (value == nullptr) return E_POINTER;
    return notification.CopyTo(value);
} catch (...) {
    return ExceptionResult();
}
HRESULT CqelPop3Com::putref_Notification(IqelPopClientNotify* value) try {
    notification = value;
    return S_OK;
} catch (...) {
    return ExceptionResult();
}
HRESULT CqelPop3Com::get_Authentication(Pop3Authentications* value) try {
    return CopyValue(authentication, value);
} catch (...) {
    return ExceptionResult();
}
HRESULT CqelPop3Com::put_Authentication(Pop3Authentications value) try {
    authentication = value;
    return S_OK;
} catch (...) {
    return ExceptionResult();
}
HRESULT CqelPop3Com::get_Certificate(com::IDispatch** value) try {
    if (value == nullptr) return E_POINTER;
    return certificate.CopyTo(value);
} catch (...) {
    return ExceptionResult();
}
HRESULT CqelPop3Com::putref_Certificate(com::IDispatch* value) try {
    if (state != Disconnected) return ReportError(errBusy);
    certificate = nullptr;
    if (value == nullptr) return S_OK;
    com::ComPtr<ICertificate> cert;
    const HRESULT hr = value->QueryInterface(ICertificate::iid, cert.ReleaseAndGetVoidAddress());
    if (com::FAILED(hr)) {
        security = SecurityNone;
        // Reported as error information only: LastError stays as it was.
        com::SetErrorInfoText(IqelPop3Com::iid, qelpop3::kProgId,
                              text::FromAnsi(LookupErrorText(errNotACertificate)));
        return hr;
    }
    certificate = cert.Get();
    return S_OK;
} catch (...) {
    return ExceptionResult();
}
HRESULT CqelPop3Com::get_Security(Pop3SecurityEnum* value) try {
    return CopyValue(security, value);
} catch (...) {
    return ExceptionResult();
}
HRESULT CqelPop3Com::put_Security(Pop3SecurityEnum value) try {
    if (state != Disconnected) return ReportError(errBusy);
    security = value;
    port = value == SecurityImplicit ? 995 : 110;
    return S_OK;
} catch (...) {
    return ExceptionResult();
}
HRESULT CqelPop3Com::get_Language(LanguageEnum* value) try {
    return CopyValue(static_cast<LanguageEnum>(gLanguage), value);
} catch (...) {
    return ExceptionResult();
}
HRESULT CqelPop3Com::put_Language(LanguageEnum value) try {
    gLanguage = value;
    return S_OK;
} catch (...) {
    return ExceptionResult();
}

}  // namespace component::protocol
