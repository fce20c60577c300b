#include "engine/inventory/set_inventory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/counting/member_count.h"
#include "engine/projects/project_readers.h"
#include "failing_source.h"
#include "real_projects.h"
#include "temp_dir.h"

namespace tallix {
namespace {

using testing::kFixturesDir;
using testing::TempDir;

std::vector<ProjectInventory> Inventory(const std::vector<SetProject>& projects, SetInventory& set,
                                        unsigned workers = 2, CountOptions options = {}) {
    std::vector<ProjectInventory> inventories;
    set = InventorySet(
        projects, options, [&](const ProjectInventory& p) { inventories.push_back(p); }, workers);
    return inventories;
}

TEST(InventoryMembers, AreCountedExactlyAsTheCounterCountsThem) {
    struct Project {
        std::string path;
        SourceKind kind;
    };
    for (const Project& project :
         {Project{kFixturesDir + "/vb6-chinese/App/Reader.vbp", SourceKind::Vb6},
          Project{kFixturesDir + "/vb6-lf/Hopper.vbp", SourceKind::Vb6},
          Project{kFixturesDir + "/vbnet-bom/Grades.vbproj", SourceKind::VbNet}}) {
        const std::string folder = ProjectFolder(project.path);
        const ProjectMembers names = ReadProjectFile(project.path, project.kind);
        ASSERT_FALSE(names.names.empty()) << project.path;
        for (const CountOptions options : {CountOptions{false, false}, CountOptions{true, true}}) {
            FileLocator countLocator;
            FileLocator inventoryLocator;
            for (const std::string& name : names.names) {
                const MemberCount counted =
                    CountMember(folder, name, project.kind, options, countLocator);
                const InventoryMember member =
                    ReadInventoryMember(folder, {name, MemberKind::Code, true}, project.kind,
                                        options, inventoryLocator);
                SCOPED_TRACE(project.path + ": " + name);
                EXPECT_EQ(member.count.name, counted.name);
                EXPECT_EQ(member.count.path, counted.path);
                EXPECT_EQ(member.count.tally, counted.tally);
                EXPECT_EQ(member.count.lines, counted.lines);
                EXPECT_EQ(member.count.problem.error, counted.problem.error);
                EXPECT_EQ(member.count.identity, counted.identity);
            }
        }
    }
}

TEST(InventoryMembers, AVbNetMemberWithADesignerPartnerIsAForm) {
    TempDir dir;
    dir.Write("Forms/Main.vb",
              "Public Class Main\r\n    Private Sub Load()\r\n    End Sub\r\nEnd Class\r\n");
    dir.Write("Forms/main.DESIGNER.vb",
              "Partial Class Main\r\n    Private Sub InitializeComponent()\r\n"
              "        Me.Ok = New System.Windows.Forms.Button()\r\n"
              "        Me.Cancel = New System.Windows.Forms.Button()\r\n    End Sub\r\n"
              "    Friend WithEvents Ok As System.Windows.Forms.Button\r\n"
              "    Friend WithEvents Cancel As System.Windows.Forms.Button\r\nEnd Class");
    dir.Write("Code.vb", "Module Code\r\nEnd Module\r\n");
    FileLocator locator;
    const std::string folder = dir.Str() + testing::kSeparator;
    const InventoryMember form = ReadInventoryMember(
        folder, {"Forms\\Main.vb", MemberKind::Code, true}, SourceKind::VbNet, {}, locator);
    EXPECT_EQ(form.listed.kind, MemberKind::Form) << "found in another letter case";
    EXPECT_EQ(form.inventory.designerLines, 8) << "the partner's lines";
    EXPECT_EQ(form.inventory.controls,
              (std::map<std::string, std::int64_t>{{"System.Windows.Forms.Button", 2}}));
    EXPECT_EQ(form.inventory.procedures, 1) << "the member's own, not InitializeComponent";
    EXPECT_EQ(form.count.tally, (LineTally{4, 0, 0})) << "the partner is not counted";
    const InventoryMember code = ReadInventoryMember(folder, {"Code.vb", MemberKind::Code, true},
                                                     SourceKind::VbNet, {}, locator);
    EXPECT_EQ(code.listed.kind, MemberKind::Code);
    EXPECT_EQ(code.inventory.designerLines, 0);
    // VB6 rules look for no partner.
    const InventoryMember vb6 = ReadInventoryMember(
        folder, {"Forms\\Main.vb", MemberKind::Class, true}, SourceKind::Vb6, {}, locator);
    EXPECT_EQ(vb6.listed.kind, MemberKind::Class);
    EXPECT_EQ(DesignerPartnerName("A.VB"), "A.Designer.vb");
    EXPECT_EQ(DesignerPartnerName("A.vbx"), std::nullopt);
    EXPECT_EQ(DesignerPartnerName(".vb"), std::nullopt);
}

TEST(InventoryMembers, AFolderNamedAsThePartnerIsNoPartner) {
    TempDir dir;
    dir.Write("Odd.vb", "Module Odd\r\nEnd Module\r\n");
    std::filesystem::create_directories(dir.path() / "Odd.Designer.vb");
    FileLocator locator;
    const InventoryMember member =
        ReadInventoryMember(dir.Str() + testing::kSeparator, {"Odd.vb", MemberKind::Code, true},
                            SourceKind::VbNet, {}, locator);
    EXPECT_EQ(member.listed.kind, MemberKind::Code);
    EXPECT_TRUE(member.inventory.notes.empty());
}

TEST(InventoryMembers, AFileThatFailsHalfWayCountsNothing) {
    const std::string text = "Attribute VB_Name = \"M\"\r\nPublic Sub A()\r\nEnd Sub\r\n";
    testing::FailingSource failing(text, text.size() - 5, 7);
    const MemberReading reading = ReadMemberSource(failing, SourceKind::Vb6);
    EXPECT_EQ(reading.problem.error, FileError::Unreadable);
    EXPECT_EQ(reading.tally, LineTally{});
    EXPECT_EQ(reading.inventory.procedures, 0);
    testing::FailingSource whole(text, std::string::npos, 7);
    const MemberReading read = ReadMemberSource(whole, SourceKind::Vb6);
    EXPECT_EQ(read.problem.error, FileError::None);
    EXPECT_EQ(read.tally, (LineTally{2, 0, 0}));
    EXPECT_EQ(read.inventory.procedures, 1);
}

TEST(InventoryMembers, DesignersAreListedNotRead) {
    TempDir dir;
    dir.Write("Env.Dsr", "Attribute VB_Name = \"Env\"\r\nSub A()\r\n");
    FileLocator locator;
    const InventoryMember member =
        ReadInventoryMember(dir.Str() + testing::kSeparator,
                            {"Env.Dsr", MemberKind::Designer, false}, SourceKind::Vb6, {}, locator);
    EXPECT_EQ(member.count.tally, LineTally{});
    EXPECT_EQ(member.inventory.procedures, 0);
    EXPECT_EQ(member.count.problem.error, FileError::None);
    EXPECT_FALSE(member.count.identity.has_value());
}

// Two VB6 projects of a group name one module, by other paths in other letter case; they
// ask for different versions of the common controls.
struct TwoProjects {
    TempDir dir;
    std::string one;
    std::string two;

    TwoProjects() {
        dir.Write("Common/Shared.bas",
                  "Attribute VB_Name = \"S\"\r\nPrivate Declare Sub Sleep Lib \"kernel32\" (ByVal "
                  "ms As Long)\r\nPublic Sub Wait()\r\nEnd Sub\r\n");
        dir.Write("One/Main.frm",
                  "VERSION 5.00\r\nBegin VB.Form Main\r\n   Begin VB.CommandButton Ok\r\n   End\r\n"
                  "End\r\nAttribute VB_Name = \"Main\"\r\nPrivate Sub Ok_Click()\r\nEnd Sub\r\n");
        dir.Write("Two/Tool.cls",
                  "VERSION 1.0 CLASS\r\nBEGIN\r\nEND\r\nAttribute VB_Name = \"T\"\r\n"
                  "' runs\r\n\r\nPublic Function Run() As Long\r\nEnd Function\r\n");
        one = dir.Write(
            "One/One.vbp",
            "Type=Exe\r\nReference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#stdole2.tlb#"
            "OLE "
            "Automation\r\nObject={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCTL.OCX\r\n"
            "Form=Main.frm\r\nModule=S; ..\\Common\\Shared.bas\r\nDesigner=Report.Dsr\r\n");
        two = dir.Write(
            "Two/Two.vbp",
            "Type=OleDll\r\nReference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#stdole2.tlb#"
            "\r\nObject={831fdd16-0c5c-11d2-a9fc-0000f8754da1}#1.3#0; mscomctl.ocx\r\n"
            "Reference=*\\G{broken\r\nClass=T; Tool.cls\r\nModule=S; ..\\COMMON\\shared.bas\r\n");
    }
};

TEST(SetInventories, ASharedFileCountsOnceAndDifferentVersionsAreFlagged) {
    TwoProjects projects;
    SetInventory set;
    const std::vector<ProjectInventory> inventories =
        Inventory({{projects.one, SourceKind::Vb6}, {projects.two, SourceKind::Vb6}}, set);
    ASSERT_EQ(inventories.size(), 2u);
    const ProjectInventory& one = inventories[0];
    EXPECT_EQ(one.project.path, projects.one);
    EXPECT_EQ(one.description.type, "Exe");
    ASSERT_EQ(one.members.size(), 3u);
    EXPECT_EQ(one.members[0].listed.kind, MemberKind::Form);
    EXPECT_EQ(one.members[1].listed.kind, MemberKind::Module);
    EXPECT_EQ(one.members[2].listed.kind, MemberKind::Designer);
    EXPECT_EQ(one.totals.members, 3);
    EXPECT_EQ(one.totals.listedOnly, 1);
    EXPECT_EQ(one.totals.ByKind(MemberKind::Form), 1);
    EXPECT_EQ(one.totals.ByKind(MemberKind::Designer), 1);
    EXPECT_EQ(one.totals.procedures, 2);
    EXPECT_EQ(one.totals.declares, 1);
    EXPECT_EQ(one.totals.controls, 1);
    EXPECT_EQ(one.totals.designerLines, 5);
    EXPECT_EQ(one.totals.lines, 5) << "2 + 3";

    const ProjectInventory& two = inventories[1];
    EXPECT_EQ(two.totals.procedures, 2);
    EXPECT_EQ(two.totals.lines, 7) << "4 + 3";
    ASSERT_EQ(two.description.references.size(), 3u);
    EXPECT_TRUE(two.description.references[2].malformed);

    // The set: the shared module once.
    EXPECT_EQ(set.totals.members, 4);
    EXPECT_EQ(set.totals.lines, 9);
    EXPECT_EQ(set.totals.procedures, 3);
    EXPECT_EQ(set.totals.declares, 1);
    EXPECT_EQ(set.totals.declaresByLibrary, (std::map<std::string, std::int64_t>{{"kernel32", 1}}));
    ASSERT_EQ(set.shared.size(), 1u);
    EXPECT_EQ(set.shared[0].path, one.members[1].count.path);
    EXPECT_EQ(set.shared[0].projects, (std::vector<std::string>{projects.one, projects.two}));
    EXPECT_EQ(set.shared[0].named, 2);

    ASSERT_EQ(set.references.size(), 2u) << "the malformed one is not merged";
    const MergedReference& stdole = set.references[0];
    EXPECT_EQ(stdole.name, "OLE Automation");
    EXPECT_EQ(stdole.versions, (std::vector<std::string>{"2.0"}));
    EXPECT_FALSE(stdole.Conflict());
    const MergedReference& controls = set.references[1];
    EXPECT_EQ(controls.kind, ReferenceKind::Component);
    EXPECT_EQ(controls.uses,
              (std::vector<ReferenceUse>{{projects.one, "2.0"}, {projects.two, "1.3"}}));
    EXPECT_EQ(controls.versions, (std::vector<std::string>{"2.0", "1.3"}));
    EXPECT_TRUE(controls.Conflict());
}

TEST(SetInventories, MissingProjectsAndUnreadableMembersAreEntriesAndOrderHolds) {
    TwoProjects projects;
    const std::string gone = projects.dir.Str("Gone/Gone.vbp");
    const std::string holes =
        projects.dir.Write("Holes.vbp", "Module=M; Missing.bas\r\nForm=One\\Main.frm\r\n");
    const std::vector<SetProject> all{{projects.one, SourceKind::Vb6},
                                      {gone, SourceKind::Vb6},
                                      {holes, SourceKind::Vb6},
                                      {projects.two, SourceKind::Vb6}};
    SetInventory oneThread;
    const std::vector<ProjectInventory> serial = Inventory(all, oneThread, 1);
    SetInventory twoThreads;
    const std::vector<ProjectInventory> parallel = Inventory(all, twoThreads, 2, {true, true});
    ASSERT_EQ(serial.size(), 4u);
    ASSERT_EQ(parallel.size(), 4u);
    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(serial[i].project.path, all[i].path);
        EXPECT_EQ(parallel[i].project.path, all[i].path);
        ASSERT_EQ(serial[i].members.size(), parallel[i].members.size());
        for (std::size_t m = 0; m < serial[i].members.size(); ++m) {
            EXPECT_EQ(serial[i].members[m].count.name, parallel[i].members[m].count.name);
        }
    }
    EXPECT_EQ(serial[1].description.problem.error, FileError::Missing);
    EXPECT_TRUE(serial[1].members.empty());
    ASSERT_EQ(serial[2].members.size(), 2u);
    EXPECT_EQ(serial[2].members[0].count.problem.error, FileError::Missing);
    EXPECT_EQ(serial[2].totals.unreadable, 1);
    // Main.frm is named by One and by Holes: once in the set.
    EXPECT_EQ(oneThread.totals.members, 5) << "Main, Report, Shared, Missing, Tool";
    EXPECT_EQ(oneThread.shared.size(), 2u);
    EXPECT_EQ(twoThreads.totals.lines, 7) << "code lines only: 2 + 3 + 2";
}

TEST(SetInventories, AFileNamedTwiceInAProjectListsThatProjectOnce) {
    TempDir dir;
    dir.Write("Common/Shared.bas", "Attribute VB_Name = \"S\"\r\nSub A()\r\nEnd Sub\r\n");
    const std::string twice = dir.Write(
        "A/A.vbp", "Module=S; ..\\Common\\Shared.bas\r\nModule=S2; ..\\COMMON\\Shared.bas\r\n");
    const std::string once = dir.Write("B/B.vbp", "Module=S; ..\\Common\\Shared.bas\r\n");
    SetInventory set;
    const std::vector<ProjectInventory> projects =
        Inventory({{twice, SourceKind::Vb6}, {once, SourceKind::Vb6}}, set);
    ASSERT_EQ(set.shared.size(), 1u);
    EXPECT_EQ(set.shared[0].projects, (std::vector<std::string>{twice, once}));
    EXPECT_EQ(set.shared[0].named, 3);
    EXPECT_EQ(projects[0].totals.members, 1) << "once in its own project too";
    EXPECT_EQ(projects[0].totals.lines, 2);
    EXPECT_EQ(set.totals.procedures, 1);
}

TEST(ReferenceKeys, OneLibraryWhateverTheSpelling) {
    TempDir dir;
    dir.Write("Lib/Lib.vbproj", "<Project/>");
    dir.Write("App/App.vbproj", "<Project/>");
    const std::string app = dir.Str("App") + testing::kSeparator;
    const std::string top = dir.Str() + testing::kSeparator;
    const auto key = [](ReferenceKind kind, std::string name, std::string guid,
                        std::string location, const std::string& folder) {
        Reference reference;
        reference.kind = kind;
        reference.name = std::move(name);
        reference.guid = std::move(guid);
        reference.location = std::move(location);
        return ReferenceKey(reference, folder);
    };
    const auto comctl = key(ReferenceKind::Component, "MSCOMCTL.OCX",
                            "831FDD16-0C5C-11D2-A9FC-0000F8754DA1", "", top);
    ASSERT_TRUE(comctl.has_value());
    EXPECT_EQ(
        key(ReferenceKind::Com, "MSComctlLib", "831fdd16-0c5c-11d2-a9fc-0000f8754da1", "", top),
        comctl)
        << "a COM reference to the same type library";
    EXPECT_NE(key(ReferenceKind::TypeLibrary, "x", "00020430-0000-0000-C000-000000000046", "", top),
              comctl);
    EXPECT_EQ(key(ReferenceKind::Assembly, "MySql.Data", "", "", top),
              key(ReferenceKind::Assembly, "mysql.data", "", "", app));
    EXPECT_NE(key(ReferenceKind::Assembly, "Newtonsoft.Json", "", "", top),
              key(ReferenceKind::Package, "Newtonsoft.Json", "", "", top))
        << "an assembly's version is not a package's";
    EXPECT_EQ(key(ReferenceKind::Project, "Lib", "", "..\\Lib\\Lib.vbproj", app),
              key(ReferenceKind::Project, "Other", "", "LIB\\lib.vbproj", top))
        << "one file, found from two folders";
    EXPECT_EQ(key(ReferenceKind::VbProject, "G", "", "..\\Gone\\G.vbp", app),
              key(ReferenceKind::Project, "G", "", "Gone\\G.vbp", top))
        << "a missing file by its path";
    EXPECT_EQ(key(ReferenceKind::Com, "NoGuid", "", "", top), std::nullopt);
    EXPECT_EQ(key(ReferenceKind::Package, "", "", "", top), std::nullopt);
    Reference malformed;
    malformed.kind = ReferenceKind::TypeLibrary;
    malformed.guid = "00020430-0000-0000-C000-000000000046";
    malformed.malformed = true;
    EXPECT_EQ(ReferenceKey(malformed, top), std::nullopt);
}

TEST(ReferenceMerging, VersionsOncePerSpellingAndUsesOncePerProject) {
    Reference a;
    a.kind = ReferenceKind::Package;
    a.name = "Serilog";
    a.version = "2.10.0";
    Reference b = a;
    b.name = "serilog";
    Reference c = a;
    c.version = "";
    Reference d = a;
    d.version = "3.0.0-RC";
    Reference e = a;
    e.version = "3.0.0-rc";
    ReferenceMerger merger;
    merger.Add("A.vbproj", {a, b});
    merger.Add("B.vbproj", {c});
    merger.Add("C.vbproj", {d, e});
    const std::vector<MergedReference> merged = merger.Result();
    ASSERT_EQ(merged.size(), 1u);
    EXPECT_EQ(merged[0].name, "Serilog");
    EXPECT_EQ(merged[0].uses, (std::vector<ReferenceUse>{{"A.vbproj", "2.10.0"},
                                                         {"B.vbproj", ""},
                                                         {"C.vbproj", "3.0.0-RC"},
                                                         {"C.vbproj", "3.0.0-rc"}}));
    EXPECT_EQ(merged[0].versions, (std::vector<std::string>{"2.10.0", "3.0.0-RC"}));
    EXPECT_TRUE(merged[0].Conflict());
    ReferenceMerger single;
    single.Add("A.vbproj", {a, c});
    EXPECT_FALSE(single.Result()[0].Conflict()) << "no version is no other version";
}

}  // namespace
}  // namespace tallix
