// The events of CqelPop3Com and their two routes: the notification sink
// when one is set, else every sink advised on the connection point.
#include "component/protocol/qel_pop3_com.h"

#include "platform/com/dispatch_args.h"

namespace component::protocol {

namespace {

com::Variant Text(const std::u16string& text) { return com::Variant(std::u16string_view(text)); }
com::Variant Long(std::int32_t value) { return com::Variant(value); }
// HeadersOnly travels as a 16-bit integer, -1 or 0.
com::Variant Flag(bool value) { return com::Variant(static_cast<std::int16_t>(value ? -1 : 0)); }

}  // namespace

template <class NotifyCall, class MakeArgs>
bool CqelPop3Com::Raise(com::DISPID dispid, NotifyCall&& notify, MakeArgs&& makeArgs) {
    CallGuard guard(*this);
    InternalAddRef();
    // An exception from a client's handler stops here: the event counts as
    // delivered and the session goes on.
    try {
        // A counted copy: the client may replace Notification inside the call.
        if (com::ComPtr<IqelPopClientNotify> sink = notification) {
            notify(sink.Get());
        } else if (com::ConnectionPoint* point = ConnectionPointOf(DIID__IqelPop3ComEvents);
                   point != nullptr && point->SinkCount() > 0) {
            com::DispatchArgs args = makeArgs();
            point->Fire(dispid, args);
        }
    } catch (...) {
    }
    return InternalRelease() > 0;
}

bool CqelPop3Com::RaiseStateChange(StatesEnum oldState) {
    return Raise(
        DISPID_Event_StateChange, [&](IqelPopClientNotify* n) { n->StateChange(this, oldState); },
        [&] { return com::DispatchArgs{Long(oldState)}; });
}

bool CqelPop3Com::RaiseConnected() {
    return Raise(
        DISPID_Event_Connected, [&](IqelPopClientNotify* n) { n->Connected(this); },
        [] { return com::DispatchArgs{}; });
}

bool CqelPop3Com::RaiseDisconnected(std::int32_t code, const std::u16string& text) {
    return Raise(
        DISPID_Event_Disconnected,
        [&](IqelPopClientNotify* n) {
            const com::Bstr t(text);
            n->Disconnected(this, code, t.Get());
        },
        [&] {
            return com::DispatchArgs{Long(code), Text(text)};
        });
}

bool CqelPop3Com::RaiseDone(std::int32_t code, const std::u16string& text, bool headers) {
    return Raise(
        DISPID_Event_Done,
        [&](IqelPopClientNotify* n) {
            const com::Bstr t(text);
            n->Done(this, code, t.Get(), com::ToVariantBool(headers));
        },
        [&] {
            return com::DispatchArgs{Long(code), Text(text), Flag(headers)};
        });
}

bool CqelPop3Com::RaiseReceived(CPop3Msg* message, bool headers) {
    return Raise(
        DISPID_Event_Received,
        [&](IqelPopClientNotify* n) { n->Received(this, message, com::ToVariantBool(headers)); },
        [&] {
            return com::DispatchArgs{
                com::Variant(static_cast<com::IDispatch*>(static_cast<IPop3Msg*>(message))), Flag(headers)};
        });
}

bool CqelPop3Com::RaiseProgress(std::int32_t position, std::int32_t total) {
    return Raise(
        DISPID_Event_Progress, [&](IqelPopClientNotify* n) { n->Progress(this, position, total); },
        [&] {
            return com::DispatchArgs{Long(position), Long(total)};
        });
}

bool CqelPop3Com::RaiseHostCertificate(ICertificate* cert, std::int32_t code, const std::u16string& text,
                                       bool& accept) {
    com::VARIANT_BOOL answer = com::ToVariantBool(accept);
    const bool alive = Raise(
        DISPID_Event_HostCertificate,
        [&](IqelPopClientNotify* n) {
            const com::Bstr t(text);
            n->HostCertificate(this, cert, code, t.Get(), &answer);
        },
        [&] {
            com::Variant byRef;
            byRef.vt = com::VT_BOOL | com::VT_BYREF;
            byRef.pboolVal = &answer;
            return com::DispatchArgs{com::Variant(static_cast<com::IDispatch*>(cert)), Long(code), Text(text),
                                     byRef};
        });
    accept = answer != com::VARIANT_FALSE;
    return alive;
}

}  // namespace component::protocol
