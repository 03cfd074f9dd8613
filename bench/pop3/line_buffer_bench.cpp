// Splitting received data into lines: the per-byte cost of every download.
#include <benchmark/benchmark.h>

#include <string>

#include "component/transport/buffer.h"

using namespace component::transport;

namespace {

void BM_SplitLines(benchmark::State& state) {
    std::string chunk;
    while (chunk.size() < 16384 - 78) chunk += std::string(76, 'x') + "\r\n";
    Buffer buffer;
    for (auto _ : state) {
        buffer.Append(chunk.data(), static_cast<std::uint32_t>(chunk.size()));
        std::uint32_t length = 0;
        std::size_t total = 0;
        while (char* line = buffer.GetLine(&length)) total += length + static_cast<std::size_t>(line[0] != 0);
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * chunk.size()));
}
BENCHMARK(BM_SplitLines);

}  // namespace
