// The inventory's readers on arbitrary bytes: the member scanner must find the same fed
// whole, byte by byte and in blocks of any size, whichever way it walks the lines, count
// the lines as the line counter does, and stay within the lines there are; the reference readers
// take anything without failing. The first byte steers the block sizes; the rest is the text.

#include <optional>
#include <string>

#include "engine/counting/line_counter.h"
#include "engine/inventory/member_scanner.h"
#include "engine/inventory/project_description.h"
#include "engine/inventory/references.h"
#include "fuzz_support.h"

namespace tallix::fuzz {
namespace {

struct Scanned {
    MemberInventory inventory;
    LineTally tally;
};

// Fed whole without a plan.
Scanned ScanInBlocks(SourceKind kind, std::string_view bytes, std::optional<BlockPlan> plan) {
    MemberScanner scanner(kind);
    if (plan) {
        FeedInBlocks(scanner, bytes, *plan);
    } else {
        scanner.Feed(bytes);
    }
    MemberInventory inventory = scanner.Finish();
    return {std::move(inventory), scanner.Tally()};
}

void CheckScanner(SourceKind kind, std::string_view bytes, std::uint8_t planSeed) {
    const Scanned scanned = ScanInBlocks(kind, bytes, std::nullopt);
    const MemberInventory& whole = scanned.inventory;
    const Scanned byteByByte = ScanInBlocks(kind, bytes, BlockPlan(0));
    Require(byteByByte.inventory == whole,
            "scanning byte by byte, line by line, finds what the walk over whole blocks finds");
    const Scanned inBlocks = ScanInBlocks(kind, bytes, BlockPlan(planSeed));
    Require(inBlocks.inventory == whole, "scanning in blocks of any size finds the same");
    const LineTally tally = kind == SourceKind::Vb6 ? TallyVb6Text(bytes) : TallyVbNetText(bytes);
    Require(scanned.tally == tally && byteByByte.tally == tally && inBlocks.tally == tally,
            "the scanner counts the lines as the line counter does, fed in any blocks");
    const auto lines = static_cast<std::int64_t>(RawLines(bytes).size());
    const std::int64_t counted = tally.Counted(false, false);
    Require(whole.designerLines + counted <= lines,
            "designer lines and counted lines are never more than the lines there are");
    Require(whole.procedures + static_cast<std::int64_t>(whole.declares.size()) <= lines,
            "a line starts one statement at most");
    for (const DeclareStatement& declare : whole.declares) {
        Require(declare.line >= 1 && declare.line <= lines, "a Declare's line is a line");
    }
}

void CheckReferences(std::string_view bytes, std::uint8_t planSeed) {
    DescribeVb6Project(bytes);
    const std::vector<Reference> whole = ScanVbNetReferences(bytes);
    VbNetReferenceScanner pieces;
    FeedInBlocks(pieces, bytes, BlockPlan(planSeed));
    Require(pieces.References() == whole, "references read in pieces are those read whole");
    DesignerFileScanner designer;
    FeedInBlocks(designer, bytes, BlockPlan(planSeed));
    Require(designer.Finish().controls == ScanDesignerFileText(bytes).controls,
            "a designer file read in blocks gives the controls it gives whole");
}

}  // namespace
}  // namespace tallix::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    tallix::fuzz::CheckScanner(tallix::SourceKind::Vb6, bytes, data[0]);
    tallix::fuzz::CheckScanner(tallix::SourceKind::VbNet, bytes, data[0]);
    tallix::fuzz::CheckReferences(bytes, data[0]);
    return 0;
}
