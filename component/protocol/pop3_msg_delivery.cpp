// CPop3Msg: delivery reports. Standard delivery status notifications are
// read from their status parts; bounces in the common non-standard forms
// are recognised by their subject and text.
#include <algorithm>

#include "component/mime/delivery_report.h"
#include "component/mime/header_values.h"
#include "component/mime/text_parts.h"
#include "component/protocol/exception_barrier.h"
#include "component/protocol/out_params.h"
#include "component/protocol/pop3_msg.h"
#include "platform/text/code_page.h"

namespace component::protocol {

using com::E_POINTER;
using com::HRESULT;
using com::S_OK;

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return text;
}

std::string Decoded(const mime::Headers& headers, std::string_view name) {
    return text::ToAnsi(mime::header_text(headers, name));
}

std::string ExtractAddress(std::string_view value) { return mime::extract_address_bytes(value); }

// The status parts among `node`'s parts; the last one decides, and a nested
// report that names a recipient ends the scan.
std::string ScanDeliveryStatus(const mime::MimeTree& tree, const mime::MimeNode& node,
                               std::string_view marker) {
    std::string result;
    for (const std::uint32_t index : node.children) {
        const mime::MimeNode& part = tree.node(index);
        const std::string type = Lower(Decoded(part.headers, "Content-Type"));
        if (type.find("message/delivery-status") != std::string::npos) {
            result = mime::ScanDeliveryStatusText(mime::message_text(tree, part), marker, ExtractAddress);
        } else if (type.find("multipart/report") != std::string::npos &&
                   type.find("delivery-status") != std::string::npos) {
            std::string nested = ScanDeliveryStatus(tree, part, marker);
            if (!nested.empty()) return nested;
        }
    }
    return result;
}

}  // namespace

HRESULT CPop3Msg::FindBounceRecipient(std::string_view marker, std::string& recipient) {
    recipient.clear();
    const mime::Headers headers = CurrentHeaders();
    const std::string fromEmail = ExtractAddress(mime::header_unfolded(headers, "From"));
    if (!mime::IsReportSender(Lower(fromEmail)) &&
        !mime::IsNullReversePath(mime::header_unfolded(headers, "Return-Path")))
        return S_OK;
    // The reports are read from the parts, which a headers-only retrieval lacks.
    if (headersOnlyFlag) return ReportError(errHeadersOnly);
    const Content& c = ReadContent();
    const mime::MimeNode& root = c.tree.root();
    recipient = ScanDeliveryStatus(c.tree, root, marker);
    if (marker != "failed" || !recipient.empty()) return S_OK;

    recipient = Decoded(headers, "X-Failed-Recipients");
    if (!recipient.empty()) return S_OK;
    const std::string subject = Decoded(headers, "Subject");
    const std::string text = mime::message_text(c.tree, root);
    if (mime::IsFailureNoticeSubject(subject)) {
        recipient = mime::FailureNoticeRecipient(text);
        if (!recipient.empty()) return S_OK;
    }
    recipient = mime::DeliveryReportSubjectRecipient(subject, fromEmail);
    if (!recipient.empty()) return S_OK;
    if (subject.starts_with("Undeliverable:")) {
        for (const std::uint32_t index : root.children) {
            const mime::MimeNode& part = c.tree.node(index);
            if (Lower(Decoded(part.headers, "Content-Type")).find("message/rfc822") == std::string::npos)
                continue;
            recipient = mime::ReturnedMessageRecipient(mime::message_text(c.tree, part), ExtractAddress);
            if (!recipient.empty()) return S_OK;
        }
    }
    recipient = mime::NondeliveryRecipient(Decoded(headers, "X-Report-Type"), text, ExtractAddress);
    return S_OK;
}

HRESULT CPop3Msg::DeliveryFailed(com::BSTR* value) try {
    if (value == nullptr) return E_POINTER;
    *value = nullptr;
    std::string recipient;
    const HRESULT hr = FindBounceRecipient("failed", recipient);
    return com::FAILED(hr) ? hr : CopyAnsi(recipient, value);
} catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Msg::DeliveryDelayed(com::BSTR* value) try {
    if (value == nullptr) return E_POINTER;
    *value = nullptr;
    std::string recipient;
    const HRESULT hr = FindBounceRecipient("delayed", recipient);
    return com::FAILED(hr) ? hr : CopyAnsi(recipient, value);
} catch (...) {
    return ExceptionResult();
}

}  // namespace component::protocol
