// One reader's view of a message: the fields the program shows, compared
// between the message model and the peer.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace mime_diff {

struct AttachmentReading {
    std::string name;  // UTF-8
    std::int64_t size = 0;
    std::string sha256;  // lower-case hex of the decoded bytes
    friend bool operator==(const AttachmentReading&, const AttachmentReading&) = default;
};

struct Reading {
    std::string subject;  // all texts UTF-8
    std::string from_address;
    std::string from_name;
    std::optional<std::int64_t> date_utc;  // seconds since 1970 UTC; none when absent or unreadable
    std::string plain;
    std::string html;
    std::vector<AttachmentReading> attachments;
};

std::ostream& operator<<(std::ostream& os, const AttachmentReading& a);

}  // namespace mime_diff
