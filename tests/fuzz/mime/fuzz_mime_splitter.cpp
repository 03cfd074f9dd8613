// MIME tree, text members and attachments over an arbitrary message.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "component/mime/attachments.h"
#include "component/mime/mime_tree.h"
#include "component/mime/text_parts.h"

using namespace component::mime;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const MimeTree tree = MimeTree::parse(bytes);
    for (std::size_t i = 0; i < tree.size(); ++i) {
        const MimeNode& n = tree.node(i);
        if (n.start > n.end || n.end > size || n.header_length > n.end - n.start || n.content_end > n.end)
            __builtin_trap();
        (void)message_text(tree, n);
        (void)decode_part_text(tree, n);
        (void)decoded_body(tree, n, encoding_from_headers(n.headers));
    }
    (void)find_text_part(tree, TextKind::plain);
    (void)find_text_part(tree, TextKind::html);
    for (const AttachmentInfo& a : detect_attachments(tree)) {
        if (a.start > a.end || a.end > size) __builtin_trap();
        std::size_t total = 0;
        (void)save_attachment(tree, a, [&total](std::string_view s) { total += s.size(); });
        (void)a.size_estimate();
    }
    return 0;
}
