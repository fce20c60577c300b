#include "engine/projects/project_readers.h"

#include <gtest/gtest.h>

#include "engine/counting/member_count.h"
#include "engine/text/text_lines.h"
#include "failing_source.h"
#include "temp_dir.h"

namespace tallix {
namespace {

using Names = std::vector<std::string>;

TEST(Vb6Reader, TakesTheSixMemberKindsInFileOrder) {
    const Names names = ReadVb6Project(
        "Type=Exe\r\n"
        "Form=frmMain.frm\r\n"
        "Module=modMain; modMain.bas\r\n"
        "Class=CThing; Things\\CThing.cls\r\n"
        "UserControl=ctl.ctl\r\n"
        "PropertyPage=page.pag\r\n"
        "UserDocument=doc.dob\r\n"
        "Reference=*\\G{000}#2.0#0#stdole2.tlb#OLE Automation\r\n"
        "Startup=\"frmMain\"\r\n");
    EXPECT_EQ(names, (Names{"frmMain.frm", "modMain.bas", "Things\\CThing.cls", "ctl.ctl",
                            "page.pag", "doc.dob"}));
}

TEST(Vb6Reader, NamesAreTakenAsWritten) {
    // After "=" nothing is trimmed; after ";" spaces (only) are.
    EXPECT_EQ(Vb6MemberName("Form= a.frm "), " a.frm ");
    EXPECT_EQ(Vb6MemberName("Module=M;  b.bas  "), "b.bas");
    EXPECT_EQ(Vb6MemberName("Module=M;\tb.bas"), "\tb.bas");
    EXPECT_EQ(Vb6MemberName("Class=C; x;y.cls"), "x;y.cls");
    // Without a semicolon the whole line, trimmed, is the name.
    EXPECT_EQ(Vb6MemberName("Module=Lonely.bas "), "Module=Lonely.bas");
    EXPECT_EQ(Vb6MemberName("Form="), "");
    EXPECT_EQ(Vb6MemberName("Module=M;"), "");
}

TEST(Vb6Reader, EntriesNameTheKeyThatListsTheMember) {
    const std::pair<std::string_view, std::string_view> lines[] = {
        {"Form=a.frm", "Form"},
        {"Module=M; b.bas", "Module"},
        {"Class=C; c.cls", "Class"},
        {"UserControl=u.ctl", "UserControl"},
        {"PropertyPage=p.pag", "PropertyPage"},
        {"UserDocument=d.dob", "UserDocument"},
    };
    for (const auto& [line, key] : lines) {
        const auto entry = Vb6MemberEntry(line);
        ASSERT_TRUE(entry.has_value()) << line;
        EXPECT_EQ(entry->key, key) << line;
        EXPECT_EQ(entry->name, Vb6MemberName(line)) << line;
    }
    EXPECT_FALSE(Vb6MemberEntry("Designer=dsr.dsr").has_value());
}

TEST(Vb6Reader, IgnoresOtherCasesIndentsAndLookalikes) {
    EXPECT_EQ(Vb6MemberName("form=a.frm"), std::nullopt);
    EXPECT_EQ(Vb6MemberName(" Form=a.frm"), std::nullopt);
    EXPECT_EQ(Vb6MemberName("Form =a.frm"), std::nullopt);
    EXPECT_EQ(Vb6MemberName("Forms=a.frm"), std::nullopt);
    EXPECT_EQ(Vb6MemberName("ResFile32=\"a.res\""), std::nullopt);
    EXPECT_EQ(Vb6MemberName("Designer=dsr.dsr"), std::nullopt);
}

TEST(Vb6Reader, SearchesDecodedCharacters) {
    // 0x81 0x5C is one character in code page 936; its second byte is not a backslash.
    EXPECT_EQ(ReadVb6Project("Form=Forms\\\x81\x5C.frm\r\n"), Names{"Forms\\乗.frm"});
    EXPECT_EQ(ReadVb6Project("Module=\xD6\xD0; \xCE\xC4.bas"), Names{"文.bas"});
    // A user-defined cell is one character too, and keeps the backslash after it.
    EXPECT_EQ(ReadVb6Project("Form=d\xAA\xB0\\ok.bas"), Names{"d\uE00F\\ok.bas"});
}

TEST(Vb6Reader, ReadsLfAndCrOnlyFiles) {
    EXPECT_EQ(ReadVb6Project("Form=a.frm\nForm=b.frm\n"), (Names{"a.frm", "b.frm"}));
    EXPECT_EQ(ReadVb6Project("Form=a.frm\rForm=b.frm"), (Names{"a.frm", "b.frm"}));
    EXPECT_EQ(ReadVb6Project(""), Names{});
}

TEST(VbNetReader, TakesCompileItemsBetweenFirstAndLastQuote) {
    EXPECT_EQ(VbNetMemberName("    <Compile Include=\"Form1.vb\" />"), "Form1.vb");
    EXPECT_EQ(VbNetMemberName("<Compile Include=\"Form1.vb\">"), "Form1.vb");
    EXPECT_EQ(VbNetMemberName("<Compile Include=\"a.vb\" Link=\"b.vb\" />"), "a.vb\" Link=\"b.vb");
    EXPECT_EQ(VbNetMemberName("<Compile Include=\"\" />"), "");
    EXPECT_EQ(VbNetMemberName("<Compile Include=\"a&amp;b.vb\" />"), "a&amp;b.vb");
}

TEST(VbNetReader, SkipsGeneratedFilesAndOtherLines) {
    EXPECT_EQ(VbNetMemberName("<Compile Include=\"My Project\\AssemblyInfo.vb\" />"), std::nullopt);
    EXPECT_EQ(VbNetMemberName("<Compile Include=\"Form1.Designer.vb\">"), std::nullopt);
    EXPECT_EQ(VbNetMemberName("\t<Compile Include=\"Form1.vb\" />"), std::nullopt);
    EXPECT_EQ(VbNetMemberName("<compile Include=\"Form1.vb\" />"), std::nullopt);
    EXPECT_EQ(VbNetMemberName("<None Include=\"app.config\" />"), std::nullopt);
    EXPECT_EQ(VbNetMemberName("<Compile Include=Form1.vb />"), std::nullopt);
    EXPECT_EQ(VbNetMemberName("<Compile Include=\"Form1.vb />"), std::nullopt);
}

TEST(VbNetReader, ReadsUtf8ProjectsWithByteOrderMark) {
    const Names names = ReadVbNetProject(
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        "<Project>\n  <ItemGroup>\n"
        "    <Compile Include=\"窗体\\主窗体.vb\" />\n"
        "    <Compile Include=\"主窗体.Designer.vb\" />\n"
        "  </ItemGroup>\n</Project>\n");
    EXPECT_EQ(names, Names{"窗体\\主窗体.vb"});
}

TEST(Readers, WrongKindGivesNoMembers) {
    EXPECT_EQ(ReadVb6Project("<Compile Include=\"a.vb\" />\r\n"), Names{});
    EXPECT_EQ(ReadVbNetProject("Form=a.frm\r\n"), Names{});
}

TEST(ProjectFile, ReadsFromDiskAndReportsProblems) {
    testing::TempDir dir;
    const std::string path = dir.Write("p.vbp", "Form=a.frm\r\nModule=M; b.bas\r\n");
    const ProjectMembers read = ReadProjectFile(path, SourceKind::Vb6);
    EXPECT_EQ(read.problem.error, FileError::None);
    EXPECT_EQ(read.names, (Names{"a.frm", "b.bas"}));

    EXPECT_EQ(ReadProjectFile(dir.Str("none.vbp"), SourceKind::Vb6).problem.error,
              FileError::Missing);
    EXPECT_EQ(ReadProjectFile(dir.Str(), SourceKind::Vb6).problem.error, FileError::NotAFile);
    // A wildcard is no file name for reading, even where the existence test matches it.
    EXPECT_NE(ReadProjectFile(dir.Str("*.vbp"), SourceKind::Vb6).problem.error, FileError::None);
}

TEST(ProjectFile, ReadFailingHalfWayIsAProblem) {
    const std::string text = "Form=a.frm\r\nForm=b.frm\r\nForm=c.frm\r\n";
    Names seen;
    const auto collect = [&](std::string name) {
        seen.push_back(std::move(name));
        return true;
    };
    testing::FailingSource failing(text, 15, 4);
    const FileProblem problem = VisitProjectMembers(failing, SourceKind::Vb6, collect);
    EXPECT_EQ(problem.error, FileError::Unreadable);
    EXPECT_EQ(problem.detail, "Input/output error");
    testing::FailingSource whole(text, std::string::npos, 4);
    seen.clear();
    EXPECT_EQ(VisitProjectMembers(whole, SourceKind::Vb6, collect).error, FileError::None);
    EXPECT_EQ(seen, (Names{"a.frm", "b.frm", "c.frm"}));
}

TEST(ProjectFile, NameFromAnOverlongLineOpensNoShorterFile) {
    // Cut short, this line would name the file `a.vb" Link=`, which exists.
    testing::TempDir dir;
    dir.Write("a.vb\" Link=", "x = 1\r\n");
    const std::string line = "<Compile Include=\"a.vb\" Link=\"" +
                             std::string(TextLineReader::kMaxLineBytes, 'x') + "\" />";
    const std::string path = dir.Write("p.vbproj", "<Compile Include=\"a.vb\" />\r\n" + line);
    const ProjectMembers read = ReadProjectFile(path, SourceKind::VbNet);
    ASSERT_EQ(read.names.size(), 2u);
    EXPECT_EQ(read.names[0], "a.vb");
    EXPECT_NE(read.names[1].find('\0'), std::string::npos);
    FileLocator locator;
    const MemberCount member =
        CountMember(ProjectFolder(path), read.names[1], SourceKind::VbNet, {}, locator);
    EXPECT_EQ(member.problem.error, FileError::Missing);
    EXPECT_EQ(member.lines, 0);
    // A VB6 name runs to the end of its line, and so into the mark.
    const auto vb6 = ReadVb6Project("Form=" + std::string(TextLineReader::kMaxLineBytes, 'f'));
    ASSERT_EQ(vb6.size(), 1u);
    EXPECT_TRUE(vb6[0].ends_with(TextLineReader::kCutMark));
}

TEST(ProjectFile, HugeLineIsReadInBoundedMemory) {
    // 64 MiB without a line end, made as it is read: only the head of the line is kept.
    constexpr std::size_t kHuge = std::size_t{64} << 20;
    for (const SourceKind kind : {SourceKind::Vb6, SourceKind::VbNet}) {
        const std::string head = kind == SourceKind::Vb6 ? "Form=" : "<Compile Include=\"";
        const std::string next =
            kind == SourceKind::Vb6 ? "Form=b.frm" : "<Compile Include=\"b.vb\"";
        testing::RepeatingSource source(head, 'f', kHuge, "\r\n" + next + "\r\n");
        Names seen;
        const FileProblem problem = VisitProjectMembers(source, kind, [&](std::string name) {
            seen.push_back(std::move(name));
            return true;
        });
        EXPECT_EQ(problem.error, FileError::None);
        ASSERT_EQ(seen.size(), 2u);
        EXPECT_LE(seen[0].size(), TextLineReader::kMaxLineBytes + TextLineReader::kCutMark.size());
        EXPECT_NE(seen[0].find('\0'), std::string::npos);
        EXPECT_EQ(seen[1], kind == SourceKind::Vb6 ? "b.frm" : "b.vb");
    }
}

TEST(ProjectFile, ManyMembersAreAllReturned) {
    testing::TempDir dir;
    std::string text;
    for (int i = 0; i < 200; ++i) {
        text += "Form=f" + std::to_string(i) + ".frm\r\n";
    }
    const auto read = ReadProjectFile(dir.Write("big.vbp", text), SourceKind::Vb6);
    ASSERT_EQ(read.names.size(), 200u);
    EXPECT_EQ(read.names.back(), "f199.frm");
}

}  // namespace
}  // namespace tallix
