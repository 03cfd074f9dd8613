#pragma once
// Drives a CqelPop3Com in a test: records its events as readable lines,
// pumps the loop with a time limit, and reads back what the server heard.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "component/protocol/qel_pop3_com.h"
#include "platform/loop/message_loop.h"
#include "platform/text/code_page.h"

namespace harness {

using component::protocol::CqelPop3Com;

inline std::string Narrow(std::u16string_view text) { return text::ToAnsi(text); }
inline com::Bstr Wide(std::string_view text) { return com::Bstr(text::FromAnsi(text)); }

// A test's event sink: the IDispatch members no test needs.
template <class I>
class SinkBase : public com::ComClass<I> {
public:
    com::HRESULT GetTypeInfoCount(std::uint32_t* count) override {
        *count = 0;
        return com::S_OK;
    }
    com::HRESULT GetTypeInfo(std::uint32_t, com::LCID, com::ITypeInfo**) override { return com::E_NOTIMPL; }
    com::HRESULT GetIDsOfNames(const com::IID&, com::OLECHAR**, std::uint32_t, com::LCID,
                               com::DISPID*) override {
        return com::E_NOTIMPL;
    }
};

// Records every event as one line ("Disconnected 30005 Invalid ..."); hooks
// let a test act inside an event.
class RecordingNotify final : public SinkBase<IqelPopClientNotify> {
public:
    std::vector<std::string> events;
    bool recordProgress = false;
    std::function<void(const std::string& event)> onEvent = [](const std::string&) {};

    com::HRESULT Invoke(com::DISPID, const com::IID&, com::LCID, std::uint16_t, com::DISPPARAMS*,
                        com::VARIANT*, com::EXCEPINFO*, std::uint32_t*) override {
        return com::E_NOTIMPL;
    }
    com::HRESULT StateChange(IqelPop3Com*, StatesEnum old) override {
        return Record("StateChange " + std::to_string(old));
    }
    com::HRESULT Connected(IqelPop3Com*) override { return Record("Connected"); }
    com::HRESULT Disconnected(IqelPop3Com*, std::int32_t code, com::BSTR text) override {
        return Record("Disconnected " + std::to_string(code) + " " + Narrow(com::BstrView(text)));
    }
    com::HRESULT Done(IqelPop3Com*, std::int32_t code, com::BSTR text, com::VARIANT_BOOL headers) override {
        return Record("Done " + std::to_string(code) + " " + Narrow(com::BstrView(text)) + " " +
                      std::to_string(headers));
    }
    com::HRESULT Received(IqelPop3Com*, IPop3Msg* message, com::VARIANT_BOOL headers) override {
        std::int16_t index = -1;
        message->get_Index(&index);
        return Record("Received " + std::to_string(index) + " " + std::to_string(headers));
    }
    com::HRESULT Progress(IqelPop3Com*, std::int32_t position, std::int32_t total) override {
        const std::string e = "Progress " + std::to_string(position) + " " + std::to_string(total);
        if (recordProgress) events.push_back(e);
        onEvent(e);
        return com::S_OK;
    }
    // Runs inside HostCertificate after it is recorded; may answer Accept.
    std::function<void(ICertificate* cert, com::VARIANT_BOOL* accept)> onHostCertificate =
        [](ICertificate*, com::VARIANT_BOOL*) {};
    com::ComPtr<ICertificate> lastCertificate;
    com::HRESULT HostCertificate(IqelPop3Com*, ICertificate* cert, std::int32_t code, com::BSTR text,
                                 com::VARIANT_BOOL* accept) override {
        lastCertificate = cert;
        Record("HostCertificate " + std::to_string(code) + " '" + Narrow(com::BstrView(text)) + "' " +
               (cert != nullptr ? "cert" : "none"));
        onHostCertificate(cert, accept);
        return com::S_OK;
    }
    int Count(std::string_view prefix) const {
        int n = 0;
        for (const auto& e : events) n += e.starts_with(prefix) ? 1 : 0;
        return n;
    }

private:
    com::HRESULT Record(std::string e) {
        events.push_back(e);
        onEvent(e);
        return com::S_OK;
    }
};

struct Client {
    com::ComPtr<CqelPop3Com> pop3 = com::MakeComObject<CqelPop3Com>();
    com::ComPtr<RecordingNotify> notify = com::MakeComObject<RecordingNotify>();

    Client() { pop3->putref_Notification(notify.Get()); }

    void Settings(std::uint16_t port, bool blocking, std::string_view login = "user",
                  std::string_view password = "secret", std::string_view host = "127.0.0.1") {
        pop3->put_Hostname(Wide(host).Get());
        pop3->put_Port(port);
        pop3->put_Login(Wide(login).Get());
        pop3->put_Password(Wide(password).Get());
        pop3->put_Blocking(com::ToVariantBool(blocking));
    }
    StatesEnum State() const {
        StatesEnum s{};
        pop3->get_State(&s);
        return s;
    }
    std::int32_t LastError() const {
        std::int32_t e = 0;
        pop3->get_LastError(&e);
        return e;
    }
    std::string LastErrorText() const {
        com::Bstr t;
        pop3->get_LastErrorText(t.ReleaseAndGetAddressOf());
        return Narrow(t.View());
    }
    com::ComPtr<IPop3Msgs> Messages() const {
        com::ComPtr<IPop3Msgs> m;
        pop3->get_Messages(m.ReleaseAndGetAddressOf());
        return m;
    }
    std::int16_t Count() const {
        std::int16_t n = -1;
        Messages()->get_Count(&n);
        return n;
    }
    com::ComPtr<IPop3Msg> Message(std::int16_t index) const {
        com::ComPtr<IPop3Msg> m;
        Messages()->get_Item(index, m.ReleaseAndGetAddressOf());
        return m;
    }
    // MarkDelete of every message, "+" marked, "-" not: "+-+".
    std::string Marks() const {
        std::string marks;
        for (std::int16_t i = 0; i < Count(); ++i) {
            com::VARIANT_BOOL mark = com::VARIANT_FALSE;
            Message(i)->get_MarkDelete(&mark);
            marks += mark != com::VARIANT_FALSE ? '+' : '-';
        }
        return marks;
    }
};

// The description of the thread's error information, as a client reads it
// right after a failed call; "" when there is none.
inline std::string ErrorDescription() {
    com::ComPtr<com::IErrorInfo> info;
    if (com::GetErrorInfo(0, info.ReleaseAndGetAddressOf()) != com::S_OK || !info) return {};
    com::Bstr description;
    info->GetDescription(description.ReleaseAndGetAddressOf());
    return Narrow(description.View());
}

inline std::string Body(IPop3Msg* message) {
    com::Bstr body;
    message->get_Body(body.ReleaseAndGetAddressOf());
    return Narrow(body.View());
}

// Pumps the loop until `done` holds; false when the time ran out.
inline bool PumpUntil(const std::function<bool()>& done,
                      std::chrono::seconds limit = std::chrono::seconds(30)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    // Keeps the pump from sleeping forever when nothing else is pending.
    const auto wake = platform::loop::StartTimer(std::chrono::milliseconds(50), [] {});
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        platform::loop::Pump();
    }
    return true;
}

}  // namespace harness
