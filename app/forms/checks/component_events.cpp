#include "app/forms/checks/component_events.h"

#include "platform/com/bstr.h"
#include "platform/loop/handler_barrier.h"

namespace forms {

template <class F>
void ComponentEvents::Deliver(IqelPop3Com* owner, F&& handler) {
    if (!view_) return;
    try {
        handler(*view_);
    } catch (...) {
        stop_ = true;
        if (owner) owner->Disconnect();
        platform::loop::ReportFailure("receiving messages from the mail server", std::current_exception());
    }
}

// The main window is reached only through early binding.
com::HRESULT ComponentEvents::GetTypeInfoCount(std::uint32_t* count) {
    if (count == nullptr) return com::E_POINTER;
    *count = 0;
    return com::S_OK;
}
com::HRESULT ComponentEvents::GetTypeInfo(std::uint32_t, com::LCID, com::ITypeInfo**) {
    return com::E_NOTIMPL;
}
com::HRESULT ComponentEvents::GetIDsOfNames(const com::IID&, com::OLECHAR**, std::uint32_t, com::LCID,
                                            com::DISPID*) {
    return com::E_NOTIMPL;
}
com::HRESULT ComponentEvents::Invoke(com::DISPID, const com::IID&, com::LCID, std::uint16_t, com::DISPPARAMS*,
                                     com::VARIANT*, com::EXCEPINFO*, std::uint32_t*) {
    return com::E_NOTIMPL;
}

// Events the window takes no action on still succeed: the component must not
// read a refusal into them.
com::HRESULT ComponentEvents::StateChange(IqelPop3Com*, StatesEnum) { return com::S_OK; }
com::HRESULT ComponentEvents::Disconnected(IqelPop3Com*, std::int32_t, com::BSTR) { return com::S_OK; }
com::HRESULT ComponentEvents::Done(IqelPop3Com*, std::int32_t, com::BSTR, com::VARIANT_BOOL) {
    return com::S_OK;
}
// A certificate that failed its check is refused before the password goes
// out, also while no window listens; the window learns why.
com::HRESULT ComponentEvents::HostCertificate(IqelPop3Com* Owner, ICertificate*, std::int32_t ErrorCode,
                                              com::BSTR ErrorText, com::VARIANT_BOOL* Accept) {
    if (ErrorCode == 0 || Accept == nullptr) return com::S_OK;
    *Accept = com::VARIANT_FALSE;
    const QString reason = QString::fromStdU16String(std::u16string(com::BstrView(ErrorText)));
    Deliver(Owner, [&](ComponentEventsView& view) { view.OnCertificateRefused(ErrorCode, reason); });
    return com::S_OK;
}

com::HRESULT ComponentEvents::Connected(IqelPop3Com* Owner) {
    Deliver(Owner, [](ComponentEventsView& view) { view.OnConnected(); });
    return com::S_OK;
}

com::HRESULT ComponentEvents::Received(IqelPop3Com* Owner, IPop3Msg*, com::VARIANT_BOOL) {
    Deliver(Owner, [](ComponentEventsView& view) { view.OnReceived(); });
    return com::S_OK;
}

com::HRESULT ComponentEvents::Progress(IqelPop3Com* Owner, std::int32_t Position, std::int32_t Total) {
    Deliver(Owner, [&](ComponentEventsView& view) { view.OnProgress(Owner, Position, Total); });
    return com::S_OK;
}

}  // namespace forms
