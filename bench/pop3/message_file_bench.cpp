// Reading a message from its file: what every member that reads a large
// message (one that went to a file while it arrived) costs first.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "component/protocol/pop3_msg.h"
#include "platform/text/code_page.h"

using component::protocol::CPop3Msg;

namespace {

void BM_ReadMessageFile(benchmark::State& state) {
    const char* dir = std::getenv("TMPDIR");
    const std::string path =
        std::string(dir != nullptr && *dir != '\0' ? dir : "/tmp") + "/bench-message.eml";
    std::string message = "Subject: bench\r\nFrom: a@b.example\r\n\r\n";
    while (message.size() < static_cast<std::size_t>(state.range(0)))
        message += std::string(76, 'x') + "\r\n";
    { std::ofstream(path, std::ios::binary) << message; }
    const auto msg = com::MakeComObject<CPop3Msg>();
    const com::Bstr name(text::FromAnsi(path));
    const com::Bstr none(u"");
    for (auto _ : state) {
        // Naming the file anew drops what was read from it.
        msg->put_Filename(none.Get());
        msg->put_Filename(name.Get());
        com::Bstr subject;
        msg->get_Subject(subject.ReleaseAndGetAddressOf());
        benchmark::DoNotOptimize(subject.Get());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * message.size()));
    unlink(path.c_str());
}
BENCHMARK(BM_ReadMessageFile)->Arg(64 << 10)->Arg(4 << 20);

}  // namespace
