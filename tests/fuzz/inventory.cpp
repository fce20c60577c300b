// The inventory's readers on arbitrary bytes: the member scanner must find the same fed
// whole, byte by byte and in blocks of any size, whichever way it walks the lines, and stay
// within the lines there are; the reference readers take anything without failing. The first
// byte steers the block sizes; the rest is the text.

#include <string>

#include "engine/counting/line_counter.h"
#include "engine/inventory/member_scanner.h"
#include "engine/inventory/project_description.h"
#include "engine/inventory/references.h"
#include "fuzz_support.h"

namespace tallix::fuzz {
namespace {

MemberInventory ScanInBlocks(SourceKind kind, std::string_view bytes, BlockPlan plan) {
    MemberScanner scanner(kind);
    FeedInBlocks(scanner, bytes, plan);
    return scanner.Finish();
}

void CheckScanner(SourceKind kind, std::string_view bytes, std::uint8_t planSeed) {
    const MemberInventory whole = ScanMemberText(bytes, kind);
    Require(ScanInBlocks(kind, bytes, BlockPlan(0)) == whole,
            "scanning byte by byte, line by line, finds what the walk over whole blocks finds");
    Require(ScanInBlocks(kind, bytes, BlockPlan(planSeed)) == whole,
            "scanning in blocks of any size finds the same");
    const auto lines = static_cast<std::int64_t>(RawLines(bytes).size());
    const std::int64_t counted = kind == SourceKind::Vb6
                                     ? TallyVb6Text(bytes).Counted(false, false)
                                     : TallyVbNetText(bytes).Counted(false, false);
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
