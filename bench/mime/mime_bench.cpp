// Base64 decoding of a large body, and parse + full decode of a generated
// folder of messages (files already in memory, output to a null sink).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/mime/bench_folder.h"

#include "component/mime/base64_decoder.h"
#include "component/mime/date_parser.h"
#include "component/mime/header_values.h"
#include "component/mime/mapped_file.h"
#include "component/mime/mime_tree.h"
#include "component/mime/text_parts.h"
#include "component/mime/transfer_decoder.h"

namespace {

using namespace component::mime;
using namespace bench_mime;

// Decoded subject, sender name and date, every part walked, every leaf's
// transfer encoding decoded to a null sink.
std::size_t parse_and_decode(std::string_view message) {
    std::size_t sink = 0;
    const MimeTree tree = MimeTree::parse(message);
    const Headers& h = tree.root().headers;
    sink += header_text(h, "Subject").size();
    sink += extract_name(header_unfolded(h, "From")).size();
    if (const auto d = parse_date_local(header_unfolded(h, "Date"), 0))
        sink += static_cast<std::size_t>(d->day);
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

// The folder written out as message files, each opened, mapped and read
// through once, as the component does before it parses a message.
void BM_MapFolderFiles(benchmark::State& state) {
    const Folder& f = folder(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "veltrane_mime_bench_map";
    std::filesystem::create_directories(dir);
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < f.messages.size(); ++i) {
        paths.push_back((dir / (std::to_string(i) + ".msg")).string());
        std::ofstream(paths.back(), std::ios::binary) << f.messages[i];
    }
    for (auto _ : state) {
        std::size_t sink = 0;
        for (const std::string& path : paths) {
            const auto mapped = MappedFile::open(path);
            if (!mapped)
                state.SkipWithError("a message file did not map");
            else
                for (const char c : mapped->bytes()) sink += static_cast<unsigned char>(c);
        }
        benchmark::DoNotOptimize(sink);
    }
    std::filesystem::remove_all(dir);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.bytes));
}
BENCHMARK(BM_MapFolderFiles)
    ->Args({1000, 0})
    ->Args({0, 100})
    ->ArgNames({"small", "large"})
    ->Unit(benchmark::kMillisecond);

}  // namespace
