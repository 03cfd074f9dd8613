// Base64 decoding of a large body, and parse + full decode of a generated
// folder of messages (files already in memory, output to a null sink).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "component/mime/base64_decoder.h"
#include "component/mime/date_parser.h"
#include "component/mime/header_values.h"
#include "component/mime/mime_tree.h"
#include "component/mime/text_parts.h"
#include "component/mime/transfer_decoder.h"

namespace {

using namespace component::mime;

std::string random_bytes(std::size_t n, std::uint32_t seed) {
    std::mt19937 rng(seed);
    std::string s(n, '\0');
    for (char& c : s) c = static_cast<char>(rng());
    return s;
}

// Base64 in 76-column lines, as mailers write it.
std::string base64_lines(std::string_view raw) {
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve(raw.size() / 3 * 4 + raw.size() / 57 * 2 + 8);
    std::size_t i = 0;
    int column = 0;
    for (; i + 3 <= raw.size(); i += 3) {
        const std::uint32_t v = (static_cast<std::uint8_t>(raw[i]) << 16) | (static_cast<std::uint8_t>(raw[i + 1]) << 8) |
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

std::string quoted_printable_text(std::size_t n, std::uint32_t seed) {
    static constexpr std::string_view kWords[] = {"the", "message", "caf=E9", "notifier", "=3D", "mail", "r=C3=A9sum=C3=A9",
                                                  "account", "check", "server"};
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

std::string small_message(int i) {
    std::string m = "From: =?utf-8?q?J=C3=B6rg_Sender?= <sender" + std::to_string(i) + "@example.com>\r\n"
                    "To: \"Doe, John\" <john@example.com>\r\n"
                    "Subject: =?iso-8859-1?q?Caf=E9_report?= number " + std::to_string(i) + "\r\n"
                    "Date: Tue, 5 Mar 2024 09:05:07 +0530\r\n"
                    "Message-ID: <" + std::to_string(i) + "@example.com>\r\n"
                    "MIME-Version: 1.0\r\n"
                    "Content-Type: multipart/alternative; boundary=\"=_alt_" + std::to_string(i) + "\"\r\n\r\n"
                    "This is a multi-part message in MIME format.\r\n";
    const std::string b = "--=_alt_" + std::to_string(i);
    m += b + "\r\nContent-Type: text/plain; charset=iso-8859-1\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\n";
    m += quoted_printable_text(4500, static_cast<std::uint32_t>(i));
    m += b + "\r\nContent-Type: text/html; charset=utf-8\r\nContent-Transfer-Encoding: base64\r\n\r\n";
    m += base64_lines(random_bytes(3500, static_cast<std::uint32_t>(i) + 7));
    return m + b + "--\r\n";
}

std::string large_message(int i) {
    std::string m = "From: Sender <big" + std::to_string(i) + "@example.com>\r\n"
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

const Folder& folder(int small, int large) {
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

// Decoded subject, sender name and date, every part walked, every leaf's
// transfer encoding decoded to a null sink.
std::size_t parse_and_decode(std::string_view message) {
    std::size_t sink = 0;
    const MimeTree tree = MimeTree::parse(message);
    const Headers& h = tree.root().headers;
    sink += header_text(h, "Subject").size();
    sink += extract_name(header_unfolded(h, "From")).size();
    if (const auto d = parse_date_local(header_unfolded(h, "Date"), 0)) sink += static_cast<std::size_t>(d->day);
    for (std::size_t i = 0; i < tree.size(); ++i) {
        const MimeNode& n = tree.node(i);
        if (!n.children.empty() || (i == 0 && tree.size() > 1)) continue;
        AttachmentEncodingsEnum e = encoding_from_headers(n.headers);
        if (e == encUNKNOWN) e = enc7BIT;
        decode_stream(e, tree.content(n), [&sink](std::string_view s) { sink += s.size(); });
    }
    return sink;
}

void BM_Base64Decode20MB(benchmark::State& state) {
    const std::string text = base64_lines(random_bytes(20 * 1000 * 1000 * 3 / 4, 1));
    std::string out;
    out.reserve(1 << 17);
    for (auto _ : state) {
        Base64Decoder d;
        std::size_t total = 0;
        for (std::size_t i = 0; i < text.size(); i += 65536) {
            d.feed(std::string_view(text).substr(i, 65536), out);
            total += out.size();
            out.clear();
        }
        d.finish(out);
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_Base64Decode20MB)->Unit(benchmark::kMillisecond);

void BM_ParseDecodeFolder(benchmark::State& state) {
    const Folder& f = folder(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        std::size_t sink = 0;
        for (const auto& m : f.messages) sink += parse_and_decode(m);
        benchmark::DoNotOptimize(sink);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.bytes));
    state.counters["messages"] = static_cast<double>(f.messages.size());
    state.counters["MB"] = static_cast<double>(f.bytes) / 1e6;
}
BENCHMARK(BM_ParseDecodeFolder)
    ->Args({1000, 100})
    ->Args({1000, 0})
    ->Args({0, 100})
    ->ArgNames({"small", "large"})
    ->Unit(benchmark::kMillisecond);

}  // namespace
