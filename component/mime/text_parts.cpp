#include "component/mime/text_parts.h"

#include <algorithm>

#include "component/mime/ascii.h"
#include "component/mime/charset_text.h"
#include "component/mime/header_values.h"
#include "platform/text/ascii_case.h"

namespace component::mime {
namespace {

bool is_attachment(const MimeNode& n) {
    return text::StartsWithNoCase(trim_space(header_unfolded(n.headers, "Content-Disposition")),
                                  "attachment");
}

bool is_multipart(std::string_view type) { return type.starts_with("multipart/"); }

// Iterative depth-first search; the tree's depth cap bounds the stack.
std::optional<std::u16string> search(const MimeTree& tree, const MimeNode& start, std::string_view wanted) {
    struct Frame {
        const MimeNode* node;
        std::size_t next_child;
    };
    std::vector<Frame> stack;
    const MimeNode* node = &start;
    for (;;) {
        const std::string type = node_media_type(*node);
        if (!is_multipart(type)) {
            // A file is never the text, whether it is a part or the whole message.
            if (type == wanted && !is_attachment(*node)) return decode_part_text(tree, *node);
        } else if (type == "multipart/mixed" || type == "multipart/related") {
            // An alternative child decides alone, found or not.
            const MimeNode* alternative = nullptr;
            for (const std::uint32_t c : node->children) {
                if (node_media_type(tree.node(c)) == "multipart/alternative") {
                    alternative = &tree.node(c);
                    break;
                }
            }
            if (alternative != nullptr) {
                node = alternative;
                continue;
            }
            stack.push_back(Frame{node, 0});
        } else {
            stack.push_back(Frame{node, 0});
        }
        // Next child of the innermost multipart with children left.
        node = nullptr;
        while (!stack.empty() && node == nullptr) {
            Frame& f = stack.back();
            if (f.next_child < f.node->children.size()) {
                node = &tree.node(f.node->children[f.next_child++]);
            } else {
                stack.pop_back();
            }
        }
        if (node == nullptr) return std::nullopt;
    }
}

}  // namespace

std::string message_text(const MimeTree& tree, const MimeNode& node) {
    std::string pre = tree.preamble(node);
    if (!pre.empty()) return pre;
    const std::string_view all = tree.bytes(node);
    // A message that is all header has an empty body, not its headers as text;
    // only text in which no header was found is its own body. A part's text
    // always starts after its header block, even an empty one (RFC 2046
    // 5.1.1): its delimiter line is never text.
    if (node.header_length != 0 && (node.is_part || !node.headers.empty()))
        return std::string(all.substr(std::min(node.header_length, all.size())));
    return std::string(all);
}

std::u16string decode_part_text(const MimeTree& tree, const MimeNode& node) {
    std::string text = message_text(tree, node);
    const std::string cte =
        text::AsciiLowered(trim_space(header_unfolded(node.headers, "Content-Transfer-Encoding")));
    if (cte == "quoted-printable")
        text = decode_all(encQUOTEDPRINTABLE, text);
    else if (cte == "base64")
        text = decode_all(encBASE64, text);
    if (const auto nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
    return decode_charset(content_type_param_bytes(node.headers, "charset="), text);
}

std::optional<std::u16string> find_text_part(const MimeTree& tree, TextKind kind) {
    return search(tree, tree.root(), kind == TextKind::plain ? "text/plain" : "text/html");
}

AttachmentEncodingsEnum encoding_from_headers(const Headers& headers) {
    AttachmentEncodingsEnum e = encUNKNOWN;
    for (const Header& h : headers) {
        if (!text::EqualsNoCase(h.name, "content-transfer-encoding")) continue;
        const std::string v = text::AsciiLowered(trim_space(unfold(h.value)));
        if (v == "base64")
            e = encBASE64;
        else if (v == "uuencode" || v == "x-uuencode")
            e = encUUENCODE;
        else if (v == "7bit")
            e = enc7BIT;
        else if (v == "quoted-printable")
            e = encQUOTEDPRINTABLE;
        else if (v == "binhex")
            e = encBINHEX4;
    }
    return e;
}

std::string decoded_body(const MimeTree& tree, const MimeNode& node, AttachmentEncodingsEnum encoding,
                         DecodeError* error) {
    std::string out;
    const DecodeError e =
        decode_stream(encoding, tree.body(node), [&out](std::string_view s) { out.append(s); });
    if (error != nullptr) *error = e;
    return out;
}

}  // namespace component::mime
