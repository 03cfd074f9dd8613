#pragma once
// CqelPop3Com: the component object a client creates to read a POP3 mailbox.
// It holds the connection settings, the Messages collection and the session
// (one line socket per connection), reports failures as numbered errors and
// tells the client what happens through its events.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "component/protocol/pop3_msg.h"
#include "component/protocol/pop3_msgs.h"
#include "component/transport/command_line_socket.h"
#include "component/transport/openssl_types.h"
#include "platform/com/bstr.h"
#include "platform/com/com_class.h"
#include "platform/com/connection_point_container.h"
#include "platform/com/dispatch_table.h"
#include "platform/com/error_info.h"
#include "qelpop3/qelpop3.h"

namespace component::protocol {

using com::BSTR;
using com::E_FAIL;
using com::HRESULT;
using com::S_OK;

class CqelPop3Com final : public com::ComClass<com::DispatchImpl<IqelPop3Com>, com::ISupportErrorInfo,
                                               com::ConnectionPointContainerImpl>,
                          private transport::CommandLineSocketOwner {
public:
    CqelPop3Com();
    HRESULT FinalConstruct() override;

    // ISupportErrorInfo
    HRESULT InterfaceSupportsErrorInfo(const com::IID& iid) override;

    // IqelPop3Com
    HRESULT get_Hostname(BSTR* value) override;
    HRESULT put_Hostname(BSTR value) override;
    HRESULT get_Port(std::int32_t* value) override;
    HRESULT put_Port(std::int32_t value) override;
    HRESULT get_Login(BSTR* value) override;
    HRESULT put_Login(BSTR value) override;
    HRESULT get_Password(BSTR* value) override;
    HRESULT put_Password(BSTR value) override;
    HRESULT Connect() override;
    HRESULT Disconnect() override;
    HRESULT get_State(StatesEnum* value) override;
    HRESULT get_StateText(com::VARIANT StateNum, BSTR* value) override;
    HRESULT get_Messages(IPop3Msgs** value) override;
    HRESULT get_LastError(std::int32_t* value) override;
    HRESULT get_LastErrorText(BSTR* value) override;
    HRESULT get_Blocking(com::VARIANT_BOOL* value) override;
    HRESULT put_Blocking(com::VARIANT_BOOL value) override;
    HRESULT get_Timeout(std::int16_t* value) override;
    HRESULT put_Timeout(std::int16_t value) override;
    HRESULT get_DebugFile(BSTR* value) override;
    HRESULT put_DebugFile(BSTR value) override;
    HRESULT get_MyHostname(BSTR* value) override;
    HRESULT put_MyHostname(BSTR value) override;
    HRESULT get_MyIP(BSTR* value) override;
    HRESULT put_MyIP(BSTR value) override;
    HRESULT get_Tag(com::VARIANT* value) override;
    HRESULT put_Tag(com::VARIANT value) override;
    HRESULT Reset() override;
    HRESULT get_Version(BSTR* value) override;
    HRESULT put_Version(BSTR value) override;
    HRESULT get_Notification(IqelPopClientNotify** value) override;
    HRESULT putref_Notification(IqelPopClientNotify* value) override;
    HRESULT get_Authentication(Pop3Authentications* value) override;
    HRESULT put_Authentication(Pop3Authentications value) override;
    HRESULT get_Certificate(com::IDispatch** value) override;
    HRESULT putref_Certificate(com::IDispatch* value) override;
    HRESULT get_Security(Pop3SecurityEnum* value) override;
    HRESULT put_Security(Pop3SecurityEnum value) override;
    HRESULT get_Language(LanguageEnum* value) override;
    HRESULT put_Language(LanguageEnum value) override;
    HRESULT SendCommand(BSTR Command) override;

    // The session operations the message objects call.
    HRESULT FetchMessage(std::int16_t index, bool headersOnly, std::int16_t lines);
    // GetAll, GetAllHeaders, GetAllLines: a new download chain.
    HRESULT StartChain(bool headersOnly, std::int16_t lines);
    StatesEnum CurrentState() const { return state; }

    // Sets LastError and LastErrorText from the table and the thread's
    // error information; returns 0x800A0000 + code.
    HRESULT ReportError(std::int32_t code);
    // The error information with a text of the caller's.
    HRESULT SetErrorInfoText(std::int32_t code, const std::u16string& text);

protected:
    void FinalRelease() override;
    const com::DispatchTable<IqelPop3Com>& GetDispatchTable() const override;

private:
    using MsgRef = com::ComPtr<CPop3Msg>;
    // What a blocking call waits for: the session reached one of these.
    enum class SessionFlag : unsigned {
        RequestDone = 0x01,
        ConnectFailed = 0x04,
        LoggedIn = 0x10,
        Closed = 0x20,
        // QUIT went out: the server commits the deletions it accepted.
        QuitSent = 0x40,
    };
    // The flag word: set one flag at a time, cleared as a whole before a
    // blocking call waits.
    class SessionFlags {
    public:
        void Set(SessionFlag flag) { bits |= static_cast<unsigned>(flag); }
        void Clear() { bits = 0; }
        bool Has(SessionFlag flag) const { return (bits & static_cast<unsigned>(flag)) != 0; }
        bool Any() const { return bits != 0; }

    private:
        unsigned bits = 0;
    };
    // The login sequence, named after the reply each step waits for.
    enum class LoginStep {
        Greeting,
        StlsReply,
        Login,
        UserReply,
        PassReply,
        StatReply,
        ListLines,
        UidlLines,
        LoggedIn
    };
    // Where the lines of a download go: the message (whole messages), its
    // memory data (headers), nowhere (a reply whose message cannot be kept).
    enum class MessageFile { None, Whole, Memory, Discard };
    static constexpr int kIdleTimerId = 1;

    // CommandLineSocketOwner
    void OnConnected(std::int32_t code) override;
    bool OnReplyLine(std::string_view line) override;
    void OnClosed(std::int32_t code) override;
    void OnTimerTick(int timerId) override;
    void OnSendReady() override;
    void OnLineTooLong() override;
    bool OnHostCertificate(const std::vector<unsigned char>& der, std::int32_t verifyCode) override;
    const std::string& TraceFile() const override;

    bool IsZombie() const { return !IsAlive(); }
    // Stores the state and raises StateChange when it changed; false when
    // the object lost its last outside reference in that event.
    bool SetState(StatesEnum newState);
    // SetState, true only when the session that asked still runs after it:
    // a StateChange handler may end the session or release the object.
    bool EnterState(StatesEnum newState) {
        const std::uint32_t gen = generation;
        return SetState(newState) && gen == generation;
    }
    void FailSession(std::int32_t code);
    HRESULT FailBlockingCall(bool toDisconnected);
    void EndSession();
    // Ends the session, goes to Disconnected and raises Disconnected; false
    // when a client handler replaced the session or released the object.
    bool EndAndReportDisconnected(std::int32_t code, const std::u16string& text);
    // The one place the login step changes.
    void SetLoginStep(LoginStep next) { loginStep = next; }
    // Runs the loop until the request settles (a session flag is set or an
    // error recorded) or `busy` turns false; false when the object was
    // finally released meanwhile.
    template <class Busy>
    bool WaitWhile(Busy busy) {
        while (!sessionFlags.Any() && lastError == 0 && busy()) {
            WaitForEvents();
            if (IsZombie()) return false;
        }
        return !IsZombie();
    }
    void ReplaceMessages();
    // Queues a command and its line end; false when it cannot go out (no
    // session, no memory), and then the session does not move on.
    bool SendLine(std::string_view command);
    void RunLoginStep(std::string_view line);
    void SendLogin();
    // Loads the client certificate, then starts the handshake; false when
    // the session ended on the way.
    bool BeginTls(bool implicit);
    HRESULT LoadClientCertificate();
    void OnStatReply(std::string_view line);
    // Counts a line of the LIST or UIDL reply; false (the session failed)
    // when the reply runs past its bound.
    bool TakeListingLine();
    void OnListLine(std::string_view line);
    void OnUidlLine(std::string_view line);
    void OnDeleReply(std::string_view line);
    HRESULT DeleteMarkedAndQuit(bool fromReply);
    // Sends QUIT when the session is idle and closes; false when deletions
    // the server accepted were not committed (LastError 30011 says why).
    bool QuitAndClose();
    // QUIT's reply commits the accepted deletions (their marks cleared) or
    // fails them; false for a failure.
    bool CommitDeletions(const transport::CCommandLineSocket::FinalReply& reply);
    void WaitForEvents();
    HRESULT FetchNext(std::int16_t lines, bool fromReply);
    bool SendFetch(std::uint32_t index, std::int16_t lines);
    bool OnMessageData(std::string_view line);
    bool OpenMessage();
    // The session ended inside a download: the message's bytes are missing.
    void AbortMessage();
    // Ends the request with 30007: the message file could not hold it.
    bool FailMessageFile(std::uint32_t gen);

    // Events: each answers whether the object is still referenced.
    bool RaiseStateChange(StatesEnum oldState);
    bool RaiseConnected();
    bool RaiseDisconnected(std::int32_t code, const std::u16string& text);
    bool RaiseDone(std::int32_t code, const std::u16string& text, bool headers);
    bool RaiseReceived(CPop3Msg* message, bool headers);
    bool RaiseProgress(std::int32_t position, std::int32_t total);
    bool RaiseHostCertificate(ICertificate* cert, std::int32_t code, const std::u16string& text,
                              bool& accept);
    // The raise rule: the object holds a reference to itself while the
    // event is delivered, to the notification sink when one is set, else to
    // the connection point's sinks (arguments built only then).
    template <class NotifyCall, class MakeArgs>
    bool Raise(com::DISPID dispid, NotifyCall&& notify, MakeArgs&& makeArgs);

    // Properties.
    std::u16string hostname;
    std::u16string login;
    std::u16string password;
    std::u16string debugFile;
    std::string debugFile8;
    std::u16string lastErrorText;
    std::int32_t port = 110;
    std::int32_t lastError = 0;
    std::int16_t timeout = 120;
    bool blocking = false;
    StatesEnum state = Disconnected;
    com::ComPtr<CPop3Msgs> messages;
    Pop3Authentications authentication = AuthUserPass;
    Pop3SecurityEnum security = SecurityNone;
    com::ComPtr<com::IDispatch> certificate;
    com::ComPtr<IqelPopClientNotify> notification;
    com::Variant tag;
    std::u16string myHostname;
    std::u16string myIP;
    bool myIPKnown = false;  // looked up, or set by the client

    // The client certificate and its key, loaded from `certificate` for
    // each handshake.
    openssl::X509Ptr clientCertificate;
    openssl::PkeyPtr clientKey;

    // Session.
    std::unique_ptr<transport::CCommandLineSocket> socket;
    std::string sessionLogin;
    std::string sessionPassword;
    LoginStep loginStep = LoginStep::Greeting;
    std::string apopTimestamp;
    bool apopAllowed = true;
    bool userPassAllowed = true;
    std::uint32_t listIndex = 0;
    // Lines of the LIST or UIDL reply so far, and how many it may hold: the
    // count that STAT (for LIST) or LIST (for UIDL) gave, with a margin.
    std::uint32_t listingLines = 0;
    std::uint64_t listingLimit = 0;
    std::int16_t idleSeconds = 0;
    SessionFlags sessionFlags;
    std::uint32_t fetchIndex = 0;
    std::uint32_t getAllCursor = 0;
    // The message whose DELE awaits its reply, and the messages whose DELE
    // the server accepted, which QUIT commits.
    std::uint32_t deleteIndex = 0;
    std::vector<std::uint32_t> acceptedDeletions;
    bool headersOnly = false;
    std::int16_t chainLines = 0;
    std::int32_t bytesReceived = 0;
    std::int32_t expectedSize = 0;
    MessageFile messageFile = MessageFile::None;
    MsgRef currentMessage;
    // Moves on whenever a session ends: a frame that raised an event
    // compares it to learn whether its session is still the one running.
    std::uint32_t generation = 0;
};

}  // namespace component::protocol
