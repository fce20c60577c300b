// The member counters, in memory and through a page-cached file.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "bench/synthetic_source.h"
#include "engine/counting/line_bits.h"
#include "engine/counting/line_counter.h"

namespace tallix::bench {
namespace {

constexpr std::size_t kMemberSize = 8 << 20;

LineTally FeedInBlocks(SourceKind kind, std::string_view text, std::size_t blockSize) {
    LineCounter counter(kind);
    for (std::size_t at = 0; at < text.size(); at += blockSize) {
        counter.Feed(text.substr(at, blockSize));
    }
    return counter.Finish();
}

void ReportRates(benchmark::State& state, std::string_view text, const LineTally& tally) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.counters["lines"] = benchmark::Counter(
        static_cast<double>(state.iterations()) *
            static_cast<double>(
                FeedInBlocks(SourceKind::VbNet, text, text.size()).Counted(false, false)),
        benchmark::Counter::kIsRate);
    state.counters["counted"] = static_cast<double>(tally.Counted(false, false));
}

void BM_Vb6Counter(benchmark::State& state) {
    const std::string text = Vb6FormText(kMemberSize);
    LineTally tally;
    for (auto _ : state) {
        tally = FeedInBlocks(SourceKind::Vb6, text, kReadBlockSize);
        benchmark::DoNotOptimize(tally);
    }
    ReportRates(state, text, tally);
}
BENCHMARK(BM_Vb6Counter);

void BM_VbNetCounter(benchmark::State& state) {
    const std::string text = VbNetMemberText(kMemberSize);
    LineTally tally;
    for (auto _ : state) {
        tally = FeedInBlocks(SourceKind::VbNet, text, kReadBlockSize);
        benchmark::DoNotOptimize(tally);
    }
    ReportRates(state, text, tally);
}
BENCHMARK(BM_VbNetCounter);

// Small blocks put many lines across block boundaries, the counter's slow path.
void BM_Vb6CounterSmallBlocks(benchmark::State& state) {
    const std::string text = Vb6FormText(1 << 20);
    const auto blockSize = static_cast<std::size_t>(state.range(0));
    LineTally tally;
    for (auto _ : state) {
        tally = FeedInBlocks(SourceKind::Vb6, text, blockSize);
        benchmark::DoNotOptimize(tally);
    }
    ReportRates(state, text, tally);
}
BENCHMARK(BM_Vb6CounterSmallBlocks)->Arg(7)->Arg(64)->Arg(4096);

void BM_VbNetCounterLongLines(benchmark::State& state) {
    std::string text;
    const std::string line = "    s = \"" + std::string(4000, 'x') + "\"\r\n";
    while (text.size() < kMemberSize) {
        text += line;
    }
    LineTally tally;
    for (auto _ : state) {
        tally = FeedInBlocks(SourceKind::VbNet, text, kReadBlockSize);
        benchmark::DoNotOptimize(tally);
    }
    ReportRates(state, text, tally);
}
BENCHMARK(BM_VbNetCounterLongLines);

// The two builds of the bit-parallel classification, side by side: the portable one (SSE2
// on x86-64) that every machine runs, and the AVX2 one chosen where the processor has it.
// On a text that stays in the cache, as a block just read does.
template <bool kAvx2>
void BM_LineBits(benchmark::State& state) {
    const std::string text = Vb6FormText(kReadBlockSize);
    const char* begin = text.data();
    const char* end = begin + text.size() / line_bits::kChunk * line_bits::kChunk;
    std::int64_t lines = 0;
    for (auto _ : state) {
        line_bits::LineBits bits;
        if constexpr (kAvx2) {
#if TALLIX_HAVE_AVX2_PATH
            line_bits::AddChunksAvx2<true>(begin, end, end, bits);
#endif
        } else {
            line_bits::AddChunks<true>(begin, end, end, bits);
        }
        // All three counts, or the compiler drops the work behind the unused ones.
        lines = bits.Lines();
        std::int64_t classes[] = {bits.Lines(), bits.Blanks(), bits.Comments()};
        benchmark::DoNotOptimize(classes);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * (end - begin)));
    state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK_TEMPLATE(BM_LineBits, false)->Name("BM_LineBitsPortable");
#if TALLIX_HAVE_AVX2_PATH
BENCHMARK_TEMPLATE(BM_LineBits, true)->Name("BM_LineBitsAvx2");
#endif

// The whole path a member takes: open, read in blocks, count. The file stays in the page
// cache, so this measures the copy out of the cache and the scan, not the disk.
class TempMember {
public:
    explicit TempMember(const std::string& text)
        : path_(std::filesystem::temp_directory_path() /
                ("tallix-bench-" + std::to_string(std::random_device{}()) + ".frm")) {
        std::ofstream(path_, std::ios::binary) << text;
    }
    ~TempMember() { std::filesystem::remove(path_); }
    TempMember(const TempMember&) = delete;
    TempMember& operator=(const TempMember&) = delete;

    std::string Path() const { return path_.string(); }

private:
    std::filesystem::path path_;
};

void BM_TallyFile(benchmark::State& state) {
    const std::string text = Vb6FormText(kMemberSize);
    const TempMember member(text);
    FileTally file;
    for (auto _ : state) {
        file = TallyFile(member.Path(), SourceKind::Vb6);
        benchmark::DoNotOptimize(file);
    }
    if (file.problem.error != FileError::None) {
        state.SkipWithError("member not readable");
    }
    ReportRates(state, text, file.tally);
}
BENCHMARK(BM_TallyFile);

}  // namespace
}  // namespace tallix::bench
