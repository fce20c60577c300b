#include "engine/inventory/member_scanner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/counting/line_counter.h"
#include "engine/inventory/statement_bits.h"
#include "engine/text/text_lines.h"
#include "every_byte.h"

namespace tallix {

void PrintTo(const MemberInventory& inventory, std::ostream* out) {
    *out << "{designer " << inventory.designerLines << ", procedures " << inventory.procedures
         << ", declares";
    for (const DeclareStatement& declare : inventory.declares) {
        *out << " " << declare.name << "@" << declare.library << ":" << declare.line;
    }
    *out << ", controls";
    for (const auto& [type, count] : inventory.controls) {
        *out << " " << type << "=" << count;
    }
    *out << ", notes";
    for (const MemberNote& note : inventory.notes) {
        *out << " " << static_cast<int>(note.kind) << ":" << note.line << "x" << note.count;
    }
    *out << "}";
}

void PrintTo(const DeclareStatement& declare, std::ostream* out) {
    *out << declare.name << "@" << declare.library << ":" << declare.line;
}

void PrintTo(const MemberNote& note, std::ostream* out) {
    *out << static_cast<int>(note.kind) << ":" << note.line << "x" << note.count;
}

namespace {

using namespace std::string_literals;

using Controls = std::map<std::string, std::int64_t>;

template <typename Reader>
void FeedInBlocks(Reader& reader, std::string_view bytes, std::size_t blockSize) {
    for (std::size_t at = 0; at < bytes.size(); at += blockSize) {
        reader.Feed(bytes.substr(at, blockSize));
    }
}

MemberInventory ScanInBlocks(std::string_view bytes, SourceKind kind, std::size_t blockSize) {
    MemberScanner scanner(kind);
    FeedInBlocks(scanner, bytes, blockSize);
    return scanner.Finish();
}

std::int64_t Procedures(std::string_view text, SourceKind kind) {
    return ScanMemberText(text, kind).procedures;
}

// A form as VB6 writes it: frames inside frames, a control array, an ActiveX control with a
// property block, menus with a submenu, and a caption that says "Begin".
constexpr std::string_view kForm =
    "VERSION 5.00\r\n"
    "Object = \"{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0\"; \"MSCOMCTL.OCX\"\r\n"
    "Begin VB.Form frmMain \r\n"
    "   Caption         =   \"Begin\"\r\n"
    "   Begin VB.Frame fraOuter \r\n"
    "      Begin VB.Frame fraInner \r\n"
    "         Begin VB.OptionButton optKind \r\n"
    "            Index           =   1\r\n"
    "         End\r\n"
    "         Begin VB.OptionButton optKind \r\n"
    "            Index           =   0\r\n"
    "         End\r\n"
    "      End\r\n"
    "   End\r\n"
    "   Begin MSComctlLib.ListView lvwItems \r\n"
    "      BeginProperty Font {0BE35203-8F91-11CE-9DE3-00AA004BB851} \r\n"
    "         Name            =   \"SimSun\"\r\n"
    "      EndProperty\r\n"
    "   End\r\n"
    "   Begin VB.Menu mnuFile \r\n"
    "      Caption         =   \"File\"\r\n"
    "      Begin VB.Menu mnuOpen \r\n"
    "      End\r\n"
    "   End\r\n"
    "End\r\n"
    "Attribute VB_Name = \"frmMain\"\r\n"
    "Attribute VB_GlobalNameSpace = False\r\n"
    "Option Explicit\r\n"
    "Private Sub Form_Load()\r\n"
    "End Sub\r\n";

TEST(DesignerBlock, CountsEveryNestedControlByTypeButNotTheFormItself) {
    const MemberInventory inventory = ScanMemberText(kForm, SourceKind::Vb6);
    EXPECT_EQ(
        inventory.controls,
        (Controls{
            {"MSComctlLib.ListView", 1}, {"VB.Frame", 2}, {"VB.Menu", 2}, {"VB.OptionButton", 2}}));
    EXPECT_EQ(inventory.ControlCount(), 7);
    EXPECT_EQ(inventory.designerLines, 25) << "every line ahead of the name attribute";
    EXPECT_EQ(inventory.procedures, 1);
    EXPECT_TRUE(inventory.notes.empty());
}

TEST(DesignerBlock, DesignerLinesAreWhatTheCounterLeavesOutAheadOfTheName) {
    // Every line is the designer's, counted, or a module attribute line the counter skips.
    const std::vector<std::string> lines = SplitTextLines(kForm);
    const LineTally tally = TallyVb6Text(kForm);
    const std::int64_t attributes = 2;
    EXPECT_EQ(ScanMemberText(kForm, SourceKind::Vb6).designerLines + attributes +
                  tally.Counted(false, false),
              static_cast<std::int64_t>(lines.size()));
}

TEST(DesignerBlock, UserControlClassHeaderAndModule) {
    const std::string userControl =
        "VERSION 5.00\r\nBegin VB.UserControl KeyValueEditor \r\n"
        "   Begin VB.TextBox txtValue \r\n   End\r\n"
        "   Begin VB.Timer tmrBlink \r\n   End\r\nEnd\r\n"
        "Attribute VB_Name = \"KeyValueEditor\"\r\n";
    EXPECT_EQ(ScanMemberText(userControl, SourceKind::Vb6).controls,
              (Controls{{"VB.TextBox", 1}, {"VB.Timer", 1}}));
    const std::string classHeader =
        "VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1  'True\r\nEND\r\n"
        "Attribute VB_Name = \"clsItem\"\r\n";
    const MemberInventory cls = ScanMemberText(classHeader, SourceKind::Vb6);
    EXPECT_TRUE(cls.controls.empty());
    EXPECT_EQ(cls.designerLines, 4);
    EXPECT_TRUE(cls.notes.empty());
    const MemberInventory module = ScanMemberText("Attribute VB_Name = \"m\"\r\n", SourceKind::Vb6);
    EXPECT_EQ(module.designerLines, 0);
    EXPECT_TRUE(module.notes.empty());
}

TEST(DesignerBlock, VbNetRulesHaveNoDesignerPart) {
    const MemberInventory inventory = ScanMemberText(kForm, SourceKind::VbNet);
    EXPECT_EQ(inventory.designerLines, 0);
    EXPECT_TRUE(inventory.controls.empty());
    EXPECT_TRUE(inventory.notes.empty());
}

struct NoteCase {
    std::string name;
    std::string text;
    std::vector<MemberNote> notes;
    std::int64_t designerLines;
};

void PrintTo(const NoteCase& c, std::ostream* out) {
    *out << c.name;
}

class DesignerNotes : public ::testing::TestWithParam<NoteCase> {};

TEST_P(DesignerNotes, SayWhatIsWrongAndWhere) {
    const MemberInventory inventory = ScanMemberText(GetParam().text, SourceKind::Vb6);
    EXPECT_EQ(inventory.notes, GetParam().notes);
    EXPECT_EQ(inventory.designerLines, GetParam().designerLines);
}

using Kind = MemberNote::Kind;

INSTANTIATE_TEST_SUITE_P(
    Cases, DesignerNotes,
    ::testing::Values(
        NoteCase{"block left open at the name attribute",
                 "Begin VB.Form F\r\n   Begin VB.Label L\r\n   End\r\n   Begin VB.Label M\r\n"
                 "Attribute VB_Name = \"F\"\r\nSub A()\r\n",
                 {{Kind::DesignerNotClosed, 5, 2, {}}},
                 4},
        NoteCase{"stray ends: the first one's line and how many",
                 "Begin VB.Form F\r\nEnd\r\nEnd\r\nEnd'again\r\nAttribute VB_Name = \"F\"\r\n",
                 {{Kind::EndWithoutBegin, 3, 2, {}}},
                 4},
        NoteCase{"no name attribute: all designer, a block open at the end",
                 "VERSION 5.00\r\nBegin VB.Form F\r\nSub A()\r\n",
                 {{Kind::DesignerNotClosed, 3, 1, {}}, {Kind::NoNameAttribute, 0, 0, {}}},
                 3},
        NoteCase{"the name attribute in another case is no name attribute",
                 "attribute VB_Name = \"m\"\r\nSub A()\r\n",
                 {{Kind::NoNameAttribute, 0, 0, {}}},
                 2},
        NoteCase{"BeginProperty and EndProperty are no blocks",
                 "Begin VB.Form F\r\nBeginProperty Font\r\nEndProperty\r\nEnd\r\n"
                 "Attribute VB_Name = \"F\"\r\n",
                 {},
                 4},
        NoteCase{"a NUL byte: the line it is on",
                 "Attribute VB_Name = \"m\"\r\nx = 1\r\nab\0cd\r\ny\r\n"s,
                 {{Kind::Binary, 3, 0, {}}},
                 0}));

struct ProcedureCase {
    std::string name;
    std::string text;
    std::int64_t vb6;
    std::int64_t vbnet;
};

void PrintTo(const ProcedureCase& c, std::ostream* out) {
    *out << c.name;
}

class ProcedureLines : public ::testing::TestWithParam<ProcedureCase> {};

TEST_P(ProcedureLines, CountOnceWhereTheStatementStarts) {
    const std::string module = "Attribute VB_Name = \"m\"\r\n" + GetParam().text;
    EXPECT_EQ(Procedures(module, SourceKind::Vb6), GetParam().vb6) << "VB6";
    EXPECT_EQ(Procedures(GetParam().text, SourceKind::VbNet), GetParam().vbnet) << "VB.NET";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProcedureLines,
    ::testing::Values(
        ProcedureCase{"sub and its end", "Public Sub A()\r\n    x = 1\r\nEnd Sub\r\n", 1, 1},
        ProcedureCase{"every modifier",
                      "Private Static Function F() As Long\r\nFriend Sub G()\r\n"
                      "Public Shared Overrides Function ToString() As String\r\n"
                      "Protected NotOverridable Overloads Sub H()\r\n"
                      "Public MustOverride Sub I()\r\nShadows Sub J()\r\n",
                      6, 6},
        ProcedureCase{"property get, let and set: three",
                      "Property Get X() As Long\r\nEnd Property\r\nPublic Property Let X(v)\r\n"
                      "End Property\r\nFriend Property Set Y(o)\r\nEnd Property\r\n",
                      3, 3},
        ProcedureCase{"any letter case", "private SUB a()\r\nend sub\r\nfunction b()\r\n", 2, 2},
        ProcedureCase{"indented by spaces and tabs", "   Sub A()\r\n\t\tSub B()\r\n", 2, 2},
        ProcedureCase{"exit and end are not procedures", "Exit Sub\r\nEnd Function\r\n", 0, 0},
        ProcedureCase{"a Declare is not a procedure",
                      "Private Declare Function GetTickCount Lib \"kernel32\" () As Long\r\n", 0,
                      0},
        ProcedureCase{"comments and strings",
                      "' Sub Commented()\r\n   ' Function F()\r\nRem Sub Old()\r\n"
                      "s = \"Sub InString()\"\r\nMsgBox \"Function\"\r\n",
                      0, 0},
        ProcedureCase{"continued lines count once",
                      "Public Function Sum( _\r\n    a As Long, _\r\n    b As Long) As Long\r\n", 1,
                      1},
        ProcedureCase{"a continuation that starts with Sub is no statement",
                      "Call Foo(1, _\r\n  Sub Two)\r\ny = 2 + _\r\n Function G()\r\n", 0, 0},
        ProcedureCase{"the keyword on the continuation line", "Public _\r\n  Sub Split()\r\n", 1,
                      1},
        ProcedureCase{"an attribute continued onto the declaration",
                      "<Obsolete(\"use B > A\")> _\r\nPublic Sub Old()\r\n", 1, 1},
        ProcedureCase{"an attribute on its own line", "<Test()>\r\nPublic Sub T()\r\n", 1, 1},
        ProcedureCase{"lambdas are not procedures",
                      "Dim f = Function(x) x + 1\r\nlist.Sort(\r\n    Function(a, b) a - b)\r\n"
                      "Task.Run(\r\n  Async Sub()\r\n  End Sub)\r\n",
                      0, 0},
        ProcedureCase{"operators in VB.NET only",
                      "Public Shared Operator +(a As T, b As T) As T\r\n"
                      "Public Shared Widening Operator CType(a As T) As Long\r\nOperator = 1\r\n",
                      0, 3},
        ProcedureCase{"a VB6 comment goes on after \" _\", a VB.NET one does not",
                      "' see below _\r\nSub Hidden()\r\n", 0, 1},
        ProcedureCase{"Rem is a comment too", "Rem see below _\r\nSub Shown()\r\n", 0, 1},
        ProcedureCase{"a VB.NET trailing comment ends the statement too",
                      "x = 1 ' note _\r\nSub Shown()\r\n", 0, 1},
        ProcedureCase{"an underscore that ends a name continues nothing", "x = my_\r\nSub A()\r\n",
                      1, 1},
        ProcedureCase{"events, delegates and variables are not procedures",
                      "Public Event Changed()\r\nDelegate Sub D()\r\nStatic Sub_ As Long\r\n"
                      "Dim Function_ As Long\r\nPrivate WithEvents x As Y\r\n",
                      0, 0},
        ProcedureCase{"auto property and property block",
                      "Public Property Name As String\r\nPublic ReadOnly Property Age() As Long\r\n"
                      "    Get\r\n    End Get\r\nEnd Property\r\n",
                      2, 2},
        ProcedureCase{"LF and CR line ends", "Sub A()\nEnd Sub\rFunction B()\r", 2, 2}));

TEST(ProcedureLines, TheByteOrderMarkIsNoPartOfTheFirstStatement) {
    EXPECT_EQ(Procedures("\xEF\xBB\xBFPublic Sub Main()\r\nEnd Sub\r\n", SourceKind::VbNet), 1);
}

struct DeclareCase {
    std::string name;
    std::string text;
    std::vector<DeclareStatement> declares;
};

void PrintTo(const DeclareCase& c, std::ostream* out) {
    *out << c.name;
}

class DeclareLines : public ::testing::TestWithParam<DeclareCase> {};

TEST_P(DeclareLines, NameTheirLibrary) {
    EXPECT_EQ(
        ScanMemberText("Attribute VB_Name = \"m\"\r\n" + GetParam().text, SourceKind::Vb6).declares,
        GetParam().declares);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DeclareLines,
    ::testing::Values(
        DeclareCase{"function",
                    "Private Declare Function GetTickCount Lib \"kernel32\" () As Long\r\n",
                    {{"GetTickCount", "kernel32", 2}}},
        DeclareCase{"sub without modifiers",
                    "Declare Sub Sleep Lib \"kernel32\" (ByVal ms As Long)\r\n",
                    {{"Sleep", "kernel32", 2}}},
        DeclareCase{"PtrSafe, alias and a library in another case with .dll",
                    "Public Declare PtrSafe Function FindWindow Lib \"USER32.DLL\" Alias "
                    "\"FindWindowA\" (ByVal c As String) As LongPtr\r\n",
                    {{"FindWindow", "user32", 2}}},
        DeclareCase{"VB.NET character set",
                    "Declare Auto Function MessageBox Lib \"user32.dll\" ()\r\n",
                    {{"MessageBox", "user32", 2}}},
        DeclareCase{"continued before Lib: the line it starts on",
                    "Private Declare Function SendMessage _\r\n    Lib \"user32\" Alias "
                    "\"SendMessageA\" _\r\n    (ByVal h As Long) As Long\r\nSub A()\r\n",
                    {{"SendMessage", "user32", 2}}},
        DeclareCase{"a type character on the name",
                    "Declare Function GetUserName$ Lib \"advapi32.dll\" ()\r\n",
                    {{"GetUserName$", "advapi32", 2}}},
        DeclareCase{"in comments and strings",
                    "' Declare Function X Lib \"y\"\r\ns = \"Declare Sub Z Lib \"\"q\"\"\"\r\n",
                    {}},
        DeclareCase{"malformed: what it names, and the next statement apart",
                    "Declare Function\r\nDeclare Sub NoLib\r\nDeclare Sub Odd Lib user32\r\n",
                    {{"", "", 2}, {"NoLib", "", 3}, {"Odd", "", 4}}},
        DeclareCase{"names in code page 936",
                    "Declare Function \xC8\xA1\xB5\xC3 Lib \"\xBF\xE2.dll\" ()\r\n",
                    {{"取得", "库", 2}}}));

TEST(DeclareLines, NamesAreUtf8AfterTheMark) {
    const MemberInventory inventory = ScanMemberText(
        "\xEF\xBB\xBF"
        "Declare Function 取得 Lib \"k\" ()\r\n",
        SourceKind::VbNet);
    EXPECT_EQ(inventory.declares, (std::vector<DeclareStatement>{{"取得", "k", 1}}));
}

TEST(MemberScanner, BlocksOfAnySizeGiveTheSameInventory) {
    std::string text(kForm);
    text += "Private Declare Function SendMessage _\r\n    Lib \"user32\" ()\r\n";
    text += "x = \"" + std::string(5000, 'a') + "\" _\r\n  Sub NotOne()\r\n";  // long and cut
    text += "Public Sub Last()\r";  // a CR that a block may cut from its LF
    text += "\nSub AfterCrLf()";
    const MemberInventory whole = ScanMemberText(text, SourceKind::Vb6);
    EXPECT_EQ(whole.procedures, 3);
    EXPECT_EQ(whole.declares.size(), 1u);
    for (const std::size_t size : {1, 2, 3, 7, 63, 64, 65, 4095, 4097}) {
        EXPECT_EQ(ScanInBlocks(text, SourceKind::Vb6, size), whole) << "blocks of " << size;
    }
}

// Lines of every sort the walk over the code's bits must take as a line-by-line reading
// does: declarations behind blanks and tabs, continued statements, lines ending in blanks
// and in "_" without a blank, comments continued or not, attributes, NUL bytes.
const std::vector<std::string> kLinePool = {
    "Private Sub Click()",
    "    Public Function F(x) As Long",
    "\tFriend Property Get P()",
    "x = 1",
    "    Dim s As String",
    "End Sub",
    "' Sub Commented() _",
    "Rem Function R()",
    "Call Foo(1, _",
    "  Sub Two)",
    "Public _",
    "  Sub Split()",
    "s = \"Sub InString()\"",
    "<Obsolete()> _",
    "<Test()>",
    "Private Declare Function GetTickCount Lib \"kernel32\" () _",
    "    As Long",
    "Declare Sub Sleep _",
    "    Lib \"KERNEL32.DLL\" (ByVal ms As Long)",
    "x = my_",
    "y = a _   ",
    "    ",
    "",
    "Public Shared Operator +(a As T, b As T) As T",
    "Dim f = Function(x) x + 1",
    "    Function(a, b) a - b)",
    "z = 1 ' trailing _",
    "a\0b",
    "Static Sub_ As Long",
    "PUBLIC SUB UPPER()",
    "_",
    " _",
    "sub",
    "Pu",
    "\xC8\xA1 = 1",
    "Option Explicit",
    "Partial Private Sub P()",
    "Private x As Long _",
    "Attribute VB_Exposed = False",
    "  Attribute VB_Indented = 1",
    "attribute VB_Lower = 1",
    "\t' a comment behind a tab",
    "   ' a comment behind spaces",
    " \t "};

std::string PoolText(std::uint32_t seed, std::size_t lines) {
    std::string text = "Attribute VB_Name = \"m\"\r\n";
    constexpr std::string_view kEnds[] = {"\r\n", "\n", "\r", "\r\n", "\r\n"};
    for (std::size_t i = 0; i < lines; ++i) {
        seed = seed * 1103515245 + 12345;
        text += kLinePool[(seed >> 8) % kLinePool.size()];
        text += kEnds[(seed >> 20) % 5];
    }
    return text;
}

TEST(MemberScanner, TheWalkOverWholeBlocksFindsWhatALineByLineReadingFinds) {
    // Fed one byte at a time, every line is cut by a block boundary and read alone; fed
    // whole, the code is walked by its bits.
    for (const SourceKind kind : {SourceKind::Vb6, SourceKind::VbNet}) {
        for (std::uint32_t seed = 1; seed <= 40; ++seed) {
            const std::string text = PoolText(seed, 600);
            // Long enough for the walk to hand its lines on in several batches.
            ASSERT_GT(text.size(), 2 * statement_bits::kBatchChunks * statement_bits::kChunk);
            const MemberInventory lineByLine = ScanInBlocks(text, kind, 1);
            EXPECT_EQ(ScanMemberText(text, kind), lineByLine)
                << "seed " << seed << (kind == SourceKind::Vb6 ? " VB6" : " VB.NET");
            EXPECT_EQ(ScanInBlocks(text, kind, 100), lineByLine) << "seed " << seed;
        }
    }
}

LineTally CountInBlocks(std::string_view bytes, SourceKind kind, std::size_t blockSize) {
    LineCounter counter(kind);
    FeedInBlocks(counter, bytes, blockSize);
    return counter.Finish();
}

LineTally ScannerTally(std::string_view bytes, SourceKind kind, std::size_t blockSize) {
    MemberScanner scanner(kind);
    FeedInBlocks(scanner, bytes, blockSize);
    scanner.Finish();
    return scanner.Tally();
}

}  // namespace

void PrintTo(const LineTally& tally, std::ostream* out) {
    *out << tally.code << " code, " << tally.comment << " comment, " << tally.blank << " blank";
}

namespace {

std::string Repeated(std::string_view text, std::size_t times) {
    std::string repeated;
    for (std::size_t i = 0; i < times; ++i) {
        repeated += text;
    }
    return repeated;
}

struct TallyCase {
    std::string name;
    std::string text;
};

void PrintTo(const TallyCase& c, std::ostream* out) {
    *out << c.name;
}

class ScannerTallies : public ::testing::TestWithParam<TallyCase> {};

// The scanner counts the lines on its own pass: it must give what the line counter gives
// whichever way a line reaches it, walked by its bits, taken alone, or cut by a block's end.
TEST_P(ScannerTallies, AreTheLineCountersTallies) {
    const std::string& text = GetParam().text;
    for (const SourceKind kind : {SourceKind::Vb6, SourceKind::VbNet}) {
        const LineTally counted = CountInBlocks(text, kind, text.size() + 1);
        for (const std::size_t size :
             {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{63}, std::size_t{64},
              std::size_t{65}, std::size_t{4095}, std::size_t{4097}, text.size() + 1}) {
            EXPECT_EQ(ScannerTally(text, kind, size), counted)
                << (kind == SourceKind::Vb6 ? "VB6" : "VB.NET") << ", blocks of " << size;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ScannerTallies,
    ::testing::Values(
        TallyCase{"a form", std::string(kForm)},
        TallyCase{"module attributes in the code, and lines that only look like them",
                  "Attribute VB_Name = \"m\"\r\n" +
                      Repeated("Attribute VB_Exposed = False\r\n  Attribute VB_Indented\r\n"
                               "attribute VB_Lower\r\nAttribute VB\r\nAttribute VB_\r\n"
                               "x = 1\r\nAttribute VB_Last",
                               40)},
        TallyCase{"tabs are no spaces to the counter",
                  "Attribute VB_Name = \"m\"\r\n" +
                      Repeated("\t' c\r\n \t\r\n\t\r\n   ' c\r\n   \r\n'\r\n", 50)},
        TallyCase{"leading spaces longer than a kept head",
                  "Attribute VB_Name = \"m\"\r\n" + std::string(5000, ' ') + "' c\r\n" +
                      std::string(5000, ' ') + "\r\n" + std::string(5000, ' ') + "x\r\n" +
                      std::string(5000, ' ')},
        TallyCase{"the byte-order mark before the name",
                  "\xEF\xBB\xBF"
                  "Attribute VB_Name = \"m\"\r\nx\r\n'\r\n"},
        TallyCase{"the byte-order mark before a comment", "\xEF\xBB\xBF' c\r\nx\r\n"},
        TallyCase{"no name attribute", "x = 1\r\n' c\r\n\r\n"},
        TallyCase{"the name attribute late",
                  "VERSION 5.00\r\nBegin VB.Form F\r\nEnd\r\n"
                  "Attribute VB_Name = \"F\"\r\n' c\r\n\r\nx\r\n"},
        TallyCase{"line ends of every kind",
                  "Attribute VB_Name = \"m\"\n" + Repeated("a\rb\nc\r\n\r\r\n\n'\r \n", 40) + "x"},
        TallyCase{"continued statements",
                  "Attribute VB_Name = \"m\"\r\n" +
                      Repeated("Private Sub A(x, _\r\n' y)\r\n _\r\n\r\nDeclare Sub S _\r\n"
                               "   Lib \"k\" ()\r\n",
                               40)},
        TallyCase{"NUL bytes", "Attribute VB_Name = \"m\"\r\na\0b\r\n'\0\r\n\0\r\n \0\r\n"s},
        TallyCase{"empty", ""}));

TEST(MemberScanner, TalliesOfMixedTextsAreTheLineCountersTallies) {
    for (const SourceKind kind : {SourceKind::Vb6, SourceKind::VbNet}) {
        for (std::uint32_t seed = 1; seed <= 40; ++seed) {
            const std::string text = PoolText(seed, 600);
            const LineTally counted = CountInBlocks(text, kind, text.size());
            EXPECT_GT(counted.comment, 0);
            EXPECT_GT(counted.blank, 0);
            for (const std::size_t size : {std::size_t{1}, std::size_t{100}, text.size()}) {
                EXPECT_EQ(ScannerTally(text, kind, size), counted)
                    << "seed " << seed << ", blocks of " << size;
            }
        }
    }
}

TEST(MemberScanner, IndentationLongerThanAChunkStillLeadsToTheStatement) {
    // Blanks that fill a whole chunk of 64 bytes carry the line's start through it.
    for (const std::size_t indent : {63, 64, 65, 127, 128, 129, 200, 300}) {
        for (const char blank : {' ', '\t'}) {
            std::string text = "Attribute VB_Name = \"m\"\r\n";
            for (std::size_t at = 0; at < 70; ++at) {
                text += std::string(at + indent, blank) + "Private Sub P" + std::to_string(at) +
                        "()\r\n" + std::string(indent, blank) + "x = 1\r\n";
            }
            for (const SourceKind kind : {SourceKind::Vb6, SourceKind::VbNet}) {
                const MemberInventory whole = ScanMemberText(text, kind);
                EXPECT_EQ(whole.procedures, 70) << indent << " blanks";
                EXPECT_EQ(whole, ScanInBlocks(text, kind, 1)) << indent << " blanks";
            }
        }
    }
}

// The walk as the scanner drives it: every line it hands on, and its line number.
struct Handed {
    std::ptrdiff_t first;
    std::int64_t line;

    friend bool operator==(const Handed&, const Handed&) = default;
};

// The hints the walk gives must be where the line starts (the byte after the end before
// it) and ends, when it gives them.
template <bool kVb6>
std::vector<Handed> WalkedLines(std::string_view text, bool avx2,
                                statement_bits::Walked* walked = nullptr) {
    std::vector<Handed> handed;
    const char* base = text.data();
    const auto onLine = [&](const char* first, const char* start, const char* end,
                            std::int64_t line) {
        handed.push_back({first - base, line});
        const char* lineEnd = first;
        while (*lineEnd != '\r' && *lineEnd != '\n') {
            ++lineEnd;
        }
        if (end != nullptr) {
            EXPECT_EQ(end, lineEnd) << "line " << line;
        }
        if (start != nullptr) {
            const char* lineStart = first;
            while (lineStart > base && lineStart[-1] != '\r' && lineStart[-1] != '\n') {
                --lineStart;
            }
            // After a CR LF the walk names the LF.
            const bool afterPair = start + 1 == lineStart && *start == '\n';
            EXPECT_TRUE(start == lineStart || afterPair) << "line " << line;
        }
    };
    const statement_bits::Walked result =
        statement_bits::Walk<kVb6>(text.data(), text.data() + text.size(), onLine, avx2);
    if (walked != nullptr) {
        *walked = result;
    }
    return handed;
}

}  // namespace
}  // namespace tallix

namespace tallix::statement_bits {
bool operator==(const Walked& a, const Walked& b) {
    return a.lines == b.lines && a.nulLine == b.nulLine && a.blanks == b.blanks &&
           a.comments == b.comments && a.attributes == b.attributes;
}

void PrintTo(const Walked& walked, std::ostream* out) {
    *out << walked.lines << " lines, " << walked.blanks << " blank, " << walked.comments
         << " comment, " << walked.attributes << " attribute, NUL at " << walked.nulLine;
}
}  // namespace tallix::statement_bits

namespace tallix {
namespace {

template <bool kVb6>
void ExpectBothBuildsAgree(std::uint32_t seed) {
    std::string text = PoolText(seed, 600);
    text.resize(text.find_last_of("\r\n") + 1);  // whole lines, as a run has them
    statement_bits::Walked portableWalk;
    const std::vector<Handed> portable = WalkedLines<kVb6>(text, false, &portableWalk);
    EXPECT_GT(portable.size(), 20u);
    EXPECT_GT(portableWalk.blanks, 0);
    EXPECT_GT(portableWalk.comments, 0);
    EXPECT_EQ(portableWalk.attributes > 0, kVb6);
    if (statement_bits::PreferAvx2()) {
        statement_bits::Walked avx2Walk;
        EXPECT_EQ(WalkedLines<kVb6>(text, true, &avx2Walk), portable) << "seed " << seed;
        EXPECT_EQ(avx2Walk, portableWalk) << "seed " << seed;
    }
}

TEST(StatementWalk, BothBuildsHandOnTheSameLinesAndClassesTheSame) {
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        ExpectBothBuildsAgree<true>(seed);
        ExpectBothBuildsAgree<false>(seed);
    }
}

// Builds without SSE2 (32-bit Windows) take the plain masks: they must be the masks of the
// build that runs here.
TEST(StatementWalk, PlainMasksAreThoseOfTheVectorBuild) {
    const std::string chunks = ChunksOfEveryByteAtEveryPosition();
    for (std::size_t at = 0; at < chunks.size(); at += statement_bits::kChunk) {
        const statement_bits::ByteMasks plain = statement_bits::MasksPlain(chunks.data() + at);
        const statement_bits::ByteMasks vector = statement_bits::Masks(chunks.data() + at);
        const auto chunk = at / statement_bits::kChunk;
        EXPECT_EQ(plain.cr, vector.cr) << "chunk " << chunk;
        EXPECT_EQ(plain.lf, vector.lf) << "chunk " << chunk;
        EXPECT_EQ(plain.blank, vector.blank) << "chunk " << chunk;
        EXPECT_EQ(plain.nul, vector.nul) << "chunk " << chunk;
        EXPECT_EQ(plain.space, vector.space) << "chunk " << chunk;
        EXPECT_EQ(plain.quote, vector.quote) << "chunk " << chunk;
        EXPECT_EQ(plain.capitalA, vector.capitalA) << "chunk " << chunk;
    }
}

struct DesignerFileCase {
    std::string name;
    std::string text;
    Controls controls;
    std::int64_t lines;
};

void PrintTo(const DesignerFileCase& c, std::ostream* out) {
    *out << c.name;
}

class DesignerFiles : public ::testing::TestWithParam<DesignerFileCase> {};

TEST_P(DesignerFiles, CountTheControlsInitializeComponentCreates) {
    const DesignerFile file = ScanDesignerFileText(GetParam().text);
    EXPECT_EQ(file.controls, GetParam().controls);
    EXPECT_EQ(file.lines, GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DesignerFiles,
    ::testing::Values(
        DesignerFileCase{"fields made new, declared after or before, in any case",
                         "Friend WithEvents tip As System.Windows.Forms.ToolTip\r\n"
                         "    Me.Button1 = New System.Windows.Forms.Button()\r\n"
                         "        Me.Button2 = New System.Windows.Forms.Button\r\n"
                         "me.grid = new system.windows.forms.DataGridView()\r\n"
                         "Me.tip = New Global.System.Windows.Forms.ToolTip(Me.components)\r\n"
                         "    Friend WithEvents button1 As System.Windows.Forms.Button\r\n"
                         "    Private WithEvents Button2 As System.Windows.Forms.Button\r\n"
                         "    Friend Grid As System.Windows.Forms.DataGridView\r\n",
                         {{"System.Windows.Forms.Button", 2},
                          {"system.windows.forms.DataGridView", 1},
                          {"System.Windows.Forms.ToolTip", 1}},
                         8},
        DesignerFileCase{
            "what is not a control",
            "Me.components = New System.ComponentModel.Container()\r\n"
            "Me.Label1.Padding = New System.Windows.Forms.Padding(3)\r\n"
            "Me.Padding = New System.Windows.Forms.Padding(5, 5, 0, 0)\r\n"
            "Dim Style1 As System.Windows.Forms.DataGridViewCellStyle = New "
            "System.Windows.Forms.DataGridViewCellStyle()\r\n"
            "' Me.Old = New System.Windows.Forms.Button()\r\n"
            "Me.Strip.Items.AddRange(New System.Windows.Forms.ToolStripItem() {Me.A})\r\n"
            "Me.Undeclared = New System.Windows.Forms.Button()\r\n"
            "Friend WithEvents Label1 As System.Windows.Forms.Label\r\n"
            "Private components As System.ComponentModel.IContainer\r\n"
            "WithEvents Old As System.Windows.Forms.Button\r\n"
            "Private Sub Helper(ByVal x As Integer, _\r\n"
            "    Undeclared As Integer)\r\n",
            {},
            12},
        DesignerFileCase{"lines of every ending", "a\r\nb\nc\rd", {}, 4},
        DesignerFileCase{"an empty file", "", {}, 0}));

TEST(LibraryKeys, GroupSpellingsOfOneLibrary) {
    EXPECT_EQ(LibraryKey("USER32"), "user32");
    EXPECT_EQ(LibraryKey("User32.dll"), "user32");
    EXPECT_EQ(LibraryKey(" kernel32.DLL "), "kernel32");
    EXPECT_EQ(LibraryKey("msvbvm60.dll.dll"), "msvbvm60.dll");
    EXPECT_EQ(LibraryKey(".dll"), ".dll") << "nothing before the extension: kept";
    EXPECT_EQ(LibraryKey("wsock32.ocx"), "wsock32.ocx");
}

}  // namespace
}  // namespace tallix
