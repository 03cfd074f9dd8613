#pragma once
// qelPop3: the POP3 client component's binary interface. A client creates
// the component by class ("Brindlex.qelPop3Com" or CLSID_qelPop3Com) through
// the COM-style activation of platform/com, calls it through IqelPop3Com and
// receives its events through IqelPopClientNotify (set as Notification) or
// through connection-point sinks of _IqelPop3ComEvents (never both).
// Failures come back as HRESULT 0x800A0000 + the error code below, with the
// error text as error information and in LastError/LastErrorText.
#include <cstdint>

#include "platform/com/com.h"

namespace qelpop3 {
inline constexpr const char16_t* kProgId = u"Brindlex.qelPop3Com.1";
inline constexpr const char16_t* kVersionIndependentProgId = u"Brindlex.qelPop3Com";
inline constexpr const char* kVersion = "1.4.1.113";
}  // namespace qelpop3

// ---- Enumerations -------------------------------------------------------

enum StatesEnum : std::int32_t {
    Disconnected = 0,
    Connecting = 1,
    LogonInProgress = 2,
    ReadingMessageList = 3,
    Connected = 4,
    ReceivingMessage = 5,
    DeletingMessage = 6,
    NegotiatingSSL = 7,
    EstablishedSSL = 8,
};

enum Pop3Authentications : std::int32_t {
    AuthAny = 0,       // APOP, then USER/PASS
    AuthUserPass = 1,
    AuthAPOP = 2,
};

enum Pop3SecurityEnum : std::int32_t {
    SecurityNone = 0,
    SecurityAllowed = 1,   // STLS when offered
    SecurityRequired = 2,  // STLS or fail
    SecurityImplicit = 3,  // TLS from the first byte
};

enum LanguageEnum : std::int32_t {
    lngEnglish = 0,
    lngGerman = 1031,
    lngCroatian = 1050,
};

// Completed by the message model.
enum AttachmentEncodingsEnum : std::int32_t;
enum PrioritiesEnum : std::int32_t;

// Error codes (besides the socket codes 10004 to 11001, which keep their
// Windows Sockets numbers, and 50000 + a certificate verification error,
// which only HostCertificate reports).
enum qelPop3ErrorsEnum : std::int32_t {
    errNoError = 0,
    errTypeMismatch = 13,
    errInvalidPropertyValue = 380,
    errOutOfMemory = 8,
    errTimeout = 10060,
    errHostNotFound = 11001,
    errCannotConnectNow = 30001,
    errNoLoginOrPassword = 30002,
    errNoHostname = 30003,
    errInvalidGreeting = 30004,
    errInvalidLogin = 30005,
    errCommandFailed = 30006,
    errCannotCreateFile = 30007,
    errNotConnected = 30008,
    errBusy = 30009,
    errInvalidMessage = 30010,
    errDeleteFailed = 30011,
    errCannotOpenMessage = 30012,
    errCannotParseHeaders = 30013,
    errCannotParseBody = 30014,
    errHeadersOnly = 30015,
    errCannotAccessDestination = 30016,
    errNoDestination = 30017,
    errUnknownEncoder = 30018,
    errMarkWhileConnected = 30019,
    errNotACertificate = 30020,
    errNoSsl = 30021,
    errNoApop = 30022,
    errNotSigned = 30023,
    errNoCertificate = 30025,
    errPrivateKeyImport = 30026,
    errCertificateImport = 30027,
    errInvalidSignature = 30028,
    errNoSignature = 30029,
    errNoSignedPart = 30030,
    errCannotAccessSignature = 30031,
    errNotEncrypted = 30032,
    errCannotAccessEncryptedPart = 30033,
    errDecryptFailed = 30034,
    errNoDate = 30035,
    errSslHandshake = 60000,
};

// ---- DISPIDs ------------------------------------------------------------

enum qelPop3ComDispIds : std::int32_t {
    DISPID_qelPop3Com_Messages = 0,
    DISPID_qelPop3Com_Blocking = 1,
    DISPID_qelPop3Com_Connect = 2,
    DISPID_qelPop3Com_Disconnect = 3,
    DISPID_qelPop3Com_Hostname = 4,
    DISPID_qelPop3Com_Login = 5,
    DISPID_qelPop3Com_MyHostname = 6,
    DISPID_qelPop3Com_Password = 7,
    DISPID_qelPop3Com_Port = 8,
    DISPID_qelPop3Com_State = 9,
    DISPID_qelPop3Com_StateText = 10,
    DISPID_qelPop3Com_Timeout = 11,
    DISPID_qelPop3Com_Version = 12,
    DISPID_qelPop3Com_LastError = 14,
    DISPID_qelPop3Com_LastErrorText = 15,
    DISPID_qelPop3Com_DebugFile = 16,
    DISPID_qelPop3Com_Reset = 17,
    DISPID_qelPop3Com_MyIP = 18,
    DISPID_qelPop3Com_Tag = 19,
    DISPID_qelPop3Com_Authentication = 20,
    DISPID_qelPop3Com_Certificate = 21,
    DISPID_qelPop3Com_Security = 22,
    DISPID_qelPop3Com_Language = 23,
    DISPID_qelPop3Com_SendCommand = 24,
    DISPID_qelPop3Com_Notification = 98,
};

// The seven events: the same DISPIDs on IqelPopClientNotify and on the
// dispatch interface _IqelPop3ComEvents.
enum qelPop3EventDispIds : std::int32_t {
    DISPID_Event_StateChange = 1,
    DISPID_Event_Connected = 2,
    DISPID_Event_Disconnected = 3,
    DISPID_Event_Done = 4,
    DISPID_Event_Received = 5,
    DISPID_Event_Progress = 6,
    DISPID_Event_HostCertificate = 7,
};

enum Pop3MsgsDispIds : std::int32_t {
    DISPID_Pop3Msgs_Item = 0,
    DISPID_Pop3Msgs_Count = 1,
    DISPID_Pop3Msgs_GetAll = 2,
    DISPID_Pop3Msgs_GetAllHeaders = 3,
    DISPID_Pop3Msgs_GetAllLines = 4,
    DISPID_Pop3Msgs_NewEnum = -4,
};

enum Pop3MsgDispIds : std::int32_t {
    DISPID_Pop3Msg_Body = 0,
    DISPID_Pop3Msg_Filename = 1,
    DISPID_Pop3Msg_Index = 2,
    DISPID_Pop3Msg_Tag = 3,
    DISPID_Pop3Msg_Size = 4,
    DISPID_Pop3Msg_Uid = 5,
    DISPID_Pop3Msg_Get = 7,
    DISPID_Pop3Msg_GetHeaders = 8,
    DISPID_Pop3Msg_MarkDelete = 9,
    DISPID_Pop3Msg_MarkGet = 10,
    DISPID_Pop3Msg_Headers = 11,
    DISPID_Pop3Msg_From = 12,
    DISPID_Pop3Msg_FromEmail = 13,
    DISPID_Pop3Msg_FromName = 14,
    DISPID_Pop3Msg_To = 15,
    DISPID_Pop3Msg_ToEmail = 16,
    DISPID_Pop3Msg_ToName = 17,
    DISPID_Pop3Msg_CC = 18,
    DISPID_Pop3Msg_BCC = 19,
    DISPID_Pop3Msg_Subject = 20,
    DISPID_Pop3Msg_Date = 21,
    DISPID_Pop3Msg_Attachments = 22,
    DISPID_Pop3Msg_ContentDescription = 23,
    DISPID_Pop3Msg_ContentDisposition = 24,
    DISPID_Pop3Msg_ContentID = 25,
    DISPID_Pop3Msg_ContentTransferEncoding = 28,
    DISPID_Pop3Msg_ContentType = 29,
    DISPID_Pop3Msg_HTMLText = 30,
    DISPID_Pop3Msg_PlainText = 31,
    DISPID_Pop3Msg_MessageID = 32,
    DISPID_Pop3Msg_Parts = 33,
    DISPID_Pop3Msg_Text = 34,
    DISPID_Pop3Msg_Save = 35,
    DISPID_Pop3Msg_GetLines = 36,
    DISPID_Pop3Msg_ReplyTo = 37,
    DISPID_Pop3Msg_VerifySignature = 38,
    DISPID_Pop3Msg_Decrypt = 39,
    DISPID_Pop3Msg_DecodedText = 40,
    DISPID_Pop3Msg_DeliveryFailed = 41,
    DISPID_Pop3Msg_DeliveryDelayed = 42,
    DISPID_Pop3Msg_ContentTypeOnly = 43,
    DISPID_Pop3Msg_ContentName = 44,
    DISPID_Pop3Msg_ContentCharset = 45,
    DISPID_Pop3Msg_ContentBoundary = 46,
    DISPID_Pop3Msg_ReceivedList = 47,
    DISPID_Pop3Msg_Priority = 48,
};
