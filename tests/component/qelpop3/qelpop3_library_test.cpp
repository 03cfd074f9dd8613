// libqelpop3.so through activation: creation by ProgID and CLSID, events
// to connection-point sinks with their exact argument types, late binding.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include <string>
#include <vector>

#include "platform/com/activation.h"
#include "platform/com/connection_point_container.h"
#include "platform/com/dispatch_args.h"
#include "platform/com/error_info.h"
#include "platform/loop/message_loop.h"
#include "qelpop3/qelpop3.h"
#include "tests/component/fake_pop3/fake_pop3_server.h"

using namespace fakepop3;

namespace {

// A connection-point sink that writes each call down with the types of its
// arguments, in the order they arrive (last argument first).
class EventSink final : public com::ComClass<_IqelPop3ComEvents> {
public:
    std::vector<std::string> calls;

    com::HRESULT GetTypeInfoCount(std::uint32_t* count) override {
        *count = 0;
        return com::S_OK;
    }
    com::HRESULT GetTypeInfo(std::uint32_t, com::LCID, com::ITypeInfo**) override { return com::E_NOTIMPL; }
    com::HRESULT GetIDsOfNames(const com::IID&, com::OLECHAR**, std::uint32_t, com::LCID,
                               com::DISPID*) override {
        return com::E_NOTIMPL;
    }
    com::HRESULT Invoke(com::DISPID dispid, const com::IID&, com::LCID, std::uint16_t flags,
                        com::DISPPARAMS* params, com::VARIANT*, com::EXCEPINFO*, std::uint32_t*) override {
        std::string call = std::to_string(dispid) + (flags == com::DISPATCH_METHOD ? "" : "?");
        for (std::uint32_t i = 0; i < params->cArgs; ++i) {
            const com::VARIANT& v = params->rgvarg[i];
            call += " " + std::to_string(v.vt) + ":";
            switch (v.vt) {
                case com::VT_I4:
                    call += std::to_string(v.lVal);
                    break;
                case com::VT_I2:
                    call += std::to_string(v.iVal);
                    break;
                case com::VT_BSTR:
                    call += std::to_string(com::SysStringLen(v.bstrVal));
                    break;
                default:
                    break;
            }
        }
        calls.push_back(call);
        return com::S_OK;
    }
};

class Library : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(
            com::RegisterServerLibrary(
                CLSID_qelPop3Com, {qelpop3::kProgId, qelpop3::kVersionIndependentProgId}, QELPOP3_LIBRARY),
            com::S_OK);
    }
    void TearDown() override { com::RevokeClass(CLSID_qelPop3Com); }

    static com::ComPtr<IqelPop3Com> Create() {
        com::ComPtr<IqelPop3Com> pop3;
        EXPECT_EQ(com::CreateInstanceFromProgID(u"Brindlex.qelPop3Com", IqelPop3Com::iid,
                                                pop3.ReleaseAndGetVoidAddress()),
                  com::S_OK);
        return pop3;
    }
    static void Settings(IqelPop3Com* pop3, std::uint16_t port) {
        pop3->put_Hostname(com::Bstr(u"127.0.0.1").Get());
        pop3->put_Port(port);
        pop3->put_Login(com::Bstr(u"user").Get());
        pop3->put_Password(com::Bstr(u"secret").Get());
        pop3->put_Blocking(com::VARIANT_TRUE);
    }
    static std::uint32_t Advise(IqelPop3Com* pop3, com::IUnknown* sink) {
        com::ComPtr<com::IConnectionPointContainer> container;
        EXPECT_EQ(
            pop3->QueryInterface(com::IConnectionPointContainer::iid, container.ReleaseAndGetVoidAddress()),
            com::S_OK);
        com::ComPtr<com::IConnectionPoint> point;
        EXPECT_EQ(container->FindConnectionPoint(DIID__IqelPop3ComEvents, point.ReleaseAndGetAddressOf()),
                  com::S_OK);
        std::uint32_t cookie = 0;
        EXPECT_EQ(point->Advise(sink, &cookie), com::S_OK);
        return cookie;
    }
};

TEST_F(Library, CreatesByEitherProgIdAndByClass) {
    com::ComPtr<IqelPop3Com> a;
    com::ComPtr<IqelPop3Com> b;
    EXPECT_EQ(com::CreateInstanceFromProgID(u"Brindlex.qelPop3Com.1", IqelPop3Com::iid,
                                            a.ReleaseAndGetVoidAddress()),
              com::S_OK);
    EXPECT_EQ(
        com::CoCreateInstance(CLSID_qelPop3Com, nullptr, IqelPop3Com::iid, b.ReleaseAndGetVoidAddress()),
        com::S_OK);
    ASSERT_TRUE(a && b);
    EXPECT_NE(a.Get(), b.Get());
    com::ComPtr<com::ISupportErrorInfo> support;
    EXPECT_EQ(a->QueryInterface(com::ISupportErrorInfo::iid, support.ReleaseAndGetVoidAddress()), com::S_OK);
}

TEST_F(Library, CertificateObjectsComeFromTheSameLibrary) {
    ASSERT_EQ(com::RegisterServerLibrary(CLSID_Certificate, {qelpop3::kCertificateProgId}, QELPOP3_LIBRARY),
              com::S_OK);
    com::ComPtr<ICertificate> cert;
    EXPECT_EQ(
        com::CoCreateInstance(CLSID_Certificate, nullptr, ICertificate::iid, cert.ReleaseAndGetVoidAddress()),
        com::S_OK);
    ASSERT_TRUE(cert);
    // Empty until loaded: no key, no subject, and a client certificate the
    // component takes.
    com::VARIANT_BOOL hasKey = com::VARIANT_TRUE;
    EXPECT_EQ(cert->get_HasPrivateKey(&hasKey), com::S_OK);
    EXPECT_EQ(hasKey, com::VARIANT_FALSE);
    com::Bstr subject;
    EXPECT_EQ(cert->get_Subject(subject.ReleaseAndGetAddressOf()), com::CtlError(30025));
    const auto pop3 = Create();
    EXPECT_EQ(pop3->putref_Certificate(cert.Get()), com::S_OK);
    com::RevokeClass(CLSID_Certificate);
}

TEST(LibraryDecoder, TheDecoderClassIsCreatedFromTheLibrary) {
    ASSERT_EQ(com::RegisterServerLibrary(CLSID_Pop3Decoder, {}, QELPOP3_LIBRARY), com::S_OK);
    com::ComPtr<IPop3Decoder> decoder;
    EXPECT_EQ(com::CoCreateInstance(CLSID_Pop3Decoder, nullptr, IPop3Decoder::iid,
                                    decoder.ReleaseAndGetVoidAddress()),
              com::S_OK);
    ASSERT_TRUE(decoder);
    com::Bstr none;
    EXPECT_EQ(decoder->Base64(none.Get(), none.Get()), com::CtlError(errCannotOpenMessage));
    com::RevokeClass(CLSID_Pop3Decoder);
}

TEST(LibraryStandalone, AClientReadsItsOwnFileAndTraceLinesWithObjectsOfItsOwn) {
    ASSERT_EQ(com::RegisterServerLibrary(CLSID_Pop3Msg, {}, QELPOP3_LIBRARY), com::S_OK);
    ASSERT_EQ(com::RegisterServerLibrary(CLSID_Pop3Rec, {}, QELPOP3_LIBRARY), com::S_OK);
    const std::string path = std::string(std::getenv("TMPDIR")) + "/own.eml";
    std::ofstream(path, std::ios::binary) << "From: Ann <ann@example.org>\r\nSubject: mine\r\n\r\nbody\r\n";

    com::ComPtr<IPop3Msg> msg;
    ASSERT_EQ(com::CoCreateInstance(CLSID_Pop3Msg, nullptr, IPop3Msg::iid, msg.ReleaseAndGetVoidAddress()),
              com::S_OK);
    ASSERT_EQ(msg->put_Filename(com::Bstr(std::u16string(path.begin(), path.end())).Get()), com::S_OK);
    com::Bstr text;
    ASSERT_EQ(msg->get_Subject(text.ReleaseAndGetAddressOf()), com::S_OK);
    EXPECT_EQ(text.View(), u"mine");
    ASSERT_EQ(msg->get_FromEmail(text.ReleaseAndGetAddressOf()), com::S_OK);
    EXPECT_EQ(text.View(), u"ann@example.org");

    com::ComPtr<IPop3Rec> rec;
    ASSERT_EQ(com::CoCreateInstance(CLSID_Pop3Rec, nullptr, IPop3Rec::iid, rec.ReleaseAndGetVoidAddress()),
              com::S_OK);
    ASSERT_EQ(rec->put_FullLine(com::Bstr(u"from a.example by b.example with SMTP").Get()), com::S_OK);
    ASSERT_EQ(rec->get_FromHost(text.ReleaseAndGetAddressOf()), com::S_OK);
    EXPECT_EQ(text.View(), u"a.example");
    ASSERT_EQ(rec->get_Protocol(text.ReleaseAndGetAddressOf()), com::S_OK);
    EXPECT_EQ(text.View(), u"SMTP");
    com::RevokeClass(CLSID_Pop3Msg);
    com::RevokeClass(CLSID_Pop3Rec);
}

TEST_F(Library, SinksHearEveryEventWithTheDocumentedArgumentTypes) {
    FakePop3Server server({[] {
        Script s = LoginAndList({"Subject: a\r\n\r\nx\r\n"});
        AppendRetr(s, "Subject: a\r\n\r\nx\r\n");
        s.push_back(Receive());
        s.push_back(Send("-ERR gone\r\n"));
        return s;
    }()});
    auto pop3 = Create();
    Settings(pop3.Get(), server.port());
    auto sink = com::MakeComObject<EventSink>();
    auto second = com::MakeComObject<EventSink>();
    Advise(pop3.Get(), sink->GetUnknown());
    Advise(pop3.Get(), second->GetUnknown());
    ASSERT_EQ(pop3->Connect(), com::S_OK);
    com::ComPtr<IPop3Msgs> messages;
    pop3->get_Messages(messages.ReleaseAndGetAddressOf());
    ASSERT_EQ(messages->GetAll(), com::S_OK);
    com::ComPtr<IPop3Msg> message;
    messages->get_Item(0, message.ReleaseAndGetAddressOf());
    EXPECT_EQ(message->Get(), com::CtlError(30006));
    EXPECT_EQ(pop3->Disconnect(), com::S_OK);
    // VT_I4 = 3, VT_I2 = 2, VT_BSTR = 8 (its length shown), VT_DISPATCH = 9.
    const std::vector<std::string> expected = {
        "1 3:0",       "1 3:1",       "1 3:2",
        "2",                                                 // states 0->1->2->4, Connected
        "1 3:4",       "6 3:17 3:0",                         // ->5, Progress(0, 17) last first
        "6 3:17 3:12", "6 3:17 3:14", "6 3:17 3:17",         // a line each
        "5 2:0 9:",    "1 3:5",       "4 2:0 8:0 3:0",       // Received, ->4, Done(0, "", False)
        "1 3:4",       "1 3:5",       "4 2:0 8:26 3:30006",  // RETR refused: Done(30006, text, False)
        "1 3:4",       "3 8:0 3:0"};                         // ->0, Disconnected(0, "")
    EXPECT_EQ(sink->calls, expected);
    EXPECT_EQ(second->calls, expected);
}

TEST_F(Library, NotificationTakesEveryEventFromTheSinks) {
    class Notify final : public com::ComClass<IqelPopClientNotify> {
    public:
        int events = 0;
        com::HRESULT GetTypeInfoCount(std::uint32_t*) override { return com::E_NOTIMPL; }
        com::HRESULT GetTypeInfo(std::uint32_t, com::LCID, com::ITypeInfo**) override {
            return com::E_NOTIMPL;
        }
        com::HRESULT GetIDsOfNames(const com::IID&, com::OLECHAR**, std::uint32_t, com::LCID,
                                   com::DISPID*) override {
            return com::E_NOTIMPL;
        }
        com::HRESULT Invoke(com::DISPID, const com::IID&, com::LCID, std::uint16_t, com::DISPPARAMS*,
                            com::VARIANT*, com::EXCEPINFO*, std::uint32_t*) override {
            return com::E_NOTIMPL;
        }
        com::HRESULT StateChange(IqelPop3Com*, StatesEnum) override { return Count(); }
        com::HRESULT Connected(IqelPop3Com*) override { return Count(); }
        com::HRESULT Disconnected(IqelPop3Com*, std::int32_t, com::BSTR) override { return Count(); }
        com::HRESULT Done(IqelPop3Com*, std::int32_t, com::BSTR, com::VARIANT_BOOL) override {
            return Count();
        }
        com::HRESULT Received(IqelPop3Com*, IPop3Msg*, com::VARIANT_BOOL) override { return Count(); }
        com::HRESULT Progress(IqelPop3Com*, std::int32_t, std::int32_t) override { return Count(); }
        com::HRESULT HostCertificate(IqelPop3Com*, ICertificate*, std::int32_t, com::BSTR,
                                     com::VARIANT_BOOL*) override {
            return Count();
        }

    private:
        com::HRESULT Count() {
            ++events;
            return com::S_OK;
        }
    };
    FakePop3Server server({LoginAndList({})});
    auto pop3 = Create();
    Settings(pop3.Get(), server.port());
    auto sink = com::MakeComObject<EventSink>();
    Advise(pop3.Get(), sink->GetUnknown());
    auto notify = com::MakeComObject<Notify>();
    pop3->putref_Notification(notify.Get());
    ASSERT_EQ(pop3->Connect(), com::S_OK);
    EXPECT_EQ(pop3->Disconnect(), com::S_OK);
    EXPECT_EQ(notify->events, 6);  // three state changes, Connected, one more, Disconnected
    EXPECT_TRUE(sink->calls.empty());
}

TEST_F(Library, MembersAreReachableByNameThroughIDispatch) {
    auto pop3 = Create();
    com::DISPID dispid = 0;
    ASSERT_EQ(com::GetDispatchId(pop3.Get(), u"timeout", &dispid), com::S_OK);
    EXPECT_EQ(dispid, DISPID_qelPop3Com_Timeout);
    com::DispatchArgs put{com::Variant(std::int16_t{30})};
    EXPECT_EQ(com::InvokePropertyPut(pop3.Get(), dispid, put), com::S_OK);
    std::int16_t timeout = 0;
    pop3->get_Timeout(&timeout);
    EXPECT_EQ(timeout, 30);
    // A failing member comes back as an exception carrying the table text.
    com::DispatchArgs none;
    com::EXCEPINFO exception;
    EXPECT_EQ(com::InvokeMethod(pop3.Get(), DISPID_qelPop3Com_Connect, none, nullptr, &exception),
              com::DISP_E_EXCEPTION);
    EXPECT_EQ(exception.scode, com::CtlError(30003));
    EXPECT_EQ(com::BstrView(exception.bstrDescription), u"Please set Hostname property.");
    com::ClearExcepInfo(&exception);
    com::DispatchArgs state{com::Variant(std::int32_t{8})};
    com::Variant text;
    EXPECT_EQ(com::InvokePropertyGet(pop3.Get(), DISPID_qelPop3Com_StateText, state, &text), com::S_OK);
    EXPECT_EQ(text.TextView(), u"Established SSL encryption.");
}

}  // namespace

namespace {

// A sink that stops the download from its first Progress: it disconnects
// and lets go of the last reference to the component, as the program's
// stop button does.
class StoppingSink final : public com::ComClass<_IqelPop3ComEvents> {
public:
    com::ComPtr<IqelPop3Com>* owner = nullptr;
    std::vector<com::DISPID> calls;
    com::HRESULT GetTypeInfoCount(std::uint32_t* count) override {
        *count = 0;
        return com::S_OK;
    }
    com::HRESULT GetTypeInfo(std::uint32_t, com::LCID, com::ITypeInfo**) override { return com::E_NOTIMPL; }
    com::HRESULT GetIDsOfNames(const com::IID&, com::OLECHAR**, std::uint32_t, com::LCID,
                               com::DISPID*) override {
        return com::E_NOTIMPL;
    }
    com::HRESULT Invoke(com::DISPID dispid, const com::IID&, com::LCID, std::uint16_t, com::DISPPARAMS*,
                        com::VARIANT*, com::EXCEPINFO*, std::uint32_t*) override {
        calls.push_back(dispid);
        if (dispid == DISPID_Event_Progress && *owner) {
            (*owner)->Disconnect();
            *owner = nullptr;
        }
        return com::S_OK;
    }
};

TEST_F(Library, UserStopThroughASinkEndsTheBlockingGetAllWithEFail) {
    FakePop3Server server({[] {
        Script s = LoginAndList({"Subject: a\r\n\r\nx\r\n", "Subject: b\r\n\r\ny\r\n"});
        AppendRetr(s, "Subject: a\r\n\r\nx\r\n");
        AppendRetr(s, "Subject: b\r\n\r\ny\r\n");
        return s;
    }()});
    auto pop3 = Create();
    Settings(pop3.Get(), server.port());
    auto sink = com::MakeComObject<StoppingSink>();
    sink->owner = &pop3;
    Advise(pop3.Get(), sink->GetUnknown());
    ASSERT_EQ(pop3->Connect(), com::S_OK);
    com::ComPtr<IPop3Msgs> messages;
    pop3->get_Messages(messages.ReleaseAndGetAddressOf());
    sink->calls.clear();
    EXPECT_EQ(messages->GetAll(), com::E_FAIL);
    EXPECT_FALSE(pop3);
    // ->5, Progress, then Disconnect's ->0 and Disconnected; nothing after.
    EXPECT_EQ(sink->calls, (std::vector<com::DISPID>{DISPID_Event_StateChange, DISPID_Event_Progress,
                                                     DISPID_Event_StateChange, DISPID_Event_Disconnected}));
    EXPECT_EQ(messages->GetAll(), com::E_FAIL);
}

}  // namespace
