#include "engine/inventory/references.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/inventory/project_description.h"
#include "failing_source.h"
#include "temp_dir.h"

namespace tallix {
namespace {

using namespace std::string_literals;
using testing::TempDir;

Reference Ref(ReferenceKind kind, std::string name, std::string guid, std::string version,
              std::string location, std::string detail = "") {
    Reference reference;
    reference.kind = kind;
    reference.name = std::move(name);
    reference.guid = std::move(guid);
    reference.version = std::move(version);
    reference.location = std::move(location);
    reference.detail = std::move(detail);
    return reference;
}

Reference Malformed(Reference reference, std::string line) {
    reference.malformed = true;
    reference.written = std::move(line);
    return reference;
}

struct Vb6LineCase {
    std::string line;
    Reference expected;
};

void PrintTo(const Vb6LineCase& c, std::ostream* out) {
    *out << c.line;
}

class Vb6ReferenceLines : public ::testing::TestWithParam<Vb6LineCase> {};

TEST_P(Vb6ReferenceLines, GiveTheirParts) {
    const auto reference = Vb6ReferenceOf(GetParam().line);
    ASSERT_TRUE(reference.has_value());
    EXPECT_EQ(*reference, GetParam().expected);
}

constexpr const char* kStdole = "00020430-0000-0000-C000-000000000046";
constexpr const char* kComctl = "831FDD16-0C5C-11D2-A9FC-0000F8754DA1";

INSTANTIATE_TEST_SUITE_P(
    WellFormed, Vb6ReferenceLines,
    ::testing::Values(
        Vb6LineCase{"Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#"
                    "C:\\WINDOWS\\system32\\stdole2.tlb#OLE Automation",
                    Ref(ReferenceKind::TypeLibrary, "OLE Automation", kStdole, "2.0",
                        "C:\\WINDOWS\\system32\\stdole2.tlb", "0")},
        Vb6LineCase{
            "Reference=*\\G{73515247-82C9-4991-A8A6-1911C49A57EA}#3.0#0#"
            "..\\LiNVBLib\\LiNVBLib.dll#",
            Ref(ReferenceKind::TypeLibrary, "LiNVBLib.dll", "73515247-82C9-4991-A8A6-1911C49A57EA",
                "3.0", "..\\LiNVBLib\\LiNVBLib.dll", "0")},
        Vb6LineCase{"Reference=*\\G{662901FC-6951-4854-9EB2-D9A2570F2B2E}#5.1#409#"
                    "C:\\WINHTTP.dll#WinHTTP #5.1",
                    Ref(ReferenceKind::TypeLibrary, "WinHTTP #5.1",
                        "662901FC-6951-4854-9EB2-D9A2570F2B2E", "5.1", "C:\\WINHTTP.dll", "409")},
        Vb6LineCase{
            "Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; mscomctl.OCX",
            Ref(ReferenceKind::Component, "mscomctl.OCX", kComctl, "2.0", "mscomctl.OCX", "0")},
        Vb6LineCase{"Object=*\\G{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.1#0;Sub\\x.ocx ",
                    Ref(ReferenceKind::Component, "x.ocx", kComctl, "2.1", "Sub\\x.ocx", "0")},
        Vb6LineCase{"Reference=*\\A..\\Lib\\Lib.vbp",
                    Ref(ReferenceKind::VbProject, "Lib.vbp", "", "", "..\\Lib\\Lib.vbp")},
        Vb6LineCase{"Object=*\\AControls.vbp",
                    Ref(ReferenceKind::VbProject, "Controls.vbp", "", "", "Controls.vbp")}));

INSTANTIATE_TEST_SUITE_P(
    Malformed, Vb6ReferenceLines,
    ::testing::Values(
        Vb6LineCase{"Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0",
                    Malformed(Ref(ReferenceKind::TypeLibrary, "", kStdole, "2.0", ""),
                              "Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0")},
        Vb6LineCase{"Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0",
                    Malformed(Ref(ReferenceKind::TypeLibrary, "", kStdole, "2.0", "", "0"),
                              "Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0")},
        Vb6LineCase{"Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0##",
                    Malformed(Ref(ReferenceKind::TypeLibrary, "", kStdole, "2.0", "", "0"),
                              "Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0##")},
        Vb6LineCase{"Reference=*\\G{not-a-guid}#2.0#0#x.tlb#X",
                    Malformed(Ref(ReferenceKind::TypeLibrary, "", "not-a-guid", "", ""),
                              "Reference=*\\G{not-a-guid}#2.0#0#x.tlb#X")},
        Vb6LineCase{"Reference=*\\G{00020430-0000-0000-C000-000000000046#2.0#0#x#y",
                    Malformed(Ref(ReferenceKind::TypeLibrary, "", "", "", ""),
                              "Reference=*\\G{00020430-0000-0000-C000-000000000046#2.0#0#x#y")},
        Vb6LineCase{
            "Reference=stdole2.tlb",
            Malformed(Ref(ReferenceKind::TypeLibrary, "", "", "", ""), "Reference=stdole2.tlb")},
        Vb6LineCase{"Reference=*\\A",
                    Malformed(Ref(ReferenceKind::VbProject, "", "", "", ""), "Reference=*\\A")},
        Vb6LineCase{
            "Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0 mscomctl.ocx",
            Malformed(Ref(ReferenceKind::Component, "", kComctl, "2.0", "", "0 mscomctl.ocx"),
                      "Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0 mscomctl.ocx")},
        Vb6LineCase{"Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; ",
                    Malformed(Ref(ReferenceKind::Component, "", kComctl, "2.0", "", "0"),
                              "Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; ")},
        Vb6LineCase{"Object=",
                    Malformed(Ref(ReferenceKind::Component, "", "", "", ""), "Object=")}));

TEST(Vb6ReferenceLines, OtherLinesAreNoReferences) {
    for (const char* line :
         {"reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#x#y", " Reference=*\\A x.vbp",
          "ReferenceX=1", "Objects=1", "Form=a.frm", ""}) {
        EXPECT_FALSE(Vb6ReferenceOf(line).has_value()) << line;
    }
}

TEST(Vb6ListedMembers, KindsByPrefixAndDesignersListedButNotCounted) {
    const ProjectDescription description = DescribeVb6Project(
        "Type=OleDll\r\nForm=frmMain.frm\r\nModule=modA; modA.bas\r\nClass=C; Classes\\C.cls\r\n"
        "UserControl=Ctl.ctl\r\nPropertyPage=ppg.pag\r\nUserDocument=doc.dob\r\n"
        "Designer=DataEnv.Dsr\r\nform=lower.frm\r\n Module=indented.bas\r\nType=Exe\r\n"
        "Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#stdole2.tlb#OLE\r\n"
        "Object=bad\r\n");
    EXPECT_EQ(description.type, "OleDll") << "the first Type= line";
    EXPECT_EQ(description.members,
              (std::vector<ListedMember>{{"frmMain.frm", MemberKind::Form, true},
                                         {"modA.bas", MemberKind::Module, true},
                                         {"Classes\\C.cls", MemberKind::Class, true},
                                         {"Ctl.ctl", MemberKind::UserControl, true},
                                         {"ppg.pag", MemberKind::PropertyPage, true},
                                         {"doc.dob", MemberKind::UserDocument, true},
                                         {"DataEnv.Dsr", MemberKind::Designer, false}}));
    ASSERT_EQ(description.references.size(), 2u);
    EXPECT_EQ(description.references[0].line, 12);
    EXPECT_FALSE(description.references[0].malformed);
    EXPECT_EQ(description.references[1].line, 13);
    EXPECT_TRUE(description.references[1].malformed);
}

// A classic project with one of each reference kind, metadata as attributes and as child
// elements, XML references, and items under conditions.
constexpr std::string_view kEveryKind = R"(<?xml version="1.0" encoding="utf-8"?>
<Project ToolsVersion="4.0" xmlns="http://schemas.microsoft.com/developer/msbuild/2003">
  <ItemGroup>
    <Reference Include="MySql.Data, Version=6.9.9.0, Culture=neutral, PublicKeyToken=c5687fc88969c44d">
      <HintPath>..\lib\MySql.Data.dll</HintPath>
    </Reference>
    <Reference Include="System" />
    <Reference Include="Tom &amp; Jerry, version = 1.2" />
    <!-- <Reference Include="Commented" /> -->
  </ItemGroup>
  <ItemGroup Condition=" '$(Configuration)' == 'Debug' ">
    <PackageReference Include="Newtonsoft.Json" Version="13.0.1" />
    <PackageReference Include="Serilog">
      <Version>2.10.0</Version>
    </PackageReference>
    <PackageReference Update="Serilog" Version="3.0" />
  </ItemGroup>
  <ItemGroup Condition="false">
    <Reference Include="Hidden" />
  </ItemGroup>
  <ItemGroup>
    <COMReference Include="MSXML2">
      <Guid>{F5078F18-C551-11D3-89B9-0000F81FE221}</Guid>
      <VersionMajor>6</VersionMajor>
      <VersionMinor>0</VersionMinor>
      <Lcid>0</Lcid>
      <WrapperTool>tlbimp</WrapperTool>
    </COMReference>
    <ProjectReference Include="..\VbLib\VbLib.vbproj">
      <Project>{D18AB89D-1897-4779-A937-F48661E0B6B8}</Project>
      <Name>Vb Library</Name>
    </ProjectReference>
    <ProjectReference Include="..\Other\Other.vbproj" />
    <PackageReference Include="A;B" Version="1.0" Condition="'true'" />
    <PackageReference Include="Off" Version="1.0" Condition="'False'" />
  </ItemGroup>
</Project>
)";

TEST(VbNetReferences, EveryKindWithItsMetadata) {
    VbNetReferenceScanner scanner;
    scanner.Feed(kEveryKind);
    EXPECT_EQ(
        scanner.References(),
        (std::vector<Reference>{
            Ref(ReferenceKind::Assembly, "MySql.Data", "", "6.9.9.0", "..\\lib\\MySql.Data.dll"),
            Ref(ReferenceKind::Assembly, "System", "", "", ""),
            Ref(ReferenceKind::Assembly, "Tom & Jerry", "", "1.2", ""),
            Ref(ReferenceKind::Package, "Newtonsoft.Json", "", "13.0.1", ""),
            Ref(ReferenceKind::Package, "Serilog", "", "2.10.0", ""),
            Ref(ReferenceKind::Com, "MSXML2", "F5078F18-C551-11D3-89B9-0000F81FE221", "6.0", "",
                "tlbimp"),
            Ref(ReferenceKind::Project, "Vb Library", "D18AB89D-1897-4779-A937-F48661E0B6B8", "",
                "..\\VbLib\\VbLib.vbproj"),
            Ref(ReferenceKind::Project, "Other", "", "", "..\\Other\\Other.vbproj"),
            Ref(ReferenceKind::Package, "A", "", "1.0", ""),
            Ref(ReferenceKind::Package, "B", "", "1.0", "")}));
    EXPECT_EQ(scanner.Notes(), (std::vector<ProjectNote>{{ProjectNote::Kind::ConditionNotEvaluated,
                                                          " '$(Configuration)' == 'Debug' "}}));
}

TEST(VbNetReferences, AComVersionWithoutItsMinorIsMajorDotZero) {
    const std::vector<Reference> references = ScanVbNetReferences(
        "<Project><ItemGroup><COMReference Include=\"Shell32\"><VersionMajor>1</VersionMajor>"
        "</COMReference><COMReference Include=\"None\" /></ItemGroup></Project>");
    ASSERT_EQ(references.size(), 2u);
    EXPECT_EQ(references[0].version, "1.0");
    EXPECT_EQ(references[1].version, "") << "no version is none";
}

TEST(VbNetReferences, FedInPiecesOfAnySize) {
    const std::vector<Reference> whole = ScanVbNetReferences(kEveryKind);
    for (const std::size_t size : {1, 2, 7, 100}) {
        VbNetReferenceScanner scanner;
        for (std::size_t at = 0; at < kEveryKind.size(); at += size) {
            scanner.Feed(kEveryKind.substr(at, size));
        }
        EXPECT_EQ(scanner.References(), whole) << "pieces of " << size;
    }
}

TEST(VbNetReferences, ItemsLeftOpenEndWithTheirGroup) {
    const std::vector<Reference> references = ScanVbNetReferences(
        "<Project><ItemGroup><Reference Include=\"Open\"><HintPath>a.dll</HintPath>"
        "</ItemGroup><Reference Include=\"After\"/></Project>");
    EXPECT_EQ(references,
              (std::vector<Reference>{Ref(ReferenceKind::Assembly, "Open", "", "", "a.dll"),
                                      Ref(ReferenceKind::Assembly, "After", "", "", "")}));
    EXPECT_TRUE(ScanVbNetReferences("<Project><Reference Include=\"Cut").empty());
    EXPECT_TRUE(ScanVbNetReferences("\0\xFF<<>>"s).empty());
}

TEST(ProjectDescriptions, AProjectThatFailsHalfWayHasNoMembers) {
    const std::string project = "Form=A.frm\r\nModule=B; B.bas\r\nClass=C; C.cls\r\n";
    testing::FailingSource failing(project, project.size() - 4, 5);
    const ProjectDescription cut = DescribeVb6Project(failing);
    EXPECT_EQ(cut.problem.error, FileError::Unreadable);
    EXPECT_TRUE(cut.members.empty());
    testing::FailingSource whole(project, std::string::npos, 5);
    EXPECT_EQ(DescribeVb6Project(whole).members.size(), 3u);
}

TEST(ProjectDescriptions, ReadFromDiskByTheirKindsRules) {
    TempDir dir;
    // Code page 936 in a VB6 project, the counters' encoding rule.
    const std::string vbp =
        dir.Write("P.vbp",
                  "Type=Exe\r\nModule=M; \xC4\xA3\xBF\xE9.bas\r\n"
                  "Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#x.tlb#"
                  "\xD6\xD0\xCE\xC4\r\n");
    const ProjectDescription vb6 = ReadProjectDescription(vbp, SourceKind::Vb6);
    EXPECT_EQ(vb6.problem.error, FileError::None);
    EXPECT_EQ(vb6.members, (std::vector<ListedMember>{{"模块.bas", MemberKind::Module, true}}));
    ASSERT_EQ(vb6.references.size(), 1u);
    EXPECT_EQ(vb6.references[0].name, "中文");

    dir.Write("N/Main.vb", "Module M\r\nEnd Module\r\n");
    const std::string sdk =
        dir.Write("N/N.vbproj",
                  "<Project Sdk=\"Microsoft.NET.Sdk\"><ItemGroup Condition=\"$(X)\">"
                  "<PackageReference Include=\"P\" Version=\"1\" /><Compile Include=\"Extra.vb\" />"
                  "</ItemGroup></Project>");
    const ProjectDescription net = ReadProjectDescription(sdk, SourceKind::VbNet);
    EXPECT_EQ(net.problem.error, FileError::None);
    EXPECT_EQ(net.members, (std::vector<ListedMember>{{"Extra.vb", MemberKind::Code, true},
                                                      {"Main.vb", MemberKind::Code, true}}));
    EXPECT_EQ(net.references,
              (std::vector<Reference>{Ref(ReferenceKind::Package, "P", "", "1", "")}));
    EXPECT_EQ(net.notes,
              (std::vector<ProjectNote>{{ProjectNote::Kind::ConditionNotEvaluated, "$(X)"}}))
        << "noted once, by the member reader and the reference reader alike";

    const ProjectDescription missing = ReadProjectDescription(dir.Str("Gone.vbp"), SourceKind::Vb6);
    EXPECT_EQ(missing.problem.error, FileError::Missing);
    EXPECT_EQ(ReadProjectDescription(dir.Str("Gone.vbproj"), SourceKind::VbNet).problem.error,
              FileError::Missing);
}

}  // namespace
}  // namespace tallix
