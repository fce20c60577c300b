#include "engine/counting/line_counter.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/counting/line_bits.h"
#include "every_byte.h"
#include "failing_source.h"
#include "temp_dir.h"

namespace tallix {
namespace {

constexpr std::string_view kForm =
    "VERSION 5.00\r\n"
    "Begin VB.Form frmMain \r\n"
    "   Caption         =   \"Main\"\r\n"
    "   ' not a comment: still the designer\r\n"
    "End\r\n"
    "Attribute VB_Name = \"frmMain\"\r\n"
    "Attribute VB_GlobalNameSpace = False\r\n"
    "Attribute VB_Creatable = False\r\n"
    "Attribute VB_PredeclaredId = True\r\n"
    "Attribute VB_Exposed = False\r\n"
    "Option Explicit\r\n"
    "\r\n"
    "' the start-up form\r\n"
    "Private Sub Form_Load()\r\n"
    "End Sub\r\n";

LineTally Tally(SourceKind kind, std::string_view bytes, std::size_t blockSize) {
    LineCounter counter(kind);
    for (std::size_t at = 0; at < bytes.size(); at += blockSize) {
        counter.Feed(bytes.substr(at, blockSize));
    }
    return counter.Finish();
}

TEST(Vb6Counter, SkipsDesignerBlockAndModuleAttributes) {
    const LineTally tally = TallyVb6Text(kForm);
    EXPECT_EQ(tally, (LineTally{3, 1, 1}));
    EXPECT_EQ(tally.Counted(false, false), 5);
    EXPECT_EQ(tally.Counted(true, false), 4);
    EXPECT_EQ(tally.Counted(false, true), 4);
    EXPECT_EQ(tally.Counted(true, true), 3);
}

TEST(VbNetCounter, CountsEveryLineOfTheSameText) {
    const LineTally tally = TallyVbNetText(kForm);
    EXPECT_EQ(tally.Counted(false, false), 15);
    // The designer block is read like code; its indented apostrophe line is a comment here.
    EXPECT_EQ(tally, (LineTally{12, 2, 1}));
}

TEST(Vb6Counter, AttributeTestsAreExactAndUntrimmed) {
    const std::string module =
        "Attribute VB_Name = \"M\"\r\n"
        "Attribute VB_Description = \"late module attribute\"\r\n"
        " Attribute VB_Ext_KEY = \"indented: a code line\"\r\n"
        "attribute VB_Name = \"other case: a code line\"\r\n"
        "Public Function F()\r\n"
        "Attribute F.VB_UserMemId = 0\r\n"
        "End Function\r\n";
    EXPECT_EQ(TallyVb6Text(module), (LineTally{5, 0, 0}));
    EXPECT_EQ(TallyVb6Text("Option Explicit\r\nSub A()\r\nEnd Sub\r\n"), LineTally{});
    EXPECT_EQ(TallyVb6Text("attribute VB_Name = \"m\"\r\nSub A()\r\n"), LineTally{});
    // The flag, once set, stays: a second name line is skipped like any attribute line.
    EXPECT_EQ(TallyVb6Text("Attribute VB_Name = \"a\"\rx\rAttribute VB_Name = \"b\"\ry"),
              (LineTally{2, 0, 0}));
}

TEST(Counters, ClassifyBySpacesAndApostropheOnly) {
    EXPECT_EQ(TallyVbNetText("   ' comment\r\n"), (LineTally{0, 1, 0}));
    EXPECT_EQ(TallyVbNetText("\t' tab first: code\r\n"), (LineTally{1, 0, 0}));
    EXPECT_EQ(TallyVbNetText("    \r\n\r\n"), (LineTally{0, 0, 2}));
    EXPECT_EQ(TallyVbNetText("\t\t\r\n"), (LineTally{1, 0, 0}));
    EXPECT_EQ(TallyVbNetText("Rem old style\r\nx = 1 ' trailing\r\n"), (LineTally{2, 0, 0}));
    EXPECT_EQ(TallyVbNetText("\xA1\xA1\r\n"), (LineTally{1, 0, 0}));  // ideographic space
}

TEST(Counters, LineEnds) {
    EXPECT_EQ(TallyVbNetText(""), LineTally{});
    EXPECT_EQ(TallyVbNetText("a"), (LineTally{1, 0, 0}));
    EXPECT_EQ(TallyVbNetText("a\r\n"), (LineTally{1, 0, 0}));
    EXPECT_EQ(TallyVbNetText("a\r\n\r\n"), (LineTally{1, 0, 1}));
    EXPECT_EQ(TallyVbNetText("a\nb\rc\r\n"), (LineTally{3, 0, 0}));
    EXPECT_EQ(TallyVbNetText("\n\r\n\r"), (LineTally{0, 0, 3}));
    // LF-only VB6 members, as git leaves them on Linux, are counted line by line.
    std::string lfForm(kForm);
    std::erase(lfForm, '\r');
    EXPECT_EQ(TallyVb6Text(lfForm), (LineTally{3, 1, 1}));
}

TEST(Counters, ByteOrderMarkMakesTheFirstLineCode) {
    EXPECT_EQ(TallyVbNetText("\xEF\xBB\xBF' first\r\n' second\r\n"), (LineTally{1, 1, 0}));
    EXPECT_EQ(TallyVbNetText("\xEF\xBB\xBF\r\n"), (LineTally{1, 0, 0}));
    EXPECT_EQ(TallyVb6Text("\xEF\xBB\xBF"
                           "Attribute VB_Name = \"M\"\r\nx\r\n"),
              LineTally{});
}

TEST(Counters, DoubleByteTextAndBlockBoundariesAnywhere) {
    // Chinese comments and code in code page 936, four-byte GB18030 sequences, a UTF-8 file,
    // and bytes that look like ASCII inside double-byte characters (0x81 0x27 is invalid,
    // 0x81 0x5C is a character whose trail byte is a backslash).
    const std::string gbk =
        "Attribute VB_Name = \"\xC4\xA3\xBF\xE9\"\r\n"
        "' \xD7\xA2\xCA\xCD\r\n"
        "    '\xD6\xD0\xCE\xC4\r\n"
        "\xD6\xD0 = \"\x81\x5C\"\r\n"
        "\x81\x30\x84\x38 '\r\n"
        "\x81' odd\r\n"
        "  \r\n"
        "\xEF\xBB\xBF\r\n";
    const LineTally expected{4, 2, 1};
    EXPECT_EQ(TallyVb6Text(gbk), expected);
    for (std::size_t block = 1; block <= 20; ++block) {
        EXPECT_EQ(Tally(SourceKind::Vb6, gbk, block), expected) << "block size " << block;
    }
}

TEST(Counters, AnyBlockSizeGivesTheSameTally) {
    std::string text(kForm);
    text += "\r\r\n\n  '\t\r\nAttribute VB_X\rlast";
    for (SourceKind kind : {SourceKind::Vb6, SourceKind::VbNet}) {
        const LineTally whole = Tally(kind, text, text.size());
        for (std::size_t block = 1; block < 40; ++block) {
            EXPECT_EQ(Tally(kind, text, block), whole) << "block size " << block;
        }
    }
}

// Builds without SSE2 (32-bit Windows) take the plain masks: they must be the masks of the
// build that runs here.
TEST(LineBits, PlainMasksAreThoseOfTheVectorBuild) {
    const std::string chunks = ChunksOfEveryByteAtEveryPosition();
    for (std::size_t at = 0; at < chunks.size(); at += line_bits::kChunk) {
        const line_bits::ByteMasks plain = line_bits::MasksPlain(chunks.data() + at);
        const line_bits::ByteMasks vector = line_bits::Masks(chunks.data() + at);
        const auto chunk = at / line_bits::kChunk;
        EXPECT_EQ(plain.cr, vector.cr) << "chunk " << chunk;
        EXPECT_EQ(plain.lf, vector.lf) << "chunk " << chunk;
        EXPECT_EQ(plain.space, vector.space) << "chunk " << chunk;
        EXPECT_EQ(plain.quote, vector.quote) << "chunk " << chunk;
        EXPECT_EQ(plain.capitalA, vector.capitalA) << "chunk " << chunk;
    }
}

TEST(CountFile, ReadsFilesLargerThanOneBlock) {
    testing::TempDir dir;
    std::string text = "Attribute VB_Name = \"Big\"\r\n";
    const std::string line = "x = \"" + std::string(50, 'y') + "\"\r\n' c\r\n\r\n";
    const int repeats = static_cast<int>(3 * kReadBlockSize / line.size());
    for (int i = 0; i < repeats; ++i) {
        text += line;
    }
    const std::string path = dir.Write("big.bas", text);
    const FileTally file = TallyFile(path, SourceKind::Vb6);
    EXPECT_EQ(file.problem.error, FileError::None);
    EXPECT_EQ(file.tally, (LineTally{repeats, repeats, repeats}));
    EXPECT_EQ(CountVb6File(path, true, true), repeats);
    EXPECT_EQ(CountVbNetFile(path, false, false), 3 * repeats + 1);
}

TEST(CountFile, ReadFailingHalfWayCountsNothing) {
    const std::string text(kForm);
    for (std::size_t failAt : {std::size_t{0}, std::size_t{1}, text.size() / 2, text.size()}) {
        testing::FailingSource source(text, failAt, 16);
        const FileTally tally = TallySource(source, SourceKind::VbNet);
        EXPECT_EQ(tally.problem.error, FileError::Unreadable) << "fails at " << failAt;
        EXPECT_EQ(tally.problem.detail, "Input/output error");
        EXPECT_EQ(tally.tally, LineTally{}) << "fails at " << failAt;
    }
    // The same source read to its end counts every line.
    testing::FailingSource whole(text, std::string::npos, 16);
    EXPECT_EQ(TallySource(whole, SourceKind::Vb6).tally, (LineTally{3, 1, 1}));
}

TEST(CountFile, UnreadableFilesCountZeroWithAReason) {
    testing::TempDir dir;
    EXPECT_EQ(TallyFile(dir.Str("missing.bas"), SourceKind::Vb6).problem.error, FileError::Missing);
    EXPECT_EQ(TallyFile(dir.Str(), SourceKind::Vb6).problem.error, FileError::NotAFile);
    EXPECT_EQ(TallyFile("", SourceKind::VbNet).problem.error, FileError::Missing);
    // Through a file, or past a NUL, a path names nothing: never the file before it.
    const std::string ok = dir.Write("ok.bas", "x = 1\r\n");
    const std::string separator(1, testing::kSeparator);
    EXPECT_EQ(TallyFile(ok + separator + "x", SourceKind::VbNet).problem.error, FileError::Missing);
    const FileTally nul = TallyFile(ok + std::string(1, '\0') + "IGNORED", SourceKind::VbNet);
    EXPECT_EQ(nul.problem.error, FileError::Missing);
    EXPECT_EQ(nul.tally, LineTally{});
    EXPECT_EQ(CountVbNetFile(dir.Str("missing.vb"), false, false), 0);
    const FileTally empty = TallyFile(dir.Write("empty.vb", ""), SourceKind::VbNet);
    EXPECT_EQ(empty.problem.error, FileError::None);
    EXPECT_EQ(empty.tally, LineTally{});
}

}  // namespace
}  // namespace tallix
