// Both member counters on arbitrary bytes, fed in blocks of every size: the counts must not
// depend on where the blocks end, must match a line-by-line reading of the decoded text, and
// the two builds of the bit-parallel classification must agree. The first byte steers the
// block sizes; the rest is the text.

#include <string>

#include "engine/counting/line_bits.h"
#include "engine/counting/line_counter.h"
#include "engine/text/text_lines.h"
#include "fuzz_support.h"

namespace tallix::fuzz {
namespace {

LineTally CountInBlocks(SourceKind kind, std::string_view bytes, BlockPlan plan) {
    LineCounter counter(kind);
    FeedInBlocks(counter, bytes, plan);
    return counter.Finish();
}

// The counting rules read off the decoded lines, one at a time.
LineTally ReferenceTally(SourceKind kind, std::string_view bytes) {
    LineTally tally;
    bool codeFlag = false;
    for (const std::string& line : SplitTextLines(bytes)) {
        if (kind == SourceKind::Vb6) {
            if (line.starts_with("Attribute VB_Name")) {
                codeFlag = true;
            }
            if (!codeFlag || line.starts_with("Attribute VB_")) {
                continue;
            }
        }
        const auto first = line.find_first_not_of(' ');
        if (first == std::string::npos) {
            ++tally.blank;
        } else if (line[first] == '\'') {
            ++tally.comment;
        } else {
            ++tally.code;
        }
    }
    return tally;
}

void CheckCounter(SourceKind kind, std::string_view bytes, std::uint8_t planSeed) {
    const LineTally whole = kind == SourceKind::Vb6 ? TallyVb6Text(bytes) : TallyVbNetText(bytes);
    const auto lines = static_cast<std::int64_t>(RawLines(bytes).size());
    const std::int64_t counted = whole.Counted(false, false);
    Require(counted <= lines, "a counter never counts more lines than there are");
    if (kind == SourceKind::VbNet) {
        Require(counted == lines, "the VB.NET count with both options off is the line count");
    }
    Require(CountInBlocks(kind, bytes, BlockPlan(0)) == whole,
            "counting byte by byte gives the same tally");
    Require(CountInBlocks(kind, bytes, BlockPlan(planSeed)) == whole,
            "counting in blocks of any size gives the same tally");
    Require(ReferenceTally(kind, bytes) == whole,
            "the tally matches a line-by-line reading of the decoded text");
}

template <bool kVb6>
void CheckBuildsAgree(const char* begin, const char* runEnd) {
    const line_bits::LineBits portable = line_bits::ClassifyRun<kVb6>(begin, runEnd, false);
    const line_bits::LineBits chosen =
        line_bits::ClassifyRun<kVb6>(begin, runEnd, line_bits::PreferAvx2());
    Require(portable.Lines() == chosen.Lines() && portable.Blanks() == chosen.Blanks() &&
                portable.Comments() == chosen.Comments(),
            "the portable and AVX2 classifications agree");
}

// The classification takes runs of whole lines: the bytes up to the last line end.
void CheckClassificationBuilds(std::string_view bytes) {
    const auto last = bytes.find_last_of("\r\n");
    if (last == std::string_view::npos) {
        return;
    }
    CheckBuildsAgree<true>(bytes.data(), bytes.data() + last + 1);
    CheckBuildsAgree<false>(bytes.data(), bytes.data() + last + 1);
}

}  // namespace
}  // namespace tallix::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    tallix::fuzz::CheckCounter(tallix::SourceKind::Vb6, bytes, data[0]);
    tallix::fuzz::CheckCounter(tallix::SourceKind::VbNet, bytes, data[0]);
    tallix::fuzz::CheckClassificationBuilds(bytes);
    return 0;
}
