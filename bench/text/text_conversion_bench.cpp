// Code page conversions of a 1 MB message body: what the component does for
// every message's Body on every check.
#include <benchmark/benchmark.h>

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

}  // namespace
