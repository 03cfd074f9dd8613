// Code page conversions of a 1 MB message body: what the component does for
// every message's Body on every check. The UTF-8 conversions are set beside
// GLib's, the yardstick for keeping our own.
#include <benchmark/benchmark.h>
#include <glib.h>

#include <memory>
#include <string>

#include "platform/text/code_page.h"
#include "platform/text/utf8.h"

namespace {

constexpr std::size_t kSize = 1 << 20;

// Mostly ASCII mail text with some Windows-1252 letters and punctuation.
std::string MakeAnsiText() {
    const std::string line =
        "Dear customer, your order \x93"
        "caf\xE9\x94 costs \x80"
        "12 \x96 thanks\r\n";
    std::string text;
    text.reserve(kSize + line.size());
    while (text.size() < kSize) text += line;
    text.resize(kSize);
    return text;
}

void BM_FromAnsi(benchmark::State& state) {
    const std::string bytes = MakeAnsiText();
    for (auto _ : state) {
        benchmark::DoNotOptimize(text::FromAnsi(bytes));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_FromAnsi);

void BM_ToAnsi(benchmark::State& state) {
    const std::u16string wide = text::FromAnsi(MakeAnsiText());
    for (auto _ : state) {
        benchmark::DoNotOptimize(text::ToAnsi(wide));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * wide.size()));
}
BENCHMARK(BM_ToAnsi);

void BM_FromUtf8(benchmark::State& state) {
    const std::string bytes = text::ToUtf8(text::FromAnsi(MakeAnsiText()));
    for (auto _ : state) {
        benchmark::DoNotOptimize(text::FromUtf8(bytes));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_FromUtf8);

struct GFreeDeleter {
    void operator()(void* p) const { g_free(p); }
};

// GLib's way to the same result for valid input: check, then convert into a
// buffer of its own that is copied out (it stops at a NUL byte, and gives
// nothing for ill-formed input).
void BM_FromUtf8GLib(benchmark::State& state) {
    const std::string bytes = text::ToUtf8(text::FromAnsi(MakeAnsiText()));
    for (auto _ : state) {
        std::u16string out;
        if (g_utf8_validate_len(bytes.data(), bytes.size(), nullptr)) {
            glong n = 0;
            const std::unique_ptr<gunichar2, GFreeDeleter> wide(
                g_utf8_to_utf16(bytes.data(), static_cast<glong>(bytes.size()), nullptr, &n, nullptr));
            out.assign(reinterpret_cast<const char16_t*>(wide.get()), static_cast<std::size_t>(n));
        }
        benchmark::DoNotOptimize(out);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_FromUtf8GLib);

void BM_ToUtf8(benchmark::State& state) {
    const std::u16string wide = text::FromAnsi(MakeAnsiText());
    for (auto _ : state) {
        benchmark::DoNotOptimize(text::ToUtf8(wide));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * wide.size()));
}
BENCHMARK(BM_ToUtf8);

void BM_ToUtf8GLib(benchmark::State& state) {
    const std::u16string wide = text::FromAnsi(MakeAnsiText());
    for (auto _ : state) {
        glong n = 0;
        const std::unique_ptr<gchar, GFreeDeleter> bytes(
            g_utf16_to_utf8(reinterpret_cast<const gunichar2*>(wide.data()), static_cast<glong>(wide.size()),
                            nullptr, &n, nullptr));
        benchmark::DoNotOptimize(std::string(bytes.get(), static_cast<std::size_t>(n)));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * wide.size()));
}
BENCHMARK(BM_ToUtf8GLib);

}  // namespace
