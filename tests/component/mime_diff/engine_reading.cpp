#include "tests/component/mime_diff/engine_reading.h"

#include <openssl/evp.h>

#include <ctime>
#include <memory>
#include <stdexcept>

#include "component/mime/attachments.h"
#include "component/mime/date_parser.h"
#include "component/mime/header_values.h"
#include "component/mime/mime_tree.h"
#include "component/mime/text_parts.h"
#include "platform/text/utf8.h"

namespace mime_diff {
namespace {

namespace mm = component::mime;

// SHA-256 over the pieces a decoder hands out, so the bytes are never gathered.
class Sha256 {
public:
    Sha256() : ctx_(EVP_MD_CTX_new()) {
        if (!ctx_ || EVP_DigestInit_ex(ctx_.get(), EVP_sha256(), nullptr) != 1)
            throw std::runtime_error("SHA-256 unavailable");
    }
    void add(std::string_view bytes) {
        if (EVP_DigestUpdate(ctx_.get(), bytes.data(), bytes.size()) != 1)
            throw std::runtime_error("SHA-256 update");
        size_ += static_cast<std::int64_t>(bytes.size());
    }
    std::string hex() {
        unsigned char digest[EVP_MAX_MD_SIZE];
        unsigned int length = 0;
        if (EVP_DigestFinal_ex(ctx_.get(), digest, &length) != 1) throw std::runtime_error("SHA-256 final");
        static constexpr char kHex[] = "0123456789abcdef";
        std::string out;
        for (unsigned int i = 0; i < length; ++i) {
            out.push_back(kHex[digest[i] >> 4]);
            out.push_back(kHex[digest[i] & 15]);
        }
        return out;
    }
    std::int64_t size() const noexcept { return size_; }

private:
    struct Free {
        void operator()(EVP_MD_CTX* c) const { EVP_MD_CTX_free(c); }
    };
    std::unique_ptr<EVP_MD_CTX, Free> ctx_;
    std::int64_t size_ = 0;
};

std::optional<std::int64_t> utc_seconds(const mm::Headers& headers) {
    if (mm::find_header(headers, "Date") == nullptr) return std::nullopt;
    const auto parsed = mm::parse_rfc822_date(mm::header_unfolded(headers, "Date"));
    if (!parsed) return std::nullopt;
    const auto utc = mm::to_local(*parsed, 0);
    if (!utc) return std::nullopt;
    std::tm tm{};
    tm.tm_year = utc->year - 1900;
    tm.tm_mon = utc->month - 1;
    tm.tm_mday = utc->day;
    tm.tm_hour = utc->hour;
    tm.tm_min = utc->minute;
    tm.tm_sec = utc->second;
    return static_cast<std::int64_t>(timegm(&tm));
}

}  // namespace

std::ostream& operator<<(std::ostream& os, const AttachmentReading& a) {
    return os << '"' << a.name << "\" " << a.size << " bytes sha256 " << a.sha256;
}

Reading engine_reading(std::string_view message) {
    const mm::MimeTree tree = mm::MimeTree::parse(message);
    const mm::Headers& headers = tree.root().headers;
    Reading r;
    r.subject = text::ToUtf8(mm::header_text(headers, "Subject"));
    const std::string from = mm::header_unfolded(headers, "From");
    r.from_address = text::ToUtf8(mm::extract_address(from));
    r.from_name = text::ToUtf8(mm::extract_name(from));
    r.date_utc = utc_seconds(headers);
    r.plain = text::ToUtf8(mm::find_text_part(tree, mm::TextKind::plain).value_or(u""));
    r.html = text::ToUtf8(mm::find_text_part(tree, mm::TextKind::html).value_or(u""));
    for (const mm::AttachmentInfo& a : mm::detect_attachments(tree)) {
        Sha256 sha;
        mm::save_attachment(tree, a, [&sha](std::string_view piece) { sha.add(piece); });
        r.attachments.push_back(AttachmentReading{text::ToUtf8(a.name), sha.size(), sha.hex()});
    }
    return r;
}

}  // namespace mime_diff
