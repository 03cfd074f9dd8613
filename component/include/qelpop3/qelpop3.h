#pragma once
// qelPop3: the POP3 client component's binary interface.
//
// Linking and activation. An install (cmake --install, component qelpop3)
// holds <libdir>/veltrane/libqelpop3.so and libplatform_com.so, this header
// and the platform/com headers it includes, and <libdir>/pkgconfig/
// qelpop3.pc: `pkg-config --cflags --libs qelpop3` compiles and links a
// client against libplatform_com.so, and `pkg-config --variable=
// qelpop3_library qelpop3` names the component library. Activation is
// registration-free: the client maps the class to that file once,
//     com::RegisterServerLibrary(CLSID_qelPop3Com,
//         {qelpop3::kProgId, qelpop3::kVersionIndependentProgId}, path);
// then creates it by ProgID ("Brindlex.qelPop3Com") or CLSID with
// com::CreateInstanceFromProgID / com::CoCreateInstance (platform/com/
// activation.h). CLSID_Certificate, CLSID_Pop3Decoder, CLSID_Pop3Msg and
// CLSID_Pop3Rec are served by the same file and registered the same way.
// Everything runs on the creating thread; objects are not thread-safe.
//
// Blocking and the message loop. Blocking is False by default: a call
// starts its work and returns S_OK at once, and the work and its events go
// on only while the thread runs GLib's default main context. A client
// without a GLib-based loop (Qt on Linux is one) pumps it itself, e.g.
//     while (!done) g_main_context_iteration(nullptr, TRUE);
// (link glib-2.0). With Blocking True each call pumps that context until
// its work is over, so events arrive during the call, and returns the
// outcome.
//
// Events come either to IqelPopClientNotify, when one is set as
// Notification, or else to the connection-point sinks of
// _IqelPop3ComEvents (see their argument lists there), never to both.
//
// Errors. The component's numbered errors (qelPop3ErrorsEnum, and the
// socket codes 10004 to 11001) come back as HRESULT 0x800A0000 + code
// (com::CtlError), with the English text as error information and in
// LastError / LastErrorText; a blocking call whose connection drops or
// times out returns the socket code (10054, 10060 ...). Plain HRESULTs mean: E_POINTER a null
// out-pointer; E_INVALIDARG an Item index or name outside the collection,
// or a Date that cannot be read; E_FAIL a blocking call whose session the
// client ended meanwhile (Disconnect or release inside an event or a
// timer), a
// message whose component is gone, or Save of a message whose bytes are
// missing or were never retrieved; E_OUTOFMEMORY.
//
// Collections (Messages, Parts, Attachments, Headers, ReceivedList) count
// in 16 bits and their Item is 0-based: Item(0) to Item(Count - 1). A
// mailbox of more than 32 767 messages shows its first 32 767 (the server's
// messages 1 to 32 767); the rest cannot be reached in that session.
#include <cstdint>

#include "platform/com/dispatch.h"
#include "platform/com/guid.h"
#include "platform/com/ole_date.h"
#include "platform/com/variant.h"

namespace qelpop3 {
inline constexpr const char16_t* kProgId = u"Brindlex.qelPop3Com.1";
inline constexpr const char16_t* kVersionIndependentProgId = u"Brindlex.qelPop3Com";
inline constexpr const char16_t* kCertificateProgId = u"Brindlex.Certificate";
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
    AuthAny = 0,  // APOP, then USER/PASS
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

enum AttachmentEncodingsEnum : std::int32_t {
    encUNKNOWN = 0,
    encBASE64 = 1,
    encBINHEX4 = 2,
    encUUENCODE = 3,
    encQUOTEDPRINTABLE = 4,
    enc7BIT = 5,
};

enum PrioritiesEnum : std::int32_t {
    NormalPriority = 0,
    HighPriority = 1,
    LowPriority = 2,
};

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

enum CertificateDispIds : std::int32_t {
    DISPID_Certificate_Data = 0,
    DISPID_Certificate_PrivateKey = 1,
    DISPID_Certificate_HasPrivateKey = 2,
    DISPID_Certificate_Handle = 3,
    DISPID_Certificate_Subject = 4,
    DISPID_Certificate_Issuer = 5,
    DISPID_Certificate_ValidFrom = 6,
    DISPID_Certificate_ValidTo = 7,
    DISPID_Certificate_SerialNumber = 8,
    DISPID_Certificate_Load = 9,
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

// ---- Identifiers ----------------------------------------------------------

inline constexpr com::GUID LIBID_QELPOP3COMLib = com::GuidLiteral("{B00ABF7C-06A1-4C92-AC0E-6FA99EBEBB35}");
inline constexpr com::CLSID CLSID_qelPop3Com = com::GuidLiteral("{F9A3D257-CE5C-4B2A-85A8-A352429442CF}");
inline constexpr com::CLSID CLSID_Certificate = com::GuidLiteral("{5B0E7A3C-91D2-4E6F-8C1A-2F4D6B8E0A13}");
inline constexpr com::IID DIID__IqelPop3ComEvents =
    com::GuidLiteral("{80DB6B32-D326-4586-AB27-81AA0B7E6564}");

// ---- Interfaces -----------------------------------------------------------
struct IPop3Msg;

enum : com::DISPID {
    DISPID_Pop3Rec_FromHost = 0,
    DISPID_Pop3Rec_FromIP = 1,
    DISPID_Pop3Rec_ToHost = 2,
    DISPID_Pop3Rec_ToIP = 3,
    DISPID_Pop3Rec_Date = 4,
    DISPID_Pop3Rec_Protocol = 5,
    DISPID_Pop3Rec_ToEmail = 6,
    DISPID_Pop3Rec_FullLine = 7,
    DISPID_Pop3Recs_Item = 0,
    DISPID_Pop3Recs_Count = 1,
    DISPID_Pop3Recs_NewEnum = -4,
    DISPID_Pop3Hdr_ToString = 0,
    DISPID_Pop3Hdr_Name = 1,
    DISPID_Pop3Hdr_Value = 2,
    DISPID_Pop3Hdrs_Item = 0,
    DISPID_Pop3Hdrs_Count = 1,
    DISPID_Pop3Hdrs_ToString = 2,
    DISPID_Pop3Hdrs_NewEnum = -4,
    DISPID_Pop3Attachment_Name = 0,
    DISPID_Pop3Attachment_Type = 1,
    DISPID_Pop3Attachment_Encoding = 2,
    DISPID_Pop3Attachment_Save = 3,
    DISPID_Pop3Attachment_Part = 4,
    DISPID_Pop3Attachment_Size = 5,
    DISPID_Pop3Attachments_Item = 0,
    DISPID_Pop3Attachments_Count = 1,
    DISPID_Pop3Attachments_NewEnum = -4,
    DISPID_Pop3Decoder_Base64 = 1,
    DISPID_Pop3Decoder_Uudecode = 2,
    DISPID_Pop3Decoder_QuotedPrintable = 3,
    DISPID_Pop3Decoder_BinHex4 = 4,
};

// One header line of a message: name and value as written.
struct IPop3Hdr : com::IDispatch {
    using base_interface = com::IDispatch;
    static constexpr com::IID iid = com::GuidLiteral("{5B0C7E21-9A4F-4D63-8E1B-2F6A3C9D4E71}");
    virtual com::HRESULT ToString(com::BSTR* value) = 0;
    virtual com::HRESULT get_Name(com::BSTR* value) = 0;
    virtual com::HRESULT put_Name(com::BSTR value) = 0;
    virtual com::HRESULT get_Value(com::BSTR* value) = 0;
    virtual com::HRESULT put_Value(com::BSTR value) = 0;

protected:
    ~IPop3Hdr() = default;
};

// The header lines of a message, in order.
struct IPop3Hdrs : com::IDispatch {
    using base_interface = com::IDispatch;
    static constexpr com::IID iid = com::GuidLiteral("{A6E2F3D4-1C7B-4B89-9D0E-7F5A2B8C6D13}");
    virtual com::HRESULT get_Item(com::VARIANT Index, IPop3Hdr** value) = 0;
    virtual com::HRESULT get_Count(std::int16_t* value) = 0;
    virtual com::HRESULT ToString(com::BSTR* value) = 0;
    virtual com::HRESULT get__NewEnum(com::IUnknown** enumerator) = 0;

protected:
    ~IPop3Hdrs() = default;
};

// Decodes whole files. A missing or unreadable input fails with 30012, an
// output that cannot be written with 30016.
struct IPop3Decoder : com::IDispatch {
    using base_interface = com::IDispatch;
    static constexpr com::IID iid = com::GuidLiteral("{D84A3F19-2B6E-4C70-9E15-8A3C6F1B2D49}");
    virtual com::HRESULT Base64(com::BSTR InFile, com::BSTR OutFile) = 0;
    virtual com::HRESULT Uudecode(com::BSTR InFile, com::BSTR OutFile) = 0;
    virtual com::HRESULT QuotedPrintable(com::BSTR InFile, com::BSTR OutFile) = 0;
    virtual com::HRESULT BinHex4(com::BSTR InFile, com::BSTR OutFile) = 0;

protected:
    ~IPop3Decoder() = default;
};
inline constexpr com::CLSID CLSID_Pop3Decoder = com::GuidLiteral("{6A0E5C2B-91D7-4F38-B4A6-3C8E2F7D1B95}");

// One "Received" header of a message, taken apart.
struct IPop3Rec : com::IDispatch {
    using base_interface = com::IDispatch;
    static constexpr com::IID iid = com::GuidLiteral("{9F2B6D41-3E8A-4C17-B6D2-5A1E9C7F0B34}");
    virtual com::HRESULT get_FromHost(com::BSTR* value) = 0;
    virtual com::HRESULT get_FromIP(com::BSTR* value) = 0;
    virtual com::HRESULT get_ToHost(com::BSTR* value) = 0;
    virtual com::HRESULT get_ToIP(com::BSTR* value) = 0;
    virtual com::HRESULT get_Date(com::DATE* value) = 0;
    virtual com::HRESULT get_Protocol(com::BSTR* value) = 0;
    virtual com::HRESULT get_ToEmail(com::BSTR* value) = 0;
    virtual com::HRESULT get_FullLine(com::BSTR* value) = 0;
    virtual com::HRESULT put_FullLine(com::BSTR value) = 0;

protected:
    ~IPop3Rec() = default;
};
// A client parses any trace line with a record of its own: put FullLine.
inline constexpr com::CLSID CLSID_Pop3Rec = com::GuidLiteral("{2C7F4A91-5D3B-4E86-A1C9-7B0D3E6F5A28}");

// The "Received" records of a message, in header order.
struct IPop3Recs : com::IDispatch {
    using base_interface = com::IDispatch;
    static constexpr com::IID iid = com::GuidLiteral("{2C5E8A73-6B1D-4F94-8E3A-D7B04C6A1F28}");
    virtual com::HRESULT get_Item(std::int16_t Index, IPop3Rec** value) = 0;
    virtual com::HRESULT get_Count(std::int16_t* value) = 0;
    virtual com::HRESULT get__NewEnum(com::IUnknown** enumerator) = 0;

protected:
    ~IPop3Recs() = default;
};

// One attachment of a message. Type is the media type of its Content-Type
// (before the first ";", as written); a message inside a multipart/digest
// that declares none is "message/rfc822", its default there.
struct IPop3Attachment : com::IDispatch {
    using base_interface = com::IDispatch;
    static constexpr com::IID iid = com::GuidLiteral("{3E8D1A6B-7F24-4C5E-A1B9-0D6C4F2E8A57}");
    virtual com::HRESULT get_Name(com::BSTR* value) = 0;
    virtual com::HRESULT put_Name(com::BSTR value) = 0;
    virtual com::HRESULT get_Type(com::BSTR* value) = 0;
    virtual com::HRESULT get_Encoding(AttachmentEncodingsEnum* value) = 0;
    virtual com::HRESULT Save(com::VARIANT Filename) = 0;
    virtual com::HRESULT get_Part(IPop3Msg** value) = 0;
    virtual com::HRESULT get_Size(std::int32_t* value) = 0;

protected:
    ~IPop3Attachment() = default;
};

// The attachments of a message, in detection order.
struct IPop3Attachments : com::IDispatch {
    using base_interface = com::IDispatch;
    static constexpr com::IID iid = com::GuidLiteral("{C71F4B2E-8D3A-4E6F-B5C1-9A2E7D4F3B86}");
    virtual com::HRESULT get_Item(std::int16_t Index, IPop3Attachment** value) = 0;
    virtual com::HRESULT get_Count(std::int16_t* value) = 0;
    virtual com::HRESULT get__NewEnum(com::IUnknown** enumerator) = 0;

protected:
    ~IPop3Attachments() = default;
};

// The messages of the mailbox (and the MIME parts of a message).
struct IPop3Msgs : com::IDispatch {
    using base_interface = com::IDispatch;
    static constexpr com::IID iid = com::GuidLiteral("{86D8DFBB-47EB-4F12-A87B-52D14EF674E9}");
    virtual com::HRESULT get_Count(std::int16_t* count) = 0;
    virtual com::HRESULT get_Item(std::int16_t index, IPop3Msg** message) = 0;
    virtual com::HRESULT GetAll() = 0;
    virtual com::HRESULT GetAllHeaders() = 0;
    virtual com::HRESULT GetAllLines(std::int16_t MaxLines) = 0;
    virtual com::HRESULT get__NewEnum(com::IUnknown** enumerator) = 0;

protected:
    ~IPop3Msgs() = default;
};

// One message of the mailbox, or one MIME part of a message.
// Body is the whole message as received, headers included; Text is only its
// body (the preamble of a multipart), with no transfer or charset decoding.
// Both map each byte to one character of the 8-bit page (Windows-1252, its
// five open bytes to the same code points), so the bytes come back exactly
// by the reverse mapping. Save writes the message's bytes to a file
// unchanged; Filename names the message's own file (asked for while the
// message arrives, it names the file being written). PlainText and HTMLText
// are the decoded texts, converted from the charset the part declares.
// Get, GetHeaders and GetLines fetch the message (RETR, TOP); Index is
// 0-based like Item. A download that does not reach its end (the session
// ended inside it) leaves no bytes, whatever the size: Body is "", Save
// fails with E_FAIL and writes nothing, a temporary file is removed and a
// file the client named is emptied. A message file must be a regular file:
// Get into a FIFO or a device fails at once with 30007; one named as the
// source reads as missing (DecodedText 30012, Save E_FAIL), as does a
// decoder's input (30012).
struct IPop3Msg : com::IDispatch {
    using base_interface = com::IDispatch;
    static constexpr com::IID iid = com::GuidLiteral("{4D3CD2C0-C8E2-4D69-B2F7-49AEAB330250}");
    virtual com::HRESULT get_Filename(com::BSTR* value) = 0;
    virtual com::HRESULT put_Filename(com::BSTR value) = 0;
    virtual com::HRESULT get_Body(com::BSTR* value) = 0;
    virtual com::HRESULT get_Index(std::int16_t* value) = 0;
    virtual com::HRESULT get_Tag(com::VARIANT* value) = 0;
    virtual com::HRESULT put_Tag(com::VARIANT value) = 0;
    virtual com::HRESULT get_Size(std::int32_t* value) = 0;
    virtual com::HRESULT get_Uid(com::BSTR* value) = 0;
    virtual com::HRESULT Get() = 0;
    virtual com::HRESULT GetHeaders() = 0;
    virtual com::HRESULT get_MarkDelete(com::VARIANT_BOOL* value) = 0;
    virtual com::HRESULT put_MarkDelete(com::VARIANT_BOOL value) = 0;
    virtual com::HRESULT get_MarkGet(com::VARIANT_BOOL* value) = 0;
    virtual com::HRESULT put_MarkGet(com::VARIANT_BOOL value) = 0;
    virtual com::HRESULT get_Headers(IPop3Hdrs** value) = 0;
    virtual com::HRESULT get_From(com::BSTR* value) = 0;
    virtual com::HRESULT get_FromEmail(com::BSTR* value) = 0;
    virtual com::HRESULT get_FromName(com::BSTR* value) = 0;
    virtual com::HRESULT get_To(com::BSTR* value) = 0;
    virtual com::HRESULT get_ToEmail(com::BSTR* value) = 0;
    virtual com::HRESULT get_ToName(com::BSTR* value) = 0;
    virtual com::HRESULT get_CC(com::BSTR* value) = 0;
    virtual com::HRESULT get_BCC(com::BSTR* value) = 0;
    virtual com::HRESULT get_Subject(com::BSTR* value) = 0;
    virtual com::HRESULT get_Date(com::DATE* value) = 0;
    virtual com::HRESULT get_Attachments(IPop3Attachments** value) = 0;
    virtual com::HRESULT get_ContentDescription(com::BSTR* value) = 0;
    virtual com::HRESULT get_ContentDisposition(com::BSTR* value) = 0;
    virtual com::HRESULT get_ContentID(com::BSTR* value) = 0;
    virtual com::HRESULT get_ContentTransferEncoding(com::BSTR* value) = 0;
    virtual com::HRESULT get_ContentType(com::BSTR* value) = 0;
    virtual com::HRESULT get_HTMLText(com::BSTR* value) = 0;
    virtual com::HRESULT get_PlainText(com::BSTR* value) = 0;
    virtual com::HRESULT get_MessageID(com::BSTR* value) = 0;
    virtual com::HRESULT get_Parts(IPop3Msgs** value) = 0;
    virtual com::HRESULT get_Text(com::BSTR* value) = 0;
    virtual com::HRESULT Save(com::BSTR Filename) = 0;
    virtual com::HRESULT GetLines(std::int16_t MaxLines) = 0;
    virtual com::HRESULT get_ReplyTo(com::BSTR* value) = 0;
    virtual com::HRESULT VerifySignature(com::VARIANT SignerCert) = 0;
    virtual com::HRESULT Decrypt(com::VARIANT Cert) = 0;
    virtual com::HRESULT get_DecodedText(com::VARIANT EncodingType, com::BSTR* value) = 0;
    virtual com::HRESULT DeliveryFailed(com::BSTR* value) = 0;
    virtual com::HRESULT DeliveryDelayed(com::BSTR* value) = 0;
    virtual com::HRESULT get_ContentTypeOnly(com::BSTR* value) = 0;
    virtual com::HRESULT get_ContentName(com::BSTR* value) = 0;
    virtual com::HRESULT get_ContentCharset(com::BSTR* value) = 0;
    virtual com::HRESULT get_ContentBoundary(com::BSTR* value) = 0;
    virtual com::HRESULT get_ReceivedList(IPop3Recs** value) = 0;
    virtual com::HRESULT get_Priority(PrioritiesEnum* value) = 0;

protected:
    ~IPop3Msg() = default;
};
// A client reads a message file of its own with a message of its own: put
// Filename.
inline constexpr com::CLSID CLSID_Pop3Msg = com::GuidLiteral("{ED61246E-2929-4AFE-A891-F0934FA97C84}");

// A server or client certificate (CLSID_Certificate, "Brindlex.Certificate").
// Data is the certificate as PEM text (its DER bytes base64-encoded);
// PrivateKey is the key as unencrypted PEM and fails (E_FAIL) when there is
// none. Handle is a process-wide number naming the certificate (and its key):
// putting another object's Handle makes this object present that
// certificate; 0 is none. The dates are UTC.
struct ICertificate : com::IDispatch {
    using base_interface = com::IDispatch;
    static constexpr com::IID iid = com::GuidLiteral("{3E1F2B7D-5C44-4F0B-9D3A-6B8E0C2A71D4}");
    virtual com::HRESULT get_Data(com::BSTR* value) = 0;
    virtual com::HRESULT get_PrivateKey(com::BSTR* value) = 0;
    virtual com::HRESULT get_HasPrivateKey(com::VARIANT_BOOL* value) = 0;
    virtual com::HRESULT get_Handle(std::int32_t* value) = 0;
    virtual com::HRESULT put_Handle(std::int32_t value) = 0;
    virtual com::HRESULT get_Subject(com::BSTR* value) = 0;
    virtual com::HRESULT get_Issuer(com::BSTR* value) = 0;
    virtual com::HRESULT get_ValidFrom(com::DATE* value) = 0;
    virtual com::HRESULT get_ValidTo(com::DATE* value) = 0;
    virtual com::HRESULT get_SerialNumber(com::BSTR* value) = 0;
    // Loads a PEM certificate and, when PrivateKey is not empty, its PEM
    // key (unencrypted, or encrypted with PassPhrase); the key must match.
    virtual com::HRESULT Load(com::BSTR Certificate, com::BSTR PrivateKey, com::BSTR PassPhrase) = 0;

protected:
    ~ICertificate() = default;
};

struct IqelPop3Com;

// The fast event route: set as Notification, it receives every event and
// the connection point none. Booleans are -1 or 0; results are ignored.
// Every method gets the component as Owner first; the connection-point
// events (_IqelPop3ComEvents) have no Owner argument.
// HostCertificate: *Accept is VARIANT_TRUE when the event is raised, so a
// client that ignores the event trusts every certificate; ErrorCode is 0
// for a certificate that passed the check (the system's trust store, which
// SSL_CERT_FILE and SSL_CERT_DIR may name, and the host name), else 50000 +
// the first verification error, and ErrorText that error in OpenSSL's
// words ("certificate has expired"; empty for 0); set *Accept to
// VARIANT_FALSE to refuse (the session then ends with 10053 before any
// login command is sent).
struct IqelPopClientNotify : com::IDispatch {
    using base_interface = com::IDispatch;
    static constexpr com::IID iid = com::GuidLiteral("{48DA51B7-6DEA-49F9-B3E2-A45655C34F75}");
    virtual com::HRESULT StateChange(IqelPop3Com* Owner, StatesEnum OldState) = 0;
    virtual com::HRESULT Connected(IqelPop3Com* Owner) = 0;
    virtual com::HRESULT Disconnected(IqelPop3Com* Owner, std::int32_t ErrorCode, com::BSTR ErrorText) = 0;
    virtual com::HRESULT Done(IqelPop3Com* Owner, std::int32_t ErrorCode, com::BSTR ErrorText,
                              com::VARIANT_BOOL HeadersOnly) = 0;
    virtual com::HRESULT Received(IqelPop3Com* Owner, IPop3Msg* Message, com::VARIANT_BOOL HeadersOnly) = 0;
    virtual com::HRESULT Progress(IqelPop3Com* Owner, std::int32_t Position, std::int32_t Total) = 0;
    virtual com::HRESULT HostCertificate(IqelPop3Com* Owner, ICertificate* Cert, std::int32_t ErrorCode,
                                         com::BSTR ErrorText, com::VARIANT_BOOL* Accept) = 0;

protected:
    ~IqelPopClientNotify() = default;
};

// The events as a dispatch interface, for connection-point sinks (advise
// through IConnectionPointContainer::FindConnectionPoint with this IID): each
// event is a method call through Invoke with the DISPID of
// qelPop3EventDispIds. Unlike IqelPopClientNotify there is no Owner
// argument. DISPPARAMS holds the arguments last one first, so rgvarg[cArgs - 1]
// is the first of these lists (cArgs as shown):
//   1 StateChange     (OldState VT_I4)                                   cArgs 1
//   2 Connected       ()                                                 cArgs 0
//   3 Disconnected    (ErrorCode VT_I4, ErrorText VT_BSTR)               cArgs 2
//   4 Done            (ErrorCode VT_I4, ErrorText VT_BSTR,
//                      HeadersOnly VT_I2 -1/0)                           cArgs 3
//   5 Received        (Message VT_DISPATCH (IPop3Msg), HeadersOnly VT_I2) cArgs 2
//   6 Progress        (Position VT_I4, Total VT_I4)                      cArgs 2
//   7 HostCertificate (Cert VT_DISPATCH (ICertificate), ErrorCode VT_I4,
//                      ErrorText VT_BSTR, Accept VT_BOOL|VT_BYREF)       cArgs 4
// Accept points at VARIANT_TRUE when the event is raised (see
// IqelPopClientNotify). A sink answers this IID.
struct _IqelPop3ComEvents : com::IDispatch {
    using base_interface = com::IDispatch;
    static constexpr com::IID iid = DIID__IqelPop3ComEvents;

protected:
    ~_IqelPop3ComEvents() = default;
};

// The component object's interface. Defaults: Blocking False, Timeout 120
// (seconds without a complete line before the session ends with 10060; 0 or
// less never), Port 110, Security SecurityNone, Authentication
// AuthUserPass. Setting Security sets Port to its usual value (995 for
// SecurityImplicit, else 110): set Port after Security.
// Connect logs in, then asks STAT, LIST and UIDL. A STAT reply without a
// message count, or a LIST (UIDL) reply that runs 1000 lines past the
// count before it (STAT's, LIST's) or past a million lines, ends the session
// with 30006 and an "Invalid reply: ..." text: a listing that never ends
// would otherwise keep it alive, each line restarting the Timeout.
// Disconnect of an idle session (Connected) sends DELE for every message
// marked for deletion, one at a time, then QUIT, and waits (running the
// loop) for QUIT's reply: at most 2 s when no deletion waits on it, else up
// to Timeout seconds (without end when Timeout is 0 or less; a Disconnect or
// release from an event or a timer ends the wait). The server deletes
// nothing unless it answers QUIT with +OK: only then is MarkDelete cleared,
// on the messages whose DELE it accepted. A refused DELE ends the chain
// (Disconnected 30011 "Failed: " + the server's text); that message and the
// marked ones after it keep MarkDelete True. QUIT answered otherwise, or
// the connection ending or the time running out before its answer, leaves
// every message marked and ends the session with Disconnected 30011 and
// LastError 30011 ("Failed: " + the server's text, "Invalid reply: " + its
// line, or what became of QUIT). Either way Disconnect returns S_OK, QUIT
// having gone out, so after it MarkDelete reads True on exactly the marked
// messages the server did not delete; it returns the socket error when the
// connection dropped before QUIT. Any other time (connecting, TLS, login,
// listing, downloading, deleting) Disconnect ends the session at once
// without QUIT, so the server commits no deletion and every mark stays; it
// may be called from an event handler or a timer while a blocking call
// waits, and that call then returns E_FAIL.
struct IqelPop3Com : com::IDispatch {
    using base_interface = com::IDispatch;
    static constexpr com::IID iid = com::GuidLiteral("{9D245536-7451-4372-B13D-B1376A94B712}");
    virtual com::HRESULT get_Hostname(com::BSTR* value) = 0;
    virtual com::HRESULT put_Hostname(com::BSTR value) = 0;
    virtual com::HRESULT get_Port(std::int32_t* value) = 0;
    virtual com::HRESULT put_Port(std::int32_t value) = 0;
    virtual com::HRESULT get_Login(com::BSTR* value) = 0;
    virtual com::HRESULT put_Login(com::BSTR value) = 0;
    virtual com::HRESULT get_Password(com::BSTR* value) = 0;
    virtual com::HRESULT put_Password(com::BSTR value) = 0;
    virtual com::HRESULT Connect() = 0;
    virtual com::HRESULT Disconnect() = 0;
    virtual com::HRESULT get_State(StatesEnum* value) = 0;
    virtual com::HRESULT get_StateText(com::VARIANT StateNum, com::BSTR* value) = 0;
    virtual com::HRESULT get_Messages(IPop3Msgs** value) = 0;
    virtual com::HRESULT get_LastError(std::int32_t* value) = 0;
    virtual com::HRESULT get_LastErrorText(com::BSTR* value) = 0;
    virtual com::HRESULT get_Blocking(com::VARIANT_BOOL* value) = 0;
    virtual com::HRESULT put_Blocking(com::VARIANT_BOOL value) = 0;
    virtual com::HRESULT get_Timeout(std::int16_t* value) = 0;
    virtual com::HRESULT put_Timeout(std::int16_t value) = 0;
    virtual com::HRESULT get_DebugFile(com::BSTR* value) = 0;
    virtual com::HRESULT put_DebugFile(com::BSTR value) = 0;
    virtual com::HRESULT get_MyHostname(com::BSTR* value) = 0;
    virtual com::HRESULT put_MyHostname(com::BSTR value) = 0;
    virtual com::HRESULT get_MyIP(com::BSTR* value) = 0;
    virtual com::HRESULT put_MyIP(com::BSTR value) = 0;
    virtual com::HRESULT get_Tag(com::VARIANT* value) = 0;
    virtual com::HRESULT put_Tag(com::VARIANT value) = 0;
    virtual com::HRESULT Reset() = 0;
    virtual com::HRESULT get_Version(com::BSTR* value) = 0;
    virtual com::HRESULT put_Version(com::BSTR value) = 0;
    virtual com::HRESULT get_Notification(IqelPopClientNotify** value) = 0;
    virtual com::HRESULT putref_Notification(IqelPopClientNotify* value) = 0;
    virtual com::HRESULT get_Authentication(Pop3Authentications* value) = 0;
    virtual com::HRESULT put_Authentication(Pop3Authentications value) = 0;
    virtual com::HRESULT get_Certificate(com::IDispatch** value) = 0;
    virtual com::HRESULT putref_Certificate(com::IDispatch* value) = 0;
    virtual com::HRESULT get_Security(Pop3SecurityEnum* value) = 0;
    virtual com::HRESULT put_Security(Pop3SecurityEnum value) = 0;
    virtual com::HRESULT get_Language(LanguageEnum* value) = 0;
    virtual com::HRESULT put_Language(LanguageEnum value) = 0;
    virtual com::HRESULT SendCommand(com::BSTR Command) = 0;

protected:
    ~IqelPop3Com() = default;
};
