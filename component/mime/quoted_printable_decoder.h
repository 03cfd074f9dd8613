// Quoted-printable (RFC 2045 6.7). "=" with two hex digits (either case) is
// one byte; "=" before a line end (CR LF or a bare LF) joins the lines; an "="
// that starts no valid pair is kept literally with what follows it. "_" is an
// ordinary character here (it means a space only in RFC 2047 Q words).
#pragma once

#include <string>
#include <string_view>

#include "component/mime/transfer_decoder.h"

namespace component::mime {

class QuotedPrintableDecoder final : public TransferDecoder {
public:
    void feed(std::string_view in, std::string& out) override;
    DecodeError finish(std::string& out) override;

private:
    enum class State { text, equals, equals_one };
    State state_ = State::text;
    char first_ = 0;  // the character after "=" in state equals_one
};

}  // namespace component::mime
