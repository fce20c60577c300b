// The project readers, on a project of the list's size and on an oversized one.

#include <benchmark/benchmark.h>

#include "bench/synthetic_source.h"
#include "engine/projects/project_readers.h"

namespace tallix::bench {
namespace {

void BM_ReadVb6Project(benchmark::State& state) {
    const std::string text = Vb6ProjectText(static_cast<int>(state.range(0)));
    std::size_t names = 0;
    for (auto _ : state) {
        const auto members = ReadVb6Project(text);
        names = members.size();
        benchmark::DoNotOptimize(members.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.counters["members"] = static_cast<double>(names);
}
BENCHMARK(BM_ReadVb6Project)->Arg(81)->Arg(5000);

void BM_ReadVbNetProject(benchmark::State& state) {
    const std::string text = VbNetProjectText(static_cast<int>(state.range(0)));
    std::size_t names = 0;
    for (auto _ : state) {
        const auto members = ReadVbNetProject(text);
        names = members.size();
        benchmark::DoNotOptimize(members.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.counters["members"] = static_cast<double>(names);
}
BENCHMARK(BM_ReadVbNetProject)->Arg(81)->Arg(5000);

}  // namespace
}  // namespace tallix::bench
