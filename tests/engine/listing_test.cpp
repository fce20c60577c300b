// The two passes of a listing over real files: what the first learns of each member, the
// printed lines the second hands on for the deposited pages, and the members of projects and
// sets, found and taken once as the counters take them.
#include "engine/listing/listing.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/counting/set_count.h"
#include "engine/listing/counted_lines.h"
#include "engine/listing/decoded_lines.h"
#include "engine/listing/listing_members.h"
#include "failing_source.h"
#include "temp_dir.h"

namespace tallix {
namespace {

constexpr ListingStyle kStyle{100, U'?', U'\\'};

// A VB6 module whose code lines are numbered, "L1" on, so that a printed line tells its
// place; `long` of them 250 columns wide (three printed lines each).
std::string NumberedModule(int lines, int first = 1, int longLines = 0) {
    std::string text = "VERSION 1.0 CLASS\r\nAttribute VB_Name = \"M\"\r\n";
    for (int i = first; i < first + lines; ++i) {
        std::string line = "L" + std::to_string(i);
        if (i - first < longLines) {
            line += std::string(250 - line.size(), '=');
        }
        text += line + "\r\n";
    }
    return text;
}

class Listing : public ::testing::Test {
protected:
    std::vector<ListingMember> Members(const std::vector<std::string>& names,
                                       SourceKind kind = SourceKind::Vb6) {
        return ProjectListingMembers(dir.Str("p.vbp"), names, kind, 2);
    }

    // Every printed line the deposited pages get, as "page:row:text".
    std::vector<std::string> Deposited(const ListingPlan& plan, CountOptions options = {}) {
        std::vector<std::string> lines;
        end = ListDepositedPages(plan, options, kStyle, [&](const DepositedLine& line) {
            lines.push_back(std::to_string(line.page) + ":" + std::to_string(line.row) + ":" +
                            std::string(line.text));
            return true;
        });
        return lines;
    }

    testing::TempDir dir;
    ListingEnd end = ListingEnd::Stopped;
};

TEST_F(Listing, TheFirstPassCountsWhatTheCountersCount) {
    dir.Write("a.bas",
              "Attribute VB_Name = \"A\"\r\n\r\n  ' note\r\nx = 1 ' \xD6\xD0\r\n\t\r\n   \r\n");
    dir.Write("b.bas", NumberedModule(7, 1, 2));
    dir.Write("c.bas", "no name line\r\n");
    const std::vector<std::string> names{"a.bas", "B.BAS", "c.bas", "gone.bas", "a.bas"};
    for (const CountOptions options : {CountOptions{false, false}, CountOptions{true, false},
                                       CountOptions{false, true}, CountOptions{true, true}}) {
        const ListingPlan plan = PlanListing(Members(names), options, kStyle, false, 2);
        const std::vector<MemberCount> counted =
            CountMembers(dir.Str() + testing::kSeparator, names, SourceKind::Vb6, options, 2);
        ASSERT_EQ(plan.members.size(), counted.size());
        std::int64_t total = 0;
        for (std::size_t i = 0; i < counted.size(); ++i) {
            EXPECT_EQ(plan.members[i].lines, counted[i].lines) << names[i];
            EXPECT_EQ(plan.members[i].path, counted[i].path) << names[i];
            EXPECT_EQ(plan.members[i].problem.error, counted[i].problem.error) << names[i];
            total += counted[i].lines;
        }
        EXPECT_EQ(plan.lines, total);
    }
    const ListingPlan plan = PlanListing(Members(names), {}, kStyle, false, 2);
    // b.bas: two lines of three printed lines and five of one.
    EXPECT_EQ(plan.members[1].printed, 2 * 3 + 5);
    EXPECT_EQ(plan.members[0].printed, plan.members[0].lines);
    EXPECT_EQ(plan.members[3].problem.error, FileError::Missing);
    EXPECT_EQ(plan.members[3].printed, 0);
    EXPECT_EQ(plan.printedLines, 2 * 5 + 11);
    EXPECT_EQ(plan.pages, 1);
    EXPECT_EQ(plan.deposited, (std::vector<PageRange>{{1, 1}}));
}

TEST_F(Listing, MeasuredLinesPrintAsTheWrapperPrintsThem) {
    std::string text = "Attribute VB_Name = \"M\"\r\n";
    const std::string lines[] = {"\tIf x Then",
                                 "' " + std::string(120, 'c'),
                                 std::string(100, 'x'),
                                 std::string(101, 'x'),
                                 "s = \"" + std::string(60, '\xB0') + "\"",  // 30 wide ones
                                 "\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\tx",
                                 "x\x01\x7F"};
    std::int64_t printed = 0;
    for (const std::string& line : lines) {
        text += line + "\r\n";
        printed += PrintedLinesOf(DecodeText(line, TextEncoding::Ansi), kStyle);
    }
    dir.Write("m.bas", text);
    const ListingPlan plan = PlanListing(Members({"m.bas"}), {}, kStyle, false, 1);
    EXPECT_EQ(plan.members[0].lines, 7);
    EXPECT_EQ(plan.printedLines, printed);
    EXPECT_EQ(printed, 1 + 2 + 1 + 2 + 1 + 2 + 1);
}

// The first pass measures at counting speed, looking only at lines that may print on more
// than one; lines far longer than a block, or than it keeps, are measured as the reader and
// the wrapper would, whatever the blocks.
TEST_F(Listing, TheFastMeasureAgreesWithReadingEveryLine) {
    const std::string spaces(200'000, ' ');
    const std::string chinese = [] {
        std::string text = "s = \"";
        while (text.size() < 150'000) {
            text += "\xD6\xD0\xCE\xC4";
        }
        return text + "\"";
    }();
    const std::string tabs = std::string(70'000, 'x') + "\t\ty";
    // Thirty tabs take four columns each: a short line that prints on two.
    const std::string tabbed = std::string(30, '\t') + "x";
    const std::string body = spaces + "\r\n" + spaces + "' c\r\n" + spaces + "x\r\n" + chinese +
                             "\n" + tabs + "\r" + "short\r\n\tt\r\n" + tabbed + "\r\n" +
                             std::string(101, 'z');
    struct Case {
        const char* what;
        SourceKind kind;
        std::string bytes;
    };
    const Case cases[] = {
        {"VB.NET with a long first line and its mark", SourceKind::VbNet,
         "\xEF\xBB\xBF" + std::string(100'000, 'x') + "\r\n" + body},
        {"VB.NET, the first line short", SourceKind::VbNet, "a\r\n" + body},
        {"VB6: long lines before the code and long attribute lines", SourceKind::Vb6,
         std::string(100'000, 'd') + "\r\nAttribute VB_Nam" + std::string(90'000, 'e') +
             "\r\nAttribute VB_Name = \"M\"\r\nAttribute VB_X" + std::string(90'000, 'f') + "\r\n" +
             body},
        {"VB6 named on its first line", SourceKind::Vb6, "Attribute VB_Name = \"M\"\r\n" + body},
        {"VB6 named on a first line too long to keep", SourceKind::Vb6,
         "Attribute VB_Name" + std::string(100'000, 'n') + "\r\n" + body},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const CountOptions options : {CountOptions{false, false}, CountOptions{true, false},
                                           CountOptions{false, true}, CountOptions{true, true}}) {
            std::int64_t lines = 0;
            std::int64_t printed = 0;
            {
                // The reference: every listed line decoded and wrapped.
                struct Wrap : TextLineSink {
                    explicit Wrap(std::int64_t& printed) : wrapper(kStyle), printed(printed) {}
                    void Text(std::string_view utf8, bool endsLine) override {
                        wrapper.Text(utf8, endsLine);
                        printed = wrapper.Printed();
                    }
                    LineWrapper wrapper;
                    std::int64_t& printed;
                } wrap(printed);
                LineDecoder decoder(wrap);
                CountedLineReader reader(c.kind, options, decoder);
                reader.Feed(c.bytes);
                reader.Finish();
                lines = reader.Listed();
            }
            for (const std::size_t block : {std::size_t{4093}, std::size_t{1} << 22}) {
                testing::FailingSource source(c.bytes, std::string::npos, block);
                const MemberMeasure measure = MeasureSource(source, c.kind, options, kStyle);
                EXPECT_EQ(measure.lines, lines) << "blocks of " << block;
                EXPECT_EQ(measure.printed, printed) << "blocks of " << block;
            }
        }
    }
}

TEST_F(Listing, AFileThatFailsHalfWayListsNothing) {
    // It fails past its fifth line: what came before it is not taken either.
    testing::FailingSource failing(NumberedModule(10), 70, 16);
    const MemberMeasure measure = MeasureSource(failing, SourceKind::Vb6, {}, kStyle);
    EXPECT_EQ(measure.lines, 0);
    EXPECT_EQ(measure.printed, 0);
    EXPECT_EQ(measure.problem.error, FileError::Unreadable);
    testing::FailingSource whole(NumberedModule(10), std::string::npos, 16);
    EXPECT_EQ(MeasureSource(whole, SourceKind::Vb6, {}, kStyle).printed, 10);
}

struct PagesCase {
    int printedLines;
    std::int64_t pages;
    std::vector<PageRange> deposited;
};

class ListingPages : public Listing, public ::testing::WithParamInterface<PagesCase> {};

// Listings of 59, 60, 61 and 130 pages over two members, the second with long lines: every
// deposited page gets fifty lines but the last, in order, numbered from 1, and the last
// thirty pages are those that end the listing.
TEST_P(ListingPages, DepositedPagesHoldTheirLinesInOrder) {
    const PagesCase& c = GetParam();
    const int longLines = 40;  // of three printed lines each, at the start of the second
    const int firstLines = 1000;
    const int secondLines = c.printedLines - firstLines - 2 * longLines;
    dir.Write("one.bas", NumberedModule(firstLines));
    dir.Write("two.bas", NumberedModule(secondLines, firstLines + 1, longLines));
    const ListingPlan plan = PlanListing(Members({"one.bas", "two.bas"}), {}, kStyle, false, 2);
    ASSERT_EQ(plan.printedLines, c.printedLines);
    EXPECT_EQ(plan.lines, firstLines + secondLines);
    EXPECT_EQ(plan.pages, c.pages);
    EXPECT_EQ(plan.deposited, c.deposited);

    const std::vector<std::string> lines = Deposited(plan);
    EXPECT_EQ(end, ListingEnd::Listed);
    const std::int64_t depositedPages = plan.DepositedPageCount();
    EXPECT_EQ(depositedPages, std::min<std::int64_t>(c.pages, 60));
    const int lastPageLines = c.printedLines - (static_cast<int>(c.pages) - 1) * 50;
    ASSERT_EQ(lines.size(), static_cast<std::size_t>((depositedPages - 1) * 50 + lastPageLines));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string where = std::to_string(i / 50 + 1) + ":" + std::to_string(i % 50) + ":";
        ASSERT_EQ(lines[i].substr(0, where.size()), where) << i;
    }
    EXPECT_EQ(lines.front(), "1:0:L1");
    // The printed line that ends the listing ends the last page.
    EXPECT_EQ(lines.back(), std::to_string(depositedPages) + ":" +
                                std::to_string(lastPageLines - 1) + ":L" +
                                std::to_string(firstLines + secondLines));
    if (c.pages > 60) {
        // The first of the last thirty pages starts at its place in the whole listing.
        const std::int64_t index = (c.pages - 30) * 50;
        // Past the long lines, printed line i holds source line i + 1 less two for each.
        const std::string expected = "31:0:L" + std::to_string(index + 1 - 2 * longLines);
        EXPECT_EQ(lines[30 * 50], expected);
        EXPECT_EQ(lines[30 * 50 - 1].substr(0, 6), "30:49:");
    }
}

INSTANTIATE_TEST_SUITE_P(FiftyNineToOneHundredThirty, ListingPages,
                         ::testing::Values(PagesCase{2950, 59, {{1, 59}}},
                                           PagesCase{3000, 60, {{1, 60}}},
                                           PagesCase{3001, 61, {{1, 30}, {32, 61}}},
                                           PagesCase{6490, 130, {{1, 30}, {101, 130}}}));

TEST_F(Listing, EveryPageWhenAskedAndLongLinesAcrossPages) {
    dir.Write("one.bas", NumberedModule(6000, 1, 30));
    const ListingPlan all = PlanListing(Members({"one.bas"}), {}, kStyle, true, 2);
    EXPECT_EQ(all.printedLines, 6060);
    EXPECT_EQ(all.pages, 122);
    EXPECT_EQ(all.deposited, (std::vector<PageRange>{{1, 122}}));
    const std::vector<std::string> lines = Deposited(all);
    ASSERT_EQ(lines.size(), 6060u);
    // Line 17 of the source takes printed lines 48 to 50: the page ends inside it.
    EXPECT_EQ(lines[48].substr(0, 8), "1:48:L17");
    EXPECT_EQ(lines[49].substr(0, 6), "1:49:=");
    EXPECT_EQ(lines[50].substr(0, 5), "2:0:=");
    EXPECT_TRUE(lines[48].ends_with("\\"));
    EXPECT_EQ(lines.back(), "122:9:L6000");
}

TEST_F(Listing, OptionsLeaveTheirLinesOutOfThePages) {
    dir.Write("m.bas", "Attribute VB_Name = \"M\"\r\na\r\n\r\n' c\r\nb\r\n");
    const CountOptions codeOnly{true, true};
    const ListingPlan plan = PlanListing(Members({"m.bas"}), codeOnly, kStyle, false, 1);
    EXPECT_EQ(Deposited(plan, codeOnly), (std::vector<std::string>{"1:0:a", "1:1:b"}));
    EXPECT_EQ(end, ListingEnd::Listed);
}

TEST_F(Listing, AMemberThatChangedAfterThePlanStopsTheListing) {
    dir.Write("one.bas", NumberedModule(100));
    dir.Write("two.bas", NumberedModule(100));
    struct Change {
        const char* what;
        std::function<void()> make;
    };
    const Change changes[] = {
        {"grown", [&] { dir.Write("two.bas", NumberedModule(101)); }},
        {"shrunk", [&] { dir.Write("one.bas", NumberedModule(99)); }},
        {"gone", [&] { std::filesystem::remove(dir.path() / "two.bas"); }},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.what);
        dir.Write("one.bas", NumberedModule(100));
        dir.Write("two.bas", NumberedModule(100));
        const ListingPlan plan = PlanListing(Members({"one.bas", "two.bas"}), {}, kStyle, false, 2);
        ASSERT_EQ(plan.printedLines, 200);
        change.make();
        Deposited(plan);
        EXPECT_EQ(end, ListingEnd::Changed);
    }
}

TEST_F(Listing, TheVisitorCanStopIt) {
    dir.Write("one.bas", NumberedModule(100));
    const ListingPlan plan = PlanListing(Members({"one.bas"}), {}, kStyle, false, 1);
    int taken = 0;
    EXPECT_EQ(
        ListDepositedPages(plan, {}, kStyle, [&](const DepositedLine&) { return ++taken < 10; }),
        ListingEnd::Stopped);
    EXPECT_EQ(taken, 10);
}

TEST_F(Listing, EmptyResultHasNoPages) {
    dir.Write("m.bas", "Attribute VB_Name = \"M\"\r\n\r\n' only a comment\r\n");
    const ListingPlan plan = PlanListing(Members({"m.bas"}), {true, true}, kStyle, false, 1);
    EXPECT_EQ(plan.lines, 0);
    EXPECT_EQ(plan.pages, 0);
    EXPECT_TRUE(plan.deposited.empty());
    EXPECT_TRUE(Deposited(plan, {true, true}).empty());
    EXPECT_EQ(end, ListingEnd::Listed);
}

TEST_F(Listing, ThreadsChangeNothing) {
    std::vector<std::string> names;
    for (int i = 0; i < 30; ++i) {
        names.push_back("m" + std::to_string(i) + ".bas");
        dir.Write(names.back(), NumberedModule(i * 7, 1, i % 3));
    }
    const ListingPlan one = PlanListing(Members(names), {}, kStyle, false, 1);
    const ListingPlan three = PlanListing(Members(names), {}, kStyle, false, 3);
    ASSERT_EQ(one.members.size(), three.members.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(one.members[i].name, three.members[i].name);
        EXPECT_EQ(one.members[i].printed, three.members[i].printed);
        EXPECT_EQ(three.members[i].lines, static_cast<std::int64_t>(i * 7));
    }
    EXPECT_EQ(one.printedLines, three.printedLines);
}

TEST_F(Listing, ProjectMembersAreFoundAsTheCountersFindThem) {
    dir.Write("Forms/Main.frm", NumberedModule(3));
    const std::vector<ListingMember> members =
        Members({"FORMS\\main.FRM", "Forms\\Main.frm", "none.bas"}, SourceKind::VbNet);
    ASSERT_EQ(members.size(), 3u);
    // Opened as written where letter case does not matter, else found on the disk.
    EXPECT_EQ(members[0].path,
              testing::kWindows ? dir.Str("FORMS/main.FRM") : dir.Str("Forms/Main.frm"));
    EXPECT_EQ(members[0].name, "FORMS\\main.FRM");
    EXPECT_EQ(members[0].project, dir.Str("p.vbp"));
    EXPECT_EQ(members[0].kind, SourceKind::VbNet);
    EXPECT_EQ(members[1].path, dir.Str("Forms/Main.frm"));
    EXPECT_EQ(members[2].problem.error, FileError::Missing);
    EXPECT_EQ(members[2].path, dir.Str("none.bas"));
}

TEST_F(Listing, SetsTakeEachFileOnceWhereItFirstComes) {
    dir.Write("Shared/Common.bas", NumberedModule(10));
    dir.Write("One/Own.bas", NumberedModule(3));
    dir.Write("Two/Own.vb", "Module X\r\nEnd Module\r\n");
    std::filesystem::create_hard_link(dir.path() / "Shared/Common.bas",
                                      dir.path() / "Two/Link.bas");
    dir.Write("One/One.vbp", "Module=O; Own.bas\r\nModule=C; ..\\Shared\\Common.bas\r\n");
    dir.Write("Two/Two.vbproj",
              "<Compile Include=\"Own.vb\" />\r\n<Compile Include=\"..\\shared\\COMMON.bas\" />\r\n"
              "<Compile Include=\"Link.bas\" />\r\n<Compile Include=\"Gone.vb\" />\r\n");
    const std::vector<SetProject> projects{{dir.Str("One/One.vbp"), SourceKind::Vb6},
                                           {dir.Str("Two/Two.vbproj"), SourceKind::VbNet},
                                           {dir.Str("No.vbp"), SourceKind::Vb6}};
    const std::vector<NamedProject> named = ReadSetProjects(projects);
    ASSERT_EQ(named.size(), 3u);
    EXPECT_EQ(named[1].names.size(), 4u);
    EXPECT_EQ(named[2].problem.error, FileError::Missing);

    const std::vector<ListingMember> members = SetListingMembers(named, 2);
    std::vector<std::string> listed;
    for (const ListingMember& member : members) {
        listed.push_back(member.name + (member.kind == SourceKind::VbNet ? " vbnet" : " vb6") +
                         (member.problem.error == FileError::None ? "" : " missing"));
    }
    // The shared file is named by both kinds: once, in its first place, by VB.NET rules.
    EXPECT_EQ(listed, (std::vector<std::string>{"Own.bas vb6", "..\\Shared\\Common.bas vbnet",
                                                "Own.vb vbnet", "Gone.vb vbnet missing"}));
    EXPECT_EQ(members[1].project, dir.Str("One/One.vbp"));
    const ListingPlan plan = PlanListing(members, {}, kStyle, false, 2);
    // By VB.NET rules the shared module lists its two header lines too.
    EXPECT_EQ(plan.lines, 3 + 12 + 2);

    // The size is the set's total as the counters give it, with one kind or both.
    struct Ignore : SetCountSink {
        bool BeginProject(const SetProject&) override { return true; }
        void Member(const MemberCount&) override {}
        void EndProject(const SetProject&, const ProjectRead&) override {}
    } ignore;
    const std::vector<SetProject> vb6Only{projects[0], {dir.Str("One/One.vbp"), SourceKind::Vb6}};
    for (const std::vector<SetProject>& set : {projects, vb6Only}) {
        for (const CountOptions options : {CountOptions{}, CountOptions{true, true}}) {
            EXPECT_EQ(
                PlanListing(SetListingMembers(ReadSetProjects(set), 2), options, kStyle, false, 2)
                    .lines,
                CountSet(set, options, ignore, 2).lines);
        }
    }
}

}  // namespace
}  // namespace tallix
