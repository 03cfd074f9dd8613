// CPop3Msg: the members that read the message's content: headers and their
// decoded values, the date, the texts, attachments and Save.
#include <string>

#include "component/mime/attachments.h"
#include "component/mime/date_parser.h"
#include "component/mime/decode_to_file.h"
#include "component/mime/header_block.h"
#include "component/mime/header_values.h"
#include "component/mime/text_parts.h"
#include "component/protocol/exception_barrier.h"
#include "component/protocol/out_params.h"
#include "component/protocol/pop3_msg.h"
#include "component/protocol/pop3_msgs.h"
#include "platform/com/ole_date.h"
#include "platform/text/code_page.h"

namespace component::protocol {

using com::E_POINTER;
using com::HRESULT;
using com::S_OK;

namespace {

bool IsBlankText(std::string_view text) {
    for (const char c : text)
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return false;
    return true;
}

}  // namespace

void CPop3Msg::SetAsPart(std::shared_ptr<const std::string> raw, std::string_view entity,
                         std::int64_t fileOffset, const std::u16string& file, std::int64_t size,
                         bool delimited) {
    DropCaches();
    partSource = PartSource{std::move(raw), entity, fileOffset, delimited};
    Filename = file;
    filename8 = text::ToAnsi(file);
    ownsFile = false;
    Size = static_cast<std::int32_t>(std::min<std::int64_t>(size, INT32_MAX));
    startOffset = fileOffset;
    endOffset = fileOffset + static_cast<std::int64_t>(entity.size());
}

const CPop3Msg::Content& CPop3Msg::ReadContent() {
    if (!content) {
        auto fresh = std::make_unique<Content>();
        if (partSource) {
            // The part's own structure starts after its delimiter line.
            fresh->raw = partSource->raw;
            fresh->entity = partSource->entity;
            fresh->entityFileOffset = partSource->fileOffset;
            fresh->delimited = partSource->delimited;
            const auto lineEnd = fresh->entity.find('\n');
            const std::size_t skip = !fresh->delimited                   ? 0
                                     : lineEnd == std::string_view::npos ? fresh->entity.size()
                                                                         : lineEnd + 1;
            fresh->treeFileOffset = partSource->fileOffset + static_cast<std::int64_t>(skip);
            fresh->tree = mime::MimeTree::parse(fresh->entity.substr(skip));
        } else {
            // Bytes held in memory are shared, not copied.
            std::shared_ptr<const std::string> held =
                bodyHeld && !bytesMissing && !headersOnlyFlag ? spool.Finished() : nullptr;
            fresh->raw =
                held ? std::move(held) : std::make_shared<const std::string>(ReadRawBody(&fresh->readable));
            fresh->entity = *fresh->raw;
            fresh->entityFileOffset = startOffset;
            fresh->treeFileOffset = startOffset;
            fresh->tree = mime::MimeTree::parse(fresh->entity);
        }
        content = std::move(fresh);
    }
    return *content;
}

CPop3Hdrs& CPop3Msg::HeaderCollection() {
    if (!headers) {
        headers = com::MakeComObject<CPop3Hdrs>();
        // A part, or a message whose content is read already, has its
        // headers at hand; a whole message is read no further than its
        // header block.
        if (content || partSource) {
            const mime::MimeNode& root = ReadContent().tree.root();
            headersOk = root.headers_ok;
            if (headersOk) {
                headers->Fill(root.headers);
                headerLength = static_cast<std::int64_t>(root.header_length);
            }
        } else {
            const mime::HeaderBlock block = mime::parse_header_block(ReadHeaderBytes());
            headersOk = block.ok;
            if (headersOk) {
                headers->Fill(block.headers);
                headerLength = static_cast<std::int64_t>(block.length);
            }
        }
    }
    return *headers;
}

mime::Headers CPop3Msg::CurrentHeaders() { return HeaderCollection().Snapshot(); }

HRESULT CPop3Msg::HeaderGetter(std::string_view name, com::BSTR* value) {
    if (value == nullptr) return E_POINTER;
    return CopyText(mime::header_text(CurrentHeaders(), name), value);
}

HRESULT CPop3Msg::get_Headers(IPop3Hdrs** value) try {
    if (value == nullptr) return E_POINTER;
    *value = nullptr;
    CallGuard guard(*this);
    const bool fresh = !headers;
    CPop3Hdrs& collection = HeaderCollection();
    // A block that opens with a continuation line fails the call that reads
    // it; later calls return the (empty) collection.
    if (fresh && !headersOk) return com::E_FAIL;
    return com::ComPtr<IPop3Hdrs>(&collection).CopyTo(value);
} catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Msg::get_From(com::BSTR* value) try { return HeaderGetter("From", value); } catch (...) {
    return ExceptionResult();
}
HRESULT CPop3Msg::get_To(com::BSTR* value) try { return HeaderGetter("To", value); } catch (...) {
    return ExceptionResult();
}
HRESULT CPop3Msg::get_CC(com::BSTR* value) try { return HeaderGetter("CC", value); } catch (...) {
    return ExceptionResult();
}
HRESULT CPop3Msg::get_BCC(com::BSTR* value) try { return HeaderGetter("BCC", value); } catch (...) {
    return ExceptionResult();
}
HRESULT CPop3Msg::get_Subject(com::BSTR* value) try { return HeaderGetter("Subject", value); } catch (...) {
    return ExceptionResult();
}
HRESULT CPop3Msg::get_ReplyTo(com::BSTR* value) try { return HeaderGetter("Reply-To", value); } catch (...) {
    return ExceptionResult();
}
HRESULT CPop3Msg::get_MessageID(com::BSTR* value) try {
    return HeaderGetter("Message-ID", value);
} catch (...) {
    return ExceptionResult();
}
HRESULT CPop3Msg::get_ContentDescription(com::BSTR* value) try {
    return HeaderGetter("Content-Description", value);
} catch (...) {
    return ExceptionResult();
}
HRESULT CPop3Msg::get_ContentDisposition(com::BSTR* value) try {
    return HeaderGetter("Content-Disposition", value);
} catch (...) {
    return ExceptionResult();
}
HRESULT CPop3Msg::get_ContentID(com::BSTR* value) try {
    return HeaderGetter("Content-ID", value);
} catch (...) {
    return ExceptionResult();
}
HRESULT CPop3Msg::get_ContentTransferEncoding(com::BSTR* value) try {
    return HeaderGetter("Content-Transfer-Encoding", value);
} catch (...) {
    return ExceptionResult();
}
HRESULT CPop3Msg::get_ContentType(com::BSTR* value) try {
    return HeaderGetter("Content-Type", value);
} catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Msg::get_FromEmail(com::BSTR* value) try {
    return CopyText(mime::extract_address(mime::header_unfolded(CurrentHeaders(), "From")), value);
} catch (...) {
    return ExceptionResult();
}
HRESULT CPop3Msg::get_FromName(com::BSTR* value) try {
    return CopyText(mime::extract_name(mime::header_unfolded(CurrentHeaders(), "From")), value);
} catch (...) {
    return ExceptionResult();
}
HRESULT CPop3Msg::get_ToEmail(com::BSTR* value) try {
    return CopyText(mime::extract_address(mime::header_unfolded(CurrentHeaders(), "To")), value);
} catch (...) {
    return ExceptionResult();
}
HRESULT CPop3Msg::get_ToName(com::BSTR* value) try {
    return CopyText(mime::extract_name(mime::header_unfolded(CurrentHeaders(), "To")), value);
} catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Msg::get_ContentTypeOnly(com::BSTR* value) try {
    return CopyText(mime::content_type_only(CurrentHeaders()), value);
} catch (...) {
    return ExceptionResult();
}
HRESULT CPop3Msg::get_ContentName(com::BSTR* value) try {
    return CopyText(mime::content_name(CurrentHeaders()), value);
} catch (...) {
    return ExceptionResult();
}
HRESULT CPop3Msg::get_ContentCharset(com::BSTR* value) try {
    return CopyText(mime::content_type_param(CurrentHeaders(), "charset="), value);
} catch (...) {
    return ExceptionResult();
}
HRESULT CPop3Msg::get_ContentBoundary(com::BSTR* value) try {
    return CopyText(mime::content_type_param(CurrentHeaders(), "boundary="), value);
} catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Msg::get_Priority(PrioritiesEnum* value) try {
    return CopyValue(static_cast<PrioritiesEnum>(mime::priority(CurrentHeaders())), value);
} catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Msg::get_Date(com::DATE* value) try {
    if (value == nullptr) return E_POINTER;
    const std::string date = mime::header_unfolded(CurrentHeaders(), "Date");
    if (IsBlankText(date)) {
        *value = com::CurrentOleDate();
        return S_OK;
    }
    const auto local = mime::parse_date_local(date, mime::current_utc_offset_minutes());
    if (!local) return com::E_INVALIDARG;
    const auto ole = com::OleDateFromParts(
        {local->year, local->month, local->day, local->hour, local->minute, local->second, 0});
    if (!ole) return com::E_INVALIDARG;
    *value = *ole;
    return S_OK;
} catch (...) {
    return ExceptionResult();
}

// ---- Texts -----------------------------------------------------------------

HRESULT CPop3Msg::get_Text(com::BSTR* value) try {
    if (value == nullptr) return E_POINTER;
    if (headersOnlyFlag) return ReportError(errHeadersOnly);
    const Content& c = ReadContent();
    return CopyAnsi(mime::message_text(c.tree, c.tree.root()), value);
} catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Msg::get_PlainText(com::BSTR* value) try {
    if (value == nullptr) return E_POINTER;
    const Content& c = ReadContent();
    const auto found = mime::find_text_part(c.tree, mime::TextKind::plain);
    // Only a search that reaches a text needs the body a headers-only
    // retrieval lacks; one that finds no text part answers empty.
    if (headersOnlyFlag && found) return ReportError(errHeadersOnly);
    return CopyText(found ? std::u16string_view(*found) : std::u16string_view(), value);
} catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Msg::get_HTMLText(com::BSTR* value) try {
    if (value == nullptr) return E_POINTER;
    const Content& c = ReadContent();
    const auto found = mime::find_text_part(c.tree, mime::TextKind::html);
    // Only a search that reaches a text needs the body a headers-only
    // retrieval lacks; one that finds no text part answers empty.
    if (headersOnlyFlag && found) return ReportError(errHeadersOnly);
    return CopyText(found ? std::u16string_view(*found) : std::u16string_view(), value);
} catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Msg::get_DecodedText(com::VARIANT EncodingType, com::BSTR* value) try {
    if (value == nullptr) return E_POINTER;
    if (headersOnlyFlag) return ReportError(errHeadersOnly);
    const Content& c = ReadContent();
    if (!c.readable) return ReportError(errCannotOpenMessage);
    const com::VARIANT& given = com::Dereference(EncodingType);
    std::int32_t encoding = 0;
    if (given.vt == com::VT_I4)
        encoding = given.lVal;
    else if (given.vt == (com::VT_I4 | com::VT_BYREF) && given.plVal != nullptr)
        encoding = *given.plVal;
    if (encoding == 0) encoding = mime::encoding_from_headers(c.tree.root().headers);
    if (encoding < encBASE64 || encoding > enc7BIT) return ReportError(errUnknownEncoder);
    const std::string decoded =
        mime::decoded_body(c.tree, c.tree.root(), static_cast<mime::AttachmentEncodingsEnum>(encoding));
    return CopyAnsi(decoded, value);
} catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Msg::Save(com::BSTR Filename) try {
    const std::string destination = text::ToAnsi(com::BstrView(Filename));
    if (destination.empty()) return ReportError(errNoDestination);
    if (headersOnlyFlag) return ReportError(errHeadersOnly);
    const Content& c = ReadContent();
    // Saving bytes that are not there would report an empty file as the message.
    if (!c.readable) return com::E_FAIL;
    const auto result = mime::decode_to_file(c.entity, mime::enc7BIT, destination);
    return result.status == mime::SaveStatus::ok ? S_OK : ReportError(errCannotAccessDestination);
} catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Msg::get_Attachments(IPop3Attachments** value) try {
    if (value == nullptr) return E_POINTER;
    *value = nullptr;
    if (headersOnlyFlag) return ReportError(errHeadersOnly);
    if (!attachments) {
        const Content& c = ReadContent();
        attachments = com::MakeComObject<CPop3Attachments>();
        const auto found = mime::detect_attachments(c.tree);
        std::vector<com::ComPtr<IPop3Msg>> holders;
        holders.reserve(found.size());
        for (const auto& a : found) holders.push_back(PartFor(c, a.node));
        attachments->Fill(found, holders, c.raw, c.tree.message());
    }
    return com::ComPtr<IPop3Attachments>(attachments.Get()).CopyTo(value);
} catch (...) {
    return ExceptionResult();
}

com::ComPtr<IPop3Msg> CPop3Msg::PartFor(const Content& c, std::uint32_t node) {
    // A part names its message's file: a message held in memory gets one.
    // Without it the part names none.
    EnsureFile();
    auto part = com::MakeComObject<CPop3Msg>();
    const mime::MimeNode& n = c.tree.node(node);
    if (n.is_part) {
        part->SetAsPart(c.raw, c.tree.bytes(n), c.treeFileOffset + static_cast<std::int64_t>(n.start),
                        Filename, n.size);
    } else {
        // The content is this message's own: a twin over the same bytes.
        part->SetAsPart(c.raw, c.entity, c.entityFileOffset, Filename, Size, c.delimited);
    }
    return com::ComPtr<IPop3Msg>(part.Get());
}

HRESULT CPop3Msg::get_Parts(IPop3Msgs** value) try {
    if (value == nullptr) return E_POINTER;
    *value = nullptr;
    if (headersOnlyFlag) return ReportError(errHeadersOnly);
    if (!parts) {
        const Content& c = ReadContent();
        auto list = com::MakeComObject<CPop3Msgs>();
        for (const std::uint32_t child : c.tree.root().children) {
            if (list->Count() >= static_cast<std::uint32_t>(INT16_MAX)) break;
            com::ComPtr<CPop3Msg> part(static_cast<CPop3Msg*>(PartFor(c, child).Get()));
            list->AppendPart(std::move(part));
        }
        parts = com::ComPtr<IPop3Msgs>(list.Get());
    }
    return parts.CopyTo(value);
} catch (...) {
    return ExceptionResult();
}

// Works for headers-only retrievals too.
HRESULT CPop3Msg::get_ReceivedList(IPop3Recs** value) try {
    if (value == nullptr) return E_POINTER;
    *value = nullptr;
    if (!receivedList) {
        receivedList = com::MakeComObject<CPop3Recs>();
        receivedList->Fill(CurrentHeaders());
    }
    return com::ComPtr<IPop3Recs>(receivedList.Get()).CopyTo(value);
} catch (...) {
    return ExceptionResult();
}

// ---- Not built yet -----------------------------------------------------------

}  // namespace component::protocol
