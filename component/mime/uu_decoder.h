// UU decoding. Lines before the first one containing "begin" are skipped; a
// line beginning with "end" stops. Each line starts with a length character
// ((c - 32) & 63 bytes) followed by groups of four characters (three bytes
// each). Characters after the counted bytes on a line are ignored; a line short
// of its count continues on the next line.
#pragma once

#include <string>
#include <string_view>

#include "component/mime/transfer_decoder.h"

namespace component::mime {

class UuDecoder final : public TransferDecoder {
public:
    void feed(std::string_view in, std::string& out) override;
    DecodeError finish(std::string& out) override;

private:
    void line(std::string_view text, std::string& out);
    void flush_pending(std::string& out);

    enum class State { seeking, decoding, done };
    State state_ = State::seeking;
    std::string line_;         // the line being assembled (bounded)
    bool need_length_ = true;  // the next character is a length character
    int length_ = 0;           // bytes announced by the length character
    int written_ = 0;          // bytes of this count already written
    unsigned group_ = 0;       // bits of the current group
    int group_chars_ = 0;
    char bytes_[3] = {};  // decoded bytes not yet counted out
    int bytes_n_ = 0;
};

}  // namespace component::mime
