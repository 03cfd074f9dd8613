#include "component/protocol/pop3_msg.h"
#include "component/protocol/exception_barrier.h"
#include "component/protocol/out_params.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "component/mime/mapped_file.h"
#include "component/protocol/pop3_msgs.h"
#include "component/protocol/qel_pop3_com.h"
#include "component/transport/error_table.h"
#include "platform/text/code_page.h"
#include "platform/text/header_block.h"

namespace component::protocol {

using transport::LookupErrorText;

using com::E_POINTER;
using com::HRESULT;
using com::S_OK;

namespace {

std::string TempFolder() {
    const char* dir = std::getenv("TMPDIR");
    return dir != nullptr && *dir != '\0' ? dir : "/tmp";
}

// Opens a message file for writing, created when missing and emptied. The
// file must be read back as the message, so one that is not a regular file
// (a FIFO, a device) is refused at once instead of waited on.
int OpenRegularForWriting(const std::string& path) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0) return -1;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

HRESULT CPop3Msg::InterfaceSupportsErrorInfo(const com::IID& iid) {
    return iid == IPop3Msg::iid ? S_OK : com::S_FALSE;
}

HRESULT CPop3Msg::ReportError(std::int32_t code) {
    com::SetErrorInfoText(IPop3Msg::iid, u"Pop3Msg", text::FromAnsi(LookupErrorText(code)));
    return com::CtlError(static_cast<std::uint16_t>(code));
}

void CPop3Msg::DropCaches() {
    content.reset();
    parts = nullptr;
    headers = nullptr;
    attachments = nullptr;
    receivedList = nullptr;
    headerLength = 0;
    headersOk = true;
}

void CPop3Msg::FinalRelease() {
    DropCaches();
    spool.Abort();
    bodyHeld = false;
    if (ownsFile && !filename8.empty()) unlink(filename8.c_str());
    ownsFile = false;
    Tag.Clear();
}

// ---- What the session uses -------------------------------------------------

void CPop3Msg::SetUid(std::string_view uid8) { Uid = text::FromAnsi(uid8); }

void CPop3Msg::PrepareDownload(bool headersOnly) {
    headersOnlyFlag = headersOnly;
    bytesMissing = false;
    DropCaches();
    if (headersOnly) memoryData.Reset();
}

void CPop3Msg::SetFilename(std::u16string name) {
    if (name == Filename) return;
    DropCaches();
    // A message held in memory stands for a temporary file: it goes too.
    if (bodyHeld) spool.Release();
    bodyHeld = false;
    if (ownsFile && !filename8.empty()) unlink(filename8.c_str());
    ownsFile = false;
    Filename = std::move(name);
    filename8 = text::ToAnsi(Filename);
}

int CPop3Msg::OpenTempFile() {
    std::string pattern = TempFolder() + "/POP3XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd < 0) return -1;
    SetFilename(text::FromAnsi(pattern));
    ownsFile = true;
    return fd;
}

HRESULT CPop3Msg::CreateTempFile() {
    const int fd = OpenTempFile();
    if (fd < 0) return ReportError(errCannotCreateFile);
    close(fd);
    return S_OK;
}

HRESULT CPop3Msg::WriteFile(std::string_view content) {
    if (Filename.empty()) {
        const HRESULT hr = CreateTempFile();
        if (com::FAILED(hr)) return hr;
    }
    DropCaches();
    bodyHeld = false;
    bytesMissing = false;
    spool.Release();
    const int fd = OpenRegularForWriting(filename8);
    if (fd < 0) return ReportError(errCannotCreateFile);
    const bool written = WriteAll(fd, content);
    if (close(fd) != 0 || !written) return ReportError(errCannotCreateFile);
    return S_OK;
}

bool CPop3Msg::BeginDownload(std::int32_t expectedSize) {
    DropCaches();
    bodyHeld = false;
    downloading = false;
    if (Filename.empty() && expectedSize >= 0 &&
        static_cast<std::size_t>(expectedSize) <= MessageSpool::kMemoryLimit &&
        MessageSpool::BudgetAllows(static_cast<std::size_t>(expectedSize))) {
        spool.StartInMemory(static_cast<std::size_t>(expectedSize));
        downloading = true;
        return true;
    }
    const int fd = Filename.empty() ? OpenTempFile() : OpenRegularForWriting(filename8);
    if (fd < 0) return false;
    spool.StartInFile(fd);
    downloading = true;
    return true;
}

bool CPop3Msg::AppendDownload(std::string_view line) {
    if (!spool.AppendLine(line)) return false;
    return !spool.WantsFile() || MoveDownloadToFile();
}

bool CPop3Msg::MoveDownloadToFile() {
    const int fd = OpenTempFile();
    return fd >= 0 && spool.MoveToFile(fd);
}

std::int64_t CPop3Msg::FinishDownload() {
    downloading = false;
    const bool inMemory = spool.InMemory();
    const std::int64_t length = spool.Finish();
    bodyHeld = inMemory;
    return length;
}

bool CPop3Msg::EnsureFile() {
    // The rest of the message goes to the file after what arrived so far.
    if (downloading && spool.InMemory()) return MoveDownloadToFile();
    if (!bodyHeld) return true;
    std::string pattern = TempFolder() + "/POP3XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd < 0) return false;
    const bool written = WriteAll(fd, spool.Held());
    if (close(fd) != 0 || !written) {
        unlink(pattern.c_str());
        return false;
    }
    // The bytes stay the same, so what was read from them stays valid.
    Filename = text::FromAnsi(pattern);
    filename8 = std::move(pattern);
    ownsFile = true;
    bodyHeld = false;
    spool.Release();
    return true;
}

void CPop3Msg::DropDownload() {
    DropCaches();
    downloading = false;
    spool.Abort();
    bodyHeld = false;
    endOffset = 0;
    bytesMissing = true;
    // A headers download fills the memory data only.
    if (headersOnlyFlag) {
        memoryData.Reset();
        return;
    }
    if (filename8.empty()) return;
    if (ownsFile) {
        SetFilename(u"");
        return;
    }
    // Only a regular file is emptied: a device or FIFO the client named
    // holds no partial message. A file that cannot be emptied stays as it is.
    struct stat info {};
    if (stat(filename8.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return;
    if (truncate(filename8.c_str(), 0) != 0) return;
}

void CPop3Msg::AppendMemoryLine(std::string_view line) {
    DropCaches();
    memoryData.AppendString(line);
    memoryData.AppendString("\r\n");
}

std::optional<std::string_view> CPop3Msg::BytesInMemory() const {
    if (bytesMissing) return std::string_view();
    // The last retrieval was headers only: its text is in memory even when a
    // file remains from an earlier whole retrieval.
    if (headersOnlyFlag)
        return std::string_view(reinterpret_cast<const char*>(memoryData.GetData()), memoryData.GetLength());
    if (bodyHeld) return std::string_view(spool.Held());
    return std::nullopt;
}

std::string CPop3Msg::ReadRawBody(bool* readable) const {
    std::string raw;
    if (readable != nullptr) *readable = !bytesMissing;
    if (const auto held = BytesInMemory()) {
        raw.assign(*held);
    } else if (!filename8.empty()) {
        std::size_t size = 0;
        const int fd = mime::open_regular_file(filename8, size);
        if (fd < 0) {
            if (readable != nullptr) *readable = false;
            return raw;
        }
        // The range, and never past the file's length when it was opened.
        const auto length = static_cast<std::int64_t>(size);
        const std::int64_t end = endOffset >= startOffset ? std::min(endOffset, length) : length;
        std::int64_t at = startOffset;
        if (end > at) raw.resize(static_cast<std::size_t>(end - at));
        std::size_t filled = 0;
        while (at < end) {
            const ssize_t got = pread(fd, raw.data() + filled, static_cast<std::size_t>(end - at), at);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) break;
            filled += static_cast<std::size_t>(got);
            at += got;
        }
        raw.resize(filled);
        close(fd);
    } else if (readable != nullptr) {
        *readable = false;  // listed, never retrieved
    }
    return raw;
}

std::string CPop3Msg::ReadHeaderBytes() const {
    // In memory the bytes are at hand; only a file is read in pieces.
    if (const auto held = BytesInMemory()) return std::string(held->substr(0, text::HeaderBlockEnd(*held)));
    if (filename8.empty()) return {};
    std::size_t size = 0;
    const int fd = mime::open_regular_file(filename8, size);
    if (fd < 0) return {};
    const auto length = static_cast<std::int64_t>(size);
    const std::int64_t end = endOffset >= startOffset ? std::min(endOffset, length) : length;
    std::string raw;
    std::size_t piece = 16 * 1024;
    std::int64_t at = startOffset;
    while (at < end) {
        const std::size_t filled = raw.size();
        raw.resize(filled + static_cast<std::size_t>(std::min<std::int64_t>(piece, end - at)));
        const ssize_t got = pread(fd, raw.data() + filled, raw.size() - filled, at);
        if (got < 0 && errno == EINTR) {
            raw.resize(filled);
            continue;
        }
        if (got <= 0) {
            raw.resize(filled);
            break;
        }
        raw.resize(filled + static_cast<std::size_t>(got));
        at += got;
        // Only the new piece's line ends are looked at; an empty line that
        // straddles two pieces ends in this one.
        const std::size_t blockEnd = text::HeaderBlockEnd(raw, filled);
        if (blockEnd != std::string::npos) {
            raw.resize(blockEnd);
            break;
        }
        piece *= 2;
    }
    close(fd);
    return raw;
}

// ---- IPop3Msg: identity, marks, downloads ----------------------------------

HRESULT CPop3Msg::get_Filename(com::BSTR* value) try {
    if (value == nullptr) return E_POINTER;
    // A client that asks for the file gets one.
    if (!EnsureFile()) {
        *value = nullptr;
        return ReportError(errCannotCreateFile);
    }
    return CopyText(Filename, value);
} catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Msg::put_Filename(com::BSTR value) try {
    std::u16string name(com::BstrView(value));
    if (name == Filename) return S_OK;
    SetFilename(std::move(name));
    partSource.reset();
    bytesMissing = false;
    // A file the client names is a whole message: read it to its end.
    headersOnlyFlag = false;
    startOffset = 0;
    endOffset = -1;
    return S_OK;
} catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Msg::get_Body(com::BSTR* value) try {
    CallGuard guard(*this);
    if (partSource) return CopyAnsi(partSource->entity, value);
    if (const auto held = BytesInMemory()) return CopyAnsi(*held, value);
    return CopyAnsi(ReadRawBody(), value);
} catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Msg::get_Index(std::int16_t* value) try { return CopyValue(Index, value); } catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Msg::get_Tag(com::VARIANT* value) try {
    if (value == nullptr) return E_POINTER;
    return Tag.CopyTo(value);
} catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Msg::put_Tag(com::VARIANT value) try {
    Tag.Clear();
    Tag = value;
    return S_OK;
} catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Msg::get_Size(std::int32_t* value) try { return CopyValue(Size, value); } catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Msg::get_Uid(com::BSTR* value) try { return CopyText(Uid, value); } catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Msg::Get() try {
    CallGuard guard(*this);
    if (owner == nullptr) return com::E_FAIL;
    return owner->FetchMessage(Index, false, 0);
} catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Msg::GetHeaders() try {
    CallGuard guard(*this);
    if (owner == nullptr) return com::E_FAIL;
    return owner->FetchMessage(Index, true, 0);
} catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Msg::GetLines(std::int16_t MaxLines) try {
    CallGuard guard(*this);
    if (owner == nullptr) return com::E_FAIL;
    return owner->FetchMessage(Index, true, MaxLines);
} catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Msg::get_MarkDelete(com::VARIANT_BOOL* value) try {
    return CopyValue(com::ToVariantBool(MarkDelete), value);
} catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Msg::put_MarkDelete(com::VARIANT_BOOL value) try {
    if (owner != nullptr && owner->CurrentState() < Connected) return ReportError(errMarkWhileConnected);
    MarkDelete = value != 0;
    return S_OK;
} catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Msg::get_MarkGet(com::VARIANT_BOOL* value) try {
    return CopyValue(com::ToVariantBool(MarkGet), value);
} catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Msg::put_MarkGet(com::VARIANT_BOOL value) try {
    if (owner != nullptr && owner->CurrentState() < Connected) return ReportError(errMarkWhileConnected);
    MarkGet = value != 0;
    return S_OK;
} catch (...) {
    return ExceptionResult();
}

namespace {

using MsgTable = com::DispatchTable<IPop3Msg>;
using M = IPop3Msg;
const MsgTable kMsgTable{
    MsgTable::Get<&M::get_Filename>(u"Filename", DISPID_Pop3Msg_Filename),
    MsgTable::Put<&M::put_Filename>(u"Filename", DISPID_Pop3Msg_Filename),
    MsgTable::Get<&M::get_Body>(u"Body", DISPID_Pop3Msg_Body),
    MsgTable::Get<&M::get_Index>(u"Index", DISPID_Pop3Msg_Index),
    MsgTable::Get<&M::get_Tag>(u"Tag", DISPID_Pop3Msg_Tag),
    MsgTable::Put<&M::put_Tag>(u"Tag", DISPID_Pop3Msg_Tag),
    MsgTable::Get<&M::get_Size>(u"Size", DISPID_Pop3Msg_Size),
    MsgTable::Get<&M::get_Uid>(u"Uid", DISPID_Pop3Msg_Uid),
    MsgTable::Method<&M::Get>(u"Get", DISPID_Pop3Msg_Get),
    MsgTable::Method<&M::GetHeaders>(u"GetHeaders", DISPID_Pop3Msg_GetHeaders),
    MsgTable::Get<&M::get_MarkDelete>(u"MarkDelete", DISPID_Pop3Msg_MarkDelete),
    MsgTable::Put<&M::put_MarkDelete>(u"MarkDelete", DISPID_Pop3Msg_MarkDelete),
    MsgTable::Get<&M::get_MarkGet>(u"MarkGet", DISPID_Pop3Msg_MarkGet),
    MsgTable::Put<&M::put_MarkGet>(u"MarkGet", DISPID_Pop3Msg_MarkGet),
    MsgTable::Get<&M::get_Headers>(u"Headers", DISPID_Pop3Msg_Headers),
    MsgTable::Get<&M::get_From>(u"From", DISPID_Pop3Msg_From),
    MsgTable::Get<&M::get_FromEmail>(u"FromEmail", DISPID_Pop3Msg_FromEmail),
    MsgTable::Get<&M::get_FromName>(u"FromName", DISPID_Pop3Msg_FromName),
    MsgTable::Get<&M::get_To>(u"To", DISPID_Pop3Msg_To),
    MsgTable::Get<&M::get_ToEmail>(u"ToEmail", DISPID_Pop3Msg_ToEmail),
    MsgTable::Get<&M::get_ToName>(u"ToName", DISPID_Pop3Msg_ToName),
    MsgTable::Get<&M::get_CC>(u"CC", DISPID_Pop3Msg_CC),
    MsgTable::Get<&M::get_BCC>(u"BCC", DISPID_Pop3Msg_BCC),
    MsgTable::Get<&M::get_Subject>(u"Subject", DISPID_Pop3Msg_Subject),
    MsgTable::Get<&M::get_Date, com::VT_DATE>(u"Date", DISPID_Pop3Msg_Date),
    MsgTable::Get<&M::get_Attachments>(u"Attachments", DISPID_Pop3Msg_Attachments),
    MsgTable::Get<&M::get_ContentDescription>(u"ContentDescription", DISPID_Pop3Msg_ContentDescription),
    MsgTable::Get<&M::get_ContentDisposition>(u"ContentDisposition", DISPID_Pop3Msg_ContentDisposition),
    MsgTable::Get<&M::get_ContentID>(u"ContentID", DISPID_Pop3Msg_ContentID),
    MsgTable::Get<&M::get_ContentTransferEncoding>(u"ContentTransferEncoding",
                                                   DISPID_Pop3Msg_ContentTransferEncoding),
    MsgTable::Get<&M::get_ContentType>(u"ContentType", DISPID_Pop3Msg_ContentType),
    MsgTable::Get<&M::get_HTMLText>(u"HTMLText", DISPID_Pop3Msg_HTMLText),
    MsgTable::Get<&M::get_PlainText>(u"PlainText", DISPID_Pop3Msg_PlainText),
    MsgTable::Get<&M::get_MessageID>(u"MessageID", DISPID_Pop3Msg_MessageID),
    MsgTable::Get<&M::get_Parts>(u"Parts", DISPID_Pop3Msg_Parts),
    MsgTable::Get<&M::get_Text>(u"Text", DISPID_Pop3Msg_Text),
    MsgTable::Method<&M::Save>(u"Save", DISPID_Pop3Msg_Save),
    MsgTable::Method<&M::GetLines>(u"GetLines", DISPID_Pop3Msg_GetLines),
    MsgTable::Get<&M::get_ReplyTo>(u"ReplyTo", DISPID_Pop3Msg_ReplyTo),
    MsgTable::Method<&M::VerifySignature>(u"VerifySignature", DISPID_Pop3Msg_VerifySignature),
    MsgTable::Method<&M::Decrypt>(u"Decrypt", DISPID_Pop3Msg_Decrypt),
    MsgTable::Get<&M::get_DecodedText>(u"DecodedText", DISPID_Pop3Msg_DecodedText),
    MsgTable::Method<&M::DeliveryFailed>(u"DeliveryFailed", DISPID_Pop3Msg_DeliveryFailed),
    MsgTable::Method<&M::DeliveryDelayed>(u"DeliveryDelayed", DISPID_Pop3Msg_DeliveryDelayed),
    MsgTable::Get<&M::get_ContentTypeOnly>(u"ContentTypeOnly", DISPID_Pop3Msg_ContentTypeOnly),
    MsgTable::Get<&M::get_ContentName>(u"ContentName", DISPID_Pop3Msg_ContentName),
    MsgTable::Get<&M::get_ContentCharset>(u"ContentCharset", DISPID_Pop3Msg_ContentCharset),
    MsgTable::Get<&M::get_ContentBoundary>(u"ContentBoundary", DISPID_Pop3Msg_ContentBoundary),
    MsgTable::Get<&M::get_ReceivedList>(u"ReceivedList", DISPID_Pop3Msg_ReceivedList),
    MsgTable::Get<&M::get_Priority>(u"Priority", DISPID_Pop3Msg_Priority),
};

}  // namespace

const com::DispatchTable<IPop3Msg>& CPop3Msg::GetDispatchTable() const { return kMsgTable; }

}  // namespace component::protocol
