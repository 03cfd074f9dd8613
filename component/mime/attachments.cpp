#include "component/mime/attachments.h"

#include "component/mime/ascii.h"
#include "component/mime/encoded_word.h"
#include "component/mime/header_values.h"
#include "platform/text/ascii_case.h"

namespace component::mime {
namespace {

// Name and Type of an attachment from the headers of its node. Without a
// Content-Type the type is the default of where the node stands: a digest's
// message is message/rfc822, as it would be declared.
void name_and_type(const MimeNode& n, AttachmentInfo& a) {
    const Headers& headers = n.headers;
    if (const Header* ct = find_header(headers, "content-type")) {
        const std::string v = unfold(ct->value);
        a.type = std::string(trim_space(std::string_view(v).substr(0, v.find(';'))));
        a.name = header_param(v, "name=");
    } else if (n.in_digest) {
        a.type = node_media_type(n);
    }
    if (!a.name.empty()) return;
    const Header* cd = find_header(headers, "content-disposition");
    if (cd == nullptr) return;
    const std::string v = unfold(cd->value);
    const std::size_t semi = v.find(';');
    if (semi == std::string::npos) return;
    const std::string_view params = std::string_view(v).substr(semi + 1);
    std::size_t at = text::FindNoCase(params, "filename");
    if (at != std::string_view::npos) {
        std::string_view rest = params.substr(at + 8);
        while (!rest.empty() && is_blank(rest.front())) rest.remove_prefix(1);
        if (!rest.empty() && rest.front() == '=') {
            rest.remove_prefix(1);
            while (!rest.empty() && is_blank(rest.front())) rest.remove_prefix(1);
            if (!rest.empty() && (rest.front() == '"' || rest.front() == '\'')) {
                const std::size_t close = rest.find(rest.front(), 1);
                rest = close == std::string_view::npos ? rest.substr(1) : rest.substr(1, close - 1);
            }
            // An unquoted name runs to the end of the value, later parameters included.
            a.name = decode_encoded_words(rest);
            return;
        }
    }
    a.name = header_param(v, "filename=");  // RFC 2231 forms
}

struct Walker {
    const MimeTree& tree;
    std::vector<AttachmentInfo> found;
    std::vector<bool> scanned;

    // Detection of one node; its parts are examined where its multipart
    // Content-Type header stands. An explicit stack replaces recursion.
    void run() {
        struct Frame {
            std::uint32_t node;
            std::size_t header;  // next header to examine
            std::size_t child;   // next part to examine while scanning
            bool in_parts;
            bool attachment;
            AttachmentEncodingsEnum encoding;
        };
        std::vector<Frame> stack{{0, 0, 0, false, false, enc7BIT}};
        scanned.assign(tree.size(), false);
        scanned[0] = true;
        while (!stack.empty()) {
            Frame& f = stack.back();
            const MimeNode& n = tree.node(f.node);
            if (f.in_parts) {
                if (f.child < n.children.size()) {
                    const std::uint32_t c = n.children[f.child++];
                    if (!scanned[c]) {
                        scanned[c] = true;
                        stack.push_back(Frame{c, 0, 0, false, false, enc7BIT});
                    }
                    continue;
                }
                f.in_parts = false;
            }
            if (f.header >= n.headers.size()) {
                // A container holds attachments but is never one itself; a
                // digest's message without a Content-Type is message/rfc822.
                const std::string type = node_media_type(n);
                if (type == "message/rfc822" && find_header(n.headers, "content-type") == nullptr)
                    f.attachment = true;
                if (f.attachment && !type.starts_with("multipart/")) add(f.node, f.encoding);
                stack.pop_back();
                continue;
            }
            const Header& h = n.headers[f.header++];
            const std::string name = text::AsciiLowered(h.name);
            const std::string value = text::AsciiLowered(h.value);
            if (name == "content-transfer-encoding") {
                const std::string_view v = trim_space(value);
                if (v == "base64")
                    f.encoding = encBASE64;
                else if (v == "uuencode" || v == "x-uuencode")
                    f.encoding = encUUENCODE;
                else if (v == "7bit")
                    f.encoding = enc7BIT;
                else if (v == "quoted-printable")
                    f.encoding = encQUOTEDPRINTABLE;
                else if (v == "binhex")
                    f.encoding = encBINHEX4;
            } else if (name == "content-disposition") {
                if (value.find("attachment") != std::string::npos ||
                    (value.find("inline") != std::string::npos && f.encoding != enc7BIT))
                    f.attachment = true;
            } else if (name == "content-type") {
                if (value.find("boundary") != std::string::npos &&
                    value.find("multipart") != std::string::npos) {
                    f.in_parts = true;
                    f.child = 0;
                } else if (trim_space(value) == "message/rfc822") {
                    f.attachment = true;
                }
                if (value.find("image/") != std::string::npos && value.find("name=") != std::string::npos)
                    f.attachment = true;
            } else if (name == "content-id") {
                f.attachment = true;
            }
        }
    }

    void add(std::uint32_t index, AttachmentEncodingsEnum encoding) {
        const MimeNode& n = tree.node(index);
        AttachmentInfo a;
        a.node = index;
        a.encoding = encoding;
        a.start = n.start + n.header_length;
        a.end = n.content_end > a.start ? n.content_end : a.start;
        name_and_type(n, a);
        found.push_back(std::move(a));
    }
};

}  // namespace

std::int64_t AttachmentInfo::size_estimate() const noexcept {
    const auto range = static_cast<std::int64_t>(end > start ? end - start : 0);
    switch (encoding) {
        case encBASE64:
        case encBINHEX4:
        case encUUENCODE:
            return range / 4 * 3;
        case encUNKNOWN:
        case encQUOTEDPRINTABLE:
        case enc7BIT:
            break;
    }
    return range;
}

std::vector<AttachmentInfo> detect_attachments(const MimeTree& tree) {
    Walker w{tree, {}, {}};
    w.run();
    return std::move(w.found);
}

DecodeError save_attachment(const MimeTree& tree, const AttachmentInfo& a, const ByteSink& sink) {
    const std::string_view text = tree.message();
    const std::size_t end = a.end < text.size() ? a.end : text.size();
    const std::string_view range = a.start < end ? text.substr(a.start, end - a.start) : std::string_view();
    return decode_stream(a.encoding, range, sink);
}

}  // namespace component::mime
