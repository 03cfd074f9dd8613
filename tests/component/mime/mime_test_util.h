// Small helpers shared by the message model tests.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace component::mime::test {

// Lines joined with CR LF, the last one ended too.
inline std::string crlf(std::initializer_list<std::string_view> lines) {
    std::string out;
    for (const std::string_view l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

}  // namespace component::mime::test
