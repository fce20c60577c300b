// Code page 936 decoding and encoding, UTF-8 checking, and decoded line reading.

#include <benchmark/benchmark.h>

#include "bench/synthetic_source.h"
#include "engine/text/codepage.h"
#include "engine/text/text_decoding.h"
#include "engine/text/text_lines.h"

namespace tallix::bench {
namespace {

constexpr std::size_t kTextSize = 1 << 20;

template <typename Convert>
void RunConversion(benchmark::State& state, const std::string& input, Convert convert) {
    for (auto _ : state) {
        const std::string out = convert(input);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
}

void BM_AnsiToUtf8Chinese(benchmark::State& state) {
    RunConversion(state, ChineseText(kTextSize), AnsiToUtf8);
}
BENCHMARK(BM_AnsiToUtf8Chinese);

void BM_AnsiToUtf8Source(benchmark::State& state) {
    RunConversion(state, Vb6FormText(kTextSize), AnsiToUtf8);
}
BENCHMARK(BM_AnsiToUtf8Source);

void BM_Utf8ToAnsiChinese(benchmark::State& state) {
    RunConversion(state, AnsiToUtf8(ChineseText(kTextSize)), Utf8ToAnsi);
}
BENCHMARK(BM_Utf8ToAnsiChinese);

void BM_SanitizeUtf8Chinese(benchmark::State& state) {
    RunConversion(state, AnsiToUtf8(ChineseText(kTextSize)), SanitizeUtf8);
}
BENCHMARK(BM_SanitizeUtf8Chinese);

// Line reading decodes every line on its own, which is what the readers pay per line.
void BM_SplitTextLinesSource(benchmark::State& state) {
    const std::string text = Vb6FormText(kTextSize);
    std::size_t lines = 0;
    for (auto _ : state) {
        TextLineReader reader([&](std::string_view line) {
            ++lines;
            benchmark::DoNotOptimize(line.data());
        });
        reader.Feed(text);
        reader.Finish();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.counters["lines"] =
        benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SplitTextLinesSource);

}  // namespace
}  // namespace tallix::bench
