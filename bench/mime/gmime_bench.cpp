// The same folder and the same work as mime_bench (decoded subject, sender
// name and date, every leaf's transfer encoding decoded to a null sink),
// done by GMime, a MIME library used here only as the yardstick.
#include <benchmark/benchmark.h>
#include <gmime/gmime.h>

#include "bench/mime/bench_folder.h"

namespace {

using namespace bench_mime;

struct GMimeInit {
    GMimeInit() { g_mime_init(); }
    ~GMimeInit() { g_mime_shutdown(); }
};

void decode_leaf(GMimeObject*, GMimeObject* part, gpointer sink) {
    if (!GMIME_IS_PART(part)) return;
    GMimeDataWrapper* content = g_mime_part_get_content(GMIME_PART(part));
    if (content == nullptr) return;
    GMimeStream* null = g_mime_stream_null_new();
    g_mime_data_wrapper_write_to_stream(content, null);
    *static_cast<std::size_t*>(sink) += static_cast<std::size_t>(GMIME_STREAM_NULL(null)->written);
    g_object_unref(null);
}

std::size_t parse_and_decode(const std::string& message) {
    std::size_t sink = 0;
    GMimeStream* stream = g_mime_stream_mem_new_with_buffer(message.data(), message.size());
    GMimeParser* parser = g_mime_parser_new_with_stream(stream);
    GMimeMessage* msg = g_mime_parser_construct_message(parser, nullptr);
    if (msg != nullptr) {
        if (const char* subject = g_mime_message_get_subject(msg)) sink += strlen(subject);
        InternetAddressList* from = g_mime_message_get_from(msg);
        if (from != nullptr && internet_address_list_length(from) > 0)
            if (const char* name = internet_address_get_name(internet_address_list_get_address(from, 0)))
                sink += strlen(name);
        if (GDateTime* date = g_mime_message_get_date(msg))
            sink += static_cast<std::size_t>(g_date_time_get_day_of_month(date));
        g_mime_message_foreach(msg, decode_leaf, &sink);
        g_object_unref(msg);
    }
    g_object_unref(parser);
    g_object_unref(stream);
    return sink;
}

void BM_GMime_Base64Decode20MB(benchmark::State& state) {
    static GMimeInit init;
    const std::string text = base64_lines(random_bytes(20 * 1000 * 1000 * 3 / 4, 1));
    std::string out(65536 * 3 / 4 + 16, '\0');
    for (auto _ : state) {
        GMimeEncoding enc;
        g_mime_encoding_init_decode(&enc, GMIME_CONTENT_ENCODING_BASE64);
        std::size_t total = 0;
        for (std::size_t i = 0; i < text.size(); i += 65536) {
            const std::size_t n = std::min<std::size_t>(65536, text.size() - i);
            total += g_mime_encoding_step(&enc, text.data() + i, n, out.data());
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_GMime_Base64Decode20MB)->Unit(benchmark::kMillisecond);

void BM_GMime_ParseDecodeFolder(benchmark::State& state) {
    static GMimeInit init;
    const Folder& f = folder(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        std::size_t sink = 0;
        for (const auto& m : f.messages) sink += parse_and_decode(m);
        benchmark::DoNotOptimize(sink);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.bytes));
}
BENCHMARK(BM_GMime_ParseDecodeFolder)
    ->Args({1000, 100})
    ->Args({1000, 0})
    ->Args({0, 100})
    ->ArgNames({"small", "large"})
    ->Unit(benchmark::kMillisecond);

}  // namespace
