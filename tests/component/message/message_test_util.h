#pragma once
// Message objects over text written to a file, and readable results.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

#include "component/protocol/pop3_msg.h"
#include "platform/text/code_page.h"

namespace msgtest {

using component::protocol::CPop3Msg;

inline std::string TempDir() {
    const char* dir = std::getenv("TMPDIR");
    return dir != nullptr && *dir != '\0' ? dir : "/tmp";
}

inline std::string Narrow(std::u16string_view text) { return text::ToAnsi(text); }
inline com::Bstr Wide(std::string_view text) { return com::Bstr(text::FromAnsi(text)); }

// A message that owns a temporary file holding `text`, as a download leaves it.
inline com::ComPtr<CPop3Msg> Downloaded(std::string_view text) {
    auto message = com::MakeComObject<CPop3Msg>();
    message->PrepareDownload(false);
    EXPECT_EQ(message->WriteFile(text), com::S_OK);
    message->SetEndOffset(static_cast<std::int32_t>(text.size()));
    return message;
}

// A message after a headers-only retrieval of `headerLines` (each ended by CR LF).
inline com::ComPtr<CPop3Msg> HeadersOnly(std::string_view headerLines) {
    auto message = com::MakeComObject<CPop3Msg>();
    message->PrepareDownload(true);
    std::string_view rest = headerLines;
    while (!rest.empty()) {
        const auto end = rest.find("\r\n");
        message->AppendMemoryLine(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 2);
    }
    message->SetEndOffset(0);
    message->AppendMemoryLine("");
    return message;
}

template <class Object, class Getter>
std::string Text(Object* object, Getter getter) {
    com::Bstr value;
    const com::HRESULT hr = (object->*getter)(value.ReleaseAndGetAddressOf());
    EXPECT_EQ(hr, com::S_OK);
    return Narrow(value.View());
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

inline bool FileExists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

}  // namespace msgtest
