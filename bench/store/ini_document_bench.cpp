// Writing a rules file key by key: six keys per rule section, as the rules
// module writes it. The time per rule must stay flat as the file grows (a new
// index per key, or a search through every section per key, made 3 000 rules
// take seconds); the fitted complexity shows it.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/store/ini_document.h"

namespace {

void BM_SetKeyByKey(benchmark::State& state) {
    const int rules = static_cast<int>(state.range(0));
    for (auto _ : state) {
        platform::store::IniDocument doc;
        for (int i = 1; i <= rules; ++i)
            for (const char* key : {"Name", "Enabled", "Account", "Action", "DescCount", "Description1"})
                if (doc.Set("Rule" + std::to_string(i), key, std::to_string(i)))
                    state.SkipWithError("Set failed");
        benchmark::DoNotOptimize(doc);
    }
    state.SetComplexityN(rules);
    state.SetItemsProcessed(state.iterations() * rules * 6);
}
BENCHMARK(BM_SetKeyByKey)
    ->RangeMultiplier(2)
    ->Range(500, 4000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oAuto);

}  // namespace
