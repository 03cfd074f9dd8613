// The events of CqelPop3Com and their two routes.
#include "component/protocol/qel_pop3_com.h"

namespace {

com::Variant TextArg(const std::u16string& text) { return com::Variant(std::u16string_view(text)); }

}  // namespace

template <class NotifyCall, class MakeArgs>
bool CqelPop3Com::Raise(com::DISPID dispid, NotifyCall&& notify, MakeArgs&& makeReversedArgs) {
    CallGuard guard(*this);
    InternalAddRef();
    // A counted copy: the client may replace Notification inside the call.
    if (com::ComPtr<IqelPopClientNotify> sink = notification) {
        notify(sink.Get());
    } else {
        std::vector<com::Variant> args = makeReversedArgs();
        FireToSinks(dispid, args);
    }
    return InternalRelease() > 0;
}

void CqelPop3Com::FireToSinks(com::DISPID, std::vector<com::Variant>&) {}

bool CqelPop3Com::RaiseStateChange(StatesEnum oldState) {
    return Raise(
        DISPID_Event_StateChange, [&](IqelPopClientNotify* n) { n->StateChange(this, oldState); },
        [&] { return std::vector<com::Variant>{com::Variant(static_cast<std::int32_t>(oldState))}; });
}

bool CqelPop3Com::RaiseConnected() {
    return Raise(
        DISPID_Event_Connected, [&](IqelPopClientNotify* n) { n->Connected(this); },
        [] { return std::vector<com::Variant>{}; });
}

bool CqelPop3Com::RaiseDisconnected(std::int32_t code, const std::u16string& text) {
    return Raise(
        DISPID_Event_Disconnected,
        [&](IqelPopClientNotify* n) {
            com::Bstr t(text);
            n->Disconnected(this, code, t.Get());
        },
        [&] {
            std::vector<com::Variant> args;
            args.push_back(TextArg(text));
            args.emplace_back(code);
            return args;
        });
}

bool CqelPop3Com::RaiseDone(std::int32_t code, const std::u16string& text, bool headers) {
    return Raise(
        DISPID_Event_Done,
        [&](IqelPopClientNotify* n) {
            com::Bstr t(text);
            n->Done(this, code, t.Get(), com::ToVariantBool(headers));
        },
        [&] {
            std::vector<com::Variant> args;
            args.emplace_back(static_cast<std::int16_t>(headers ? -1 : 0));
            args.push_back(TextArg(text));
            args.emplace_back(code);
            return args;
        });
}

bool CqelPop3Com::RaiseReceived(CPop3Msg* message, bool headers) {
    return Raise(
        DISPID_Event_Received,
        [&](IqelPopClientNotify* n) { n->Received(this, message, com::ToVariantBool(headers)); },
        [&] {
            std::vector<com::Variant> args;
            args.emplace_back(static_cast<std::int16_t>(headers ? -1 : 0));
            args.emplace_back(static_cast<com::IDispatch*>(static_cast<IPop3Msg*>(message)));
            return args;
        });
}

bool CqelPop3Com::RaiseProgress(std::int32_t position, std::int32_t total) {
    return Raise(
        DISPID_Event_Progress, [&](IqelPopClientNotify* n) { n->Progress(this, position, total); },
        [&] { return std::vector<com::Variant>{com::Variant(total), com::Variant(position)}; });
}
