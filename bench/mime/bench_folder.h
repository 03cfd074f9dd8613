#pragma once
// The generated folder both message benchmarks read: 1000 small multipart
// messages (quoted-printable text, Base64 HTML) and 100 large ones with a
// Base64 attachment, all in memory.
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace bench_mime {

inline std::string random_bytes(std::size_t n, std::uint32_t seed) {
    std::mt19937 rng(seed);
    std::string s(n, '\0');
    for (char& c : s) c = static_cast<char>(rng());
    return s;
}

// Base64 in 76-column lines, as mailers write it.
inline std::string base64_lines(std::string_view raw) {
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve(raw.size() / 3 * 4 + raw.size() / 57 * 2 + 8);
    std::size_t i = 0;
    int column = 0;
    for (; i + 3 <= raw.size(); i += 3) {
        const std::uint32_t v = (static_cast<std::uint8_t>(raw[i]) << 16) |
                                (static_cast<std::uint8_t>(raw[i + 1]) << 8) |
                                static_cast<std::uint8_t>(raw[i + 2]);
        out += kAlphabet[v >> 18];
        out += kAlphabet[(v >> 12) & 63];
        out += kAlphabet[(v >> 6) & 63];
        out += kAlphabet[v & 63];
        if (++column == 19) {
            out += "\r\n";
            column = 0;
        }
    }
    if (i < raw.size()) {
        const std::uint32_t v = static_cast<std::uint8_t>(raw[i]) << 16 |
                                (i + 1 < raw.size() ? static_cast<std::uint8_t>(raw[i + 1]) << 8 : 0);
        out += kAlphabet[v >> 18];
        out += kAlphabet[(v >> 12) & 63];
        out += i + 1 < raw.size() ? kAlphabet[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out + "\r\n";
}

inline std::string quoted_printable_text(std::size_t n, std::uint32_t seed) {
    static constexpr std::string_view kWords[] = {"the",   "message", "caf=E9",           "notifier",
                                                  "=3D",   "mail",    "r=C3=A9sum=C3=A9", "account",
                                                  "check", "server"};
    std::mt19937 rng(seed);
    std::string out;
    std::size_t column = 0;
    while (out.size() < n) {
        const std::string_view w = kWords[rng() % 10];
        out += w;
        out += ' ';
        column += w.size() + 1;
        if (column > 70) {
            out += "=\r\n";
            column = 0;
        }
    }
    return out + "\r\n";
}

inline std::string small_message(int i) {
    std::string m = "From: =?utf-8?q?J=C3=B6rg_Sender?= <sender" + std::to_string(i) +
                    "@example.com>\r\n"
                    "To: \"Doe, John\" <john@example.com>\r\n"
                    "Subject: =?iso-8859-1?q?Caf=E9_report?= number " +
                    std::to_string(i) +
                    "\r\n"
                    "Date: Tue, 5 Mar 2024 09:05:07 +0530\r\n"
                    "Message-ID: <" +
                    std::to_string(i) +
                    "@example.com>\r\n"
                    "MIME-Version: 1.0\r\n"
                    "Content-Type: multipart/alternative; boundary=\"=_alt_" +
                    std::to_string(i) +
                    "\"\r\n\r\n"
                    "This is a multi-part message in MIME format.\r\n";
    const std::string b = "--=_alt_" + std::to_string(i);
    m += b +
         "\r\nContent-Type: text/plain; charset=iso-8859-1\r\nContent-Transfer-Encoding: "
         "quoted-printable\r\n\r\n";
    m += quoted_printable_text(4500, static_cast<std::uint32_t>(i));
    m += b + "\r\nContent-Type: text/html; charset=utf-8\r\nContent-Transfer-Encoding: base64\r\n\r\n";
    m += base64_lines(random_bytes(3500, static_cast<std::uint32_t>(i) + 7));
    return m + b + "--\r\n";
}

inline std::string large_message(int i) {
    std::string m = "From: Sender <big" + std::to_string(i) +
                    "@example.com>\r\n"
                    "Subject: =?utf-8?b?QXR0YWNobWVudA==?=\r\n"
                    "Date: 5 Mar 24 09:05 EST\r\n"
                    "Content-Type: multipart/mixed; boundary=\"mix\"\r\n\r\n"
                    "--mix\r\nContent-Type: text/plain\r\n\r\nSee the attachment.\r\n"
                    "--mix\r\nContent-Type: application/octet-stream; name=\"data.bin\"\r\n"
                    "Content-Disposition: attachment; filename=\"data.bin\"\r\n"
                    "Content-Transfer-Encoding: base64\r\n\r\n";
    m += base64_lines(random_bytes(148000, static_cast<std::uint32_t>(i) + 100));
    return m + "--mix--\r\n";
}

struct Folder {
    std::vector<std::string> messages;
    std::size_t bytes = 0;
};

inline const Folder& folder(int small, int large) {
    static std::vector<std::pair<std::pair<int, int>, Folder>> cache;
    for (auto& [key, f] : cache)
        if (key == std::pair{small, large}) return f;
    Folder f;
    for (int i = 0; i < small; ++i) f.messages.push_back(small_message(i));
    for (int i = 0; i < large; ++i) f.messages.push_back(large_message(i));
    for (const auto& m : f.messages) f.bytes += m.size();
    cache.emplace_back(std::pair{small, large}, std::move(f));
    return cache.back().second;
}

}  // namespace bench_mime
