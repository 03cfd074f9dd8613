#include "component/mime/quoted_printable_decoder.h"

#include <cstring>

#include "component/mime/hex.h"

namespace component::mime {

void QuotedPrintableDecoder::feed(std::string_view in, std::string& out) {
    out.reserve(out.size() + in.size());
    std::size_t i = 0;
    while (i < in.size()) {
        switch (state_) {
            case State::text: {
                // Copy the run up to the next "=" in one go.
                const void* eq = std::memchr(in.data() + i, '=', in.size() - i);
                const std::size_t stop =
                    eq ? static_cast<std::size_t>(static_cast<const char*>(eq) - in.data()) : in.size();
                out.append(in.data() + i, stop - i);
                i = stop;
                if (i < in.size()) {
                    state_ = State::equals;
                    ++i;
                }
                break;
            }
            case State::equals: {
                const char c = in[i++];
                if (c == '\n') {
                    state_ = State::text;  // soft line break with a bare LF
                } else {
                    first_ = c;
                    state_ = State::equals_one;
                }
                break;
            }
            case State::equals_one: {
                const char c = in[i];
                state_ = State::text;
                if (first_ == '\r' && c == '\n') {
                    ++i;  // soft line break
                } else if (hex_value(first_) >= 0 && hex_value(c) >= 0) {
                    out.push_back(static_cast<char>(hex_value(first_) * 16 + hex_value(c)));
                    ++i;
                } else {
                    // Not an escape: keep "=" and its first character, then read c afresh.
                    out.push_back('=');
                    if (first_ == '=') {
                        state_ = State::equals;
                    } else {
                        out.push_back(first_);
                    }
                }
                break;
            }
        }
    }
}

DecodeError QuotedPrintableDecoder::finish(std::string& out) {
    switch (state_) {
        case State::text:
            break;
        case State::equals:
            break;  // "=" at the very end: a soft break
        case State::equals_one:
            out.push_back('=');
            if (first_ != '\r') out.push_back(first_);
            break;
    }
    state_ = State::text;
    return DecodeError::none;
}

}  // namespace component::mime
