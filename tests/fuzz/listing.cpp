// The listing's reader, decoder and wrapper on arbitrary bytes, fed in blocks of every size:
// it must list exactly as many lines as the counter counts, under both kinds and all four
// option pairs, whatever the blocks; the lines it lists must decode as counting decodes them
// and print on as many lines as the first pass measures. The first byte steers the block
// sizes; the rest is the member.

#include <string>
#include <vector>

#include "engine/counting/line_counter.h"
#include "engine/listing/counted_lines.h"
#include "engine/listing/decoded_lines.h"
#include "engine/listing/listing.h"
#include "fuzz_support.h"

namespace tallix::fuzz {
namespace {

constexpr ListingStyle kStyle{8, U'?', U'\\'};

class KeepLines : public TextLineSink {
public:
    void Text(std::string_view utf8, bool endsLine) override {
        current += utf8;
        if (endsLine) {
            lines.push_back(std::move(current));
            current.clear();
        }
    }
    std::vector<std::string> lines;
    std::string current;
};

// The source's bytes in the blocks of a plan.
class PlannedSource : public ByteSource {
public:
    PlannedSource(std::string_view bytes, std::uint8_t seed) : bytes_(bytes), plan_(seed) {}
    std::size_t Read(char* buffer, std::size_t size) override {
        const std::size_t got = std::min({size, plan_.Next(), bytes_.size()});
        bytes_.copy(buffer, got);
        bytes_.remove_prefix(got);
        return got;
    }
    const FileProblem& Problem() const override { return problem_; }

private:
    std::string_view bytes_;
    BlockPlan plan_;
    FileProblem problem_;
};

void Check(SourceKind kind, CountOptions options, std::string_view bytes, std::uint8_t seed) {
    const LineTally tally = kind == SourceKind::Vb6 ? TallyVb6Text(bytes) : TallyVbNetText(bytes);
    KeepLines whole;
    LineDecoder wholeDecoder(whole);
    CountedLineReader wholeReader(kind, options, wholeDecoder);
    wholeReader.Feed(bytes);
    wholeReader.Finish();
    Require(static_cast<std::int64_t>(whole.lines.size()) ==
                tally.Counted(options.skipBlankLines, options.skipCommentLines),
            "a listing lists exactly the lines the counter counts");
    Require(whole.current.empty(), "every listed line is ended");

    KeepLines blocks;
    LineDecoder blockDecoder(blocks);
    CountedLineReader blockReader(kind, options, blockDecoder);
    FeedInBlocks(blockReader, bytes, BlockPlan(seed));
    blockReader.Finish();
    Require(blocks.lines == whole.lines, "the listed text does not depend on the blocks");

    std::int64_t printed = 0;
    for (const std::string& line : whole.lines) {
        Require(IsValidUtf8(line), "listed lines are UTF-8");
        printed += PrintedLinesOf(line, kStyle);
    }
    PlannedSource source(bytes, seed);
    const MemberMeasure measure = MeasureSource(source, kind, options, kStyle);
    Require(measure.lines == static_cast<std::int64_t>(whole.lines.size()),
            "the first pass counts the listed lines");
    Require(measure.printed == printed, "the first pass measures what the wrapper prints");
}

}  // namespace
}  // namespace tallix::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    for (const auto kind : {tallix::SourceKind::Vb6, tallix::SourceKind::VbNet}) {
        for (const bool skipBlank : {false, true}) {
            for (const bool skipComments : {false, true}) {
                tallix::fuzz::Check(kind, {skipBlank, skipComments}, bytes, data[0]);
            }
        }
    }
    return 0;
}
