#pragma once
// The main window receives the component's events as ordinary calls: the
// component holds this small object as its Notification and hands every event
// to the window while the window is attached.
#include <QString>
#include <cstdint>

#include "platform/com/com_class.h"
#include "qelpop3/qelpop3.h"

namespace forms {

// What the main window does with each event.
class ComponentEventsView {
public:
    virtual void OnConnected() = 0;
    virtual void OnReceived() = 0;
    // A download's progress, from the object owner.
    virtual void OnProgress(IqelPop3Com* owner, std::int32_t position, std::int32_t total) = 0;
    // The server's certificate failed its check (code 50000 + the
    // verification error, reason that error in words) and was refused.
    virtual void OnCertificateRefused(std::int32_t code, const QString& reason) = 0;

protected:
    ~ComponentEventsView() = default;
};

class ComponentEvents final : public com::ComClass<IqelPopClientNotify> {
public:
    // stop: the flag that a user's stop raises, which a failed handler raises too.
    ComponentEvents(ComponentEventsView& view, bool& stop) : view_(&view), stop_(stop) {}
    // After this the events reach nothing: the window is going.
    void Detach() { view_ = nullptr; }

    com::HRESULT GetTypeInfoCount(std::uint32_t* count) override;
    com::HRESULT GetTypeInfo(std::uint32_t, com::LCID, com::ITypeInfo**) override;
    com::HRESULT GetIDsOfNames(const com::IID&, com::OLECHAR**, std::uint32_t, com::LCID,
                               com::DISPID*) override;
    com::HRESULT Invoke(com::DISPID, const com::IID&, com::LCID, std::uint16_t, com::DISPPARAMS*,
                        com::VARIANT*, com::EXCEPINFO*, std::uint32_t*) override;

    com::HRESULT StateChange(IqelPop3Com* Owner, StatesEnum OldState) override;
    com::HRESULT Connected(IqelPop3Com* Owner) override;
    com::HRESULT Disconnected(IqelPop3Com* Owner, std::int32_t ErrorCode, com::BSTR ErrorText) override;
    com::HRESULT Done(IqelPop3Com* Owner, std::int32_t ErrorCode, com::BSTR ErrorText,
                      com::VARIANT_BOOL HeadersOnly) override;
    com::HRESULT Received(IqelPop3Com* Owner, IPop3Msg* Message, com::VARIANT_BOOL HeadersOnly) override;
    com::HRESULT Progress(IqelPop3Com* Owner, std::int32_t Position, std::int32_t Total) override;
    com::HRESULT HostCertificate(IqelPop3Com* Owner, ICertificate* Cert, std::int32_t ErrorCode,
                                 com::BSTR ErrorText, com::VARIANT_BOOL* Accept) override;

private:
    // Runs the window's handler of an event. Its failure must not cross into
    // the component: the operation the event belongs to ends as the user's
    // stop ends it, the component's session is closed, and the failure is
    // told.
    template <class F>
    void Deliver(IqelPop3Com* owner, F&& handler);

    ComponentEventsView* view_;
    bool& stop_;
};

}  // namespace forms
