#include "component/mime/uu_decoder.h"

#include <algorithm>

namespace component::mime {
namespace {

// A longer line is handled in pieces, as a fixed line buffer would.
constexpr std::size_t kMaxLine = 4096;

constexpr unsigned uu_value(char c) noexcept { return (static_cast<unsigned char>(c) - 32u) & 63u; }

}  // namespace

void UuDecoder::flush_pending(std::string& out) {
    const int take = std::min(bytes_n_, length_ - written_);
    if (take > 0) out.append(bytes_, static_cast<std::size_t>(take));
    written_ += std::max(take, 0);
    bytes_n_ = 0;
}

void UuDecoder::line(std::string_view text, std::string& out) {
    if (const auto cut = text.find_first_of("\r\n"); cut != std::string_view::npos)
        text = text.substr(0, cut);
    if (state_ == State::seeking) {
        if (text.find("begin") != std::string_view::npos) state_ = State::decoding;
        return;
    }
    if (state_ != State::decoding) return;
    if (text.substr(0, 3) == "end") {
        state_ = State::done;
        return;
    }
    for (const char c : text) {
        if (need_length_) {
            length_ = static_cast<int>(uu_value(c));
            written_ = 0;
            need_length_ = false;
            group_ = 0;
            group_chars_ = 0;
            if (length_ == 0) {
                need_length_ = true;
                return;
            }
            continue;
        }
        group_ = (group_ << 6) | uu_value(c);
        if (++group_chars_ == 4) {
            bytes_[0] = static_cast<char>(group_ >> 16);
            bytes_[1] = static_cast<char>(group_ >> 8);
            bytes_[2] = static_cast<char>(group_);
            bytes_n_ = 3;
            group_ = 0;
            group_chars_ = 0;
            flush_pending(out);
            if (written_ >= length_) {
                need_length_ = true;
                return;  // the rest of the line (a checksum, padding) is ignored
            }
        }
    }
}

void UuDecoder::feed(std::string_view in, std::string& out) {
    while (!in.empty() && state_ != State::done) {
        const std::size_t lf = in.find('\n');
        const std::size_t take = lf == std::string_view::npos ? in.size() : lf + 1;
        const std::size_t room = kMaxLine - line_.size();
        const std::size_t n = std::min(take, room);
        line_.append(in.substr(0, n));
        in.remove_prefix(n);
        if (line_.back() == '\n' || line_.size() >= kMaxLine) {
            line(line_, out);
            line_.clear();
        }
    }
}

DecodeError UuDecoder::finish(std::string& out) {
    if (!line_.empty()) {
        line(line_, out);
        line_.clear();
    }
    const bool found = state_ != State::seeking;
    if (state_ == State::decoding && !need_length_ && group_chars_ > 0) {
        // A partial group at the end still gives its bytes, up to the count.
        const int chars = group_chars_;
        group_ <<= 6 * (4 - chars);
        bytes_[0] = static_cast<char>(group_ >> 16);
        bytes_[1] = static_cast<char>(group_ >> 8);
        bytes_[2] = static_cast<char>(group_);
        bytes_n_ = 3;
        flush_pending(out);
    }
    state_ = State::done;
    return found ? DecodeError::none : DecodeError::no_data;
}

}  // namespace component::mime
