// The inventory of the real projects of the corpus. The reference lists were written down
// from the project files, line by line; the kinds of members are those the corpus's manifest
// gives; the numbers of controls, procedures and Declares were counted apart from Tallix,
// with grep over the member files.

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "engine/inventory/set_inventory.h"
#include "engine/projects/project_set.h"
#include "real_projects.h"

namespace tallix {
namespace {

using testing::kCorpusDir;
using Corpus = testing::CorpusTest;

// A reference as the test writes it down: kind, name, version, GUID, location.
using Written = std::tuple<ReferenceKind, std::string, std::string, std::string, std::string>;

std::vector<Written> ReferencesOf(const std::string& relative, SourceKind kind) {
    const ProjectDescription description =
        ReadProjectDescription(kCorpusDir + "/" + relative, kind);
    EXPECT_EQ(description.problem.error, FileError::None) << relative;
    std::vector<Written> written;
    for (const Reference& reference : description.references) {
        EXPECT_FALSE(reference.malformed) << reference.written;
        written.emplace_back(reference.kind, reference.name, reference.version, reference.guid,
                             reference.location);
    }
    return written;
}

ProjectInventory InventoryOf(const std::string& relative, SourceKind kind) {
    std::vector<ProjectInventory> inventories;
    InventorySet({{kCorpusDir + "/" + relative, kind}}, {},
                 [&](const ProjectInventory& project) { inventories.push_back(project); });
    EXPECT_EQ(inventories.size(), 1u);
    return inventories.empty() ? ProjectInventory{} : inventories[0];
}

constexpr auto kTypeLibrary = ReferenceKind::TypeLibrary;
constexpr auto kComponent = ReferenceKind::Component;
constexpr auto kAssembly = ReferenceKind::Assembly;
constexpr auto kPackage = ReferenceKind::Package;
constexpr auto kProject = ReferenceKind::Project;
const std::string kStdole = "00020430-0000-0000-C000-000000000046";

TEST_F(Corpus, Vb6ReferencesAndComponentsAsTheProjectFilesWriteThem) {
    EXPECT_EQ(
        ReferencesOf("vb6-getsslib/GetssLib/GetSSLIBx.vbp", SourceKind::Vb6),
        (std::vector<Written>{
            {kTypeLibrary, "OLE Automation", "2.0", kStdole, "C:\\WINDOWS\\system32\\stdole2.tlb"},
            {kTypeLibrary, "Microsoft HTML Object Library", "4.0",
             "3050F1C5-98B5-11CF-BB82-00AA00BDCE0B", "C:\\WINDOWS\\system32\\MSHTML.TLB"},
            {kTypeLibrary, "Microsoft WinHTTP Services, version 5.1", "5.1",
             "662901FC-6951-4854-9EB2-D9A2570F2B2E", "C:\\WINDOWS\\system32\\WINHTTP.dll"},
            {kTypeLibrary, "Windows API (ANSI)", "1.1", "64674040-3A82-101B-8181-00AA003743D3",
             "..\\[Include]\\TypeLib\\win.tlb"},
            {kTypeLibrary, "Microsoft XML, v6.0", "6.0", "F5078F18-C551-11D3-89B9-0000F81FE221",
             "C:\\WINDOWS\\system32\\msxml6.dll"},
            {kComponent, "mscomctl.OCX", "2.0", "831FDD16-0C5C-11D2-A9FC-0000F8754DA1",
             "mscomctl.OCX"},
        }));
    EXPECT_EQ(
        ReferencesOf("vb6-dinohopper/DinoHopper.vbp", SourceKind::Vb6),
        (std::vector<Written>{
            {kTypeLibrary, "OLE Automation", "2.0", kStdole,
             "..\\..\\..\\..\\..\\..\\Windows\\SysWOW64\\stdole2.tlb"},
            {kComponent, "mci32.ocx", "1.1", "C1A8AF28-1257-101B-8FB0-0020AF039CA3", "mci32.ocx"},
        }));
    EXPECT_EQ(ReferencesOf("vb6-cairo-imagelist/CSImageList.vbp", SourceKind::Vb6),
              (std::vector<Written>{{kTypeLibrary, "OLE Automation", "2.0", kStdole,
                                     "C:\\WINNT\\System32\\stdole2.tlb"}}));
    EXPECT_EQ(
        ReferencesOf("sets/vbg-ltest/LiNVBLib/LiNVBLib.vbp", SourceKind::Vb6),
        (std::vector<Written>{
            {kTypeLibrary, "WinApi For VB type library", "1.1",
             "D4575622-4160-4FBE-8206-C7EF39D9E8B6", "C:\\WINDOWS\\system32\\WinApiForVb.tlb"},
            {kTypeLibrary, "OLE Automation", "2.0", kStdole, "C:\\WINDOWS\\system32\\stdole2.tlb"},
            {kTypeLibrary, "Windows API (ANSI)", "1.1", "64674040-3A82-101B-8181-00AA003743D3",
             "C:\\WINDOWS\\system32\\win.tlb"},
        }));
    EXPECT_EQ(
        ReferencesOf("sets/vbg-ltest/LTest/LTest.vbp", SourceKind::Vb6),
        (std::vector<Written>{
            {kTypeLibrary, "OLE Automation", "2.0", kStdole, "C:\\WINDOWS\\system32\\stdole2.tlb"},
            {kTypeLibrary, "LiNVBLib.dll", "3.0", "73515247-82C9-4991-A8A6-1911C49A57EA",
             "..\\LiNVBLib\\LiNVBLib.dll"},
            {kComponent, "RICHTX32.OCX", "1.2", "3B7C8863-D78F-101B-B9B5-04021C009402",
             "RICHTX32.OCX"},
        }));
}

std::vector<Written> Assemblies(const std::vector<std::string>& names) {
    std::vector<Written> written;
    for (const std::string& name : names) {
        written.emplace_back(kAssembly, name, "", "", "");
    }
    return written;
}

const std::vector<std::string> kFramework = {
    "System",         "System.Data",          "System.Deployment",
    "System.Drawing", "System.Windows.Forms", "System.Xml",
    "System.Core",    "System.Xml.Linq",      "System.Data.DataSetExtensions"};

TEST_F(Corpus, VbNetReferencesPackagesAndProjectsAsTheProjectFilesWriteThem) {
    std::vector<Written> client = {
        {kAssembly, "Dropbox.Api", "", "",
         "..\\..\\..\\..\\..\\SRC - Dropbox Desktop V0.1 [SOOFTT.BLOGSPOT.COM]\\Dropbox "
         "Desktop\\Dropbox Desktop\\bin\\Release\\Dropbox.Api.dll"},
        {kAssembly, "MySql.Data", "6.9.9.0", "",
         "..\\..\\..\\..\\..\\..\\..\\..\\Program Files (x86)\\MySQL\\Connector.NET "
         "6.9\\Assemblies\\v4.5\\MySql.Data.dll"},
        {kAssembly, "Newtonsoft.Json", "", "",
         "..\\..\\..\\..\\..\\SRC - Dropbox Desktop V0.1 [SOOFTT.BLOGSPOT.COM]\\Dropbox "
         "Desktop\\Dropbox Desktop\\bin\\Release\\Newtonsoft.Json.dll"}};
    for (const std::string name :
         {"System", "System.Data", "System.Deployment", "System.Drawing", "System.Management",
          "System.Windows.Forms", "System.Xml", "System.Core", "System.Xml.Linq",
          "System.Data.DataSetExtensions"}) {
        client.emplace_back(kAssembly, name, "", "", "");
    }
    EXPECT_EQ(ReferencesOf("net-remote-client/Client.vbproj", SourceKind::VbNet), client);
    EXPECT_EQ(ReferencesOf("net-xscj-chinese/XsCjMagemnt.vbproj", SourceKind::VbNet),
              Assemblies(kFramework));
    EXPECT_EQ(
        ReferencesOf("sets/sdk-efcore-datagrid/DataGridViewExample/DataGridViewExample.vbproj",
                     SourceKind::VbNet),
        (std::vector<Written>{
            {kPackage, "Microsoft.EntityFrameworkCore.SqlServer", "5.0.8", "", ""},
            {kPackage, "Newtonsoft.Json", "13.0.1", "", ""},
            {kPackage, "Microsoft.Extensions.Configuration", "5.0.0", "", ""},
            {kPackage, "Microsoft.Extensions.Configuration.Binder", "5.0.0", "", ""},
            {kPackage, "Microsoft.Extensions.Configuration.FileExtensions", "5.0.0", "", ""},
            {kPackage, "Microsoft.Extensions.Configuration.Json", "5.0.0", "", ""},
            {kPackage, "System.Drawing.Common", "6.0.0-preview.6.21352.12", "", ""},
        }));
    const std::string solution =
        "sets/sln-codeconverter-mixed/Tests/TestData/MultiFileCharacterization/SourceFiles/";
    EXPECT_EQ(ReferencesOf(solution + "VbLibrary/VbLibrary.vbproj", SourceKind::VbNet),
              (std::vector<Written>{{kProject, "VbNetStandardLib", "", "",
                                     "..\\VbNetStandardLib\\VbNetStandardLib.vbproj"}}));
    std::vector<Written> windowsApp = Assemblies(kFramework);
    windowsApp.emplace_back(kAssembly, "System.Net.Http", "", "", "");
    windowsApp.emplace_back(kProject, "VbNetStandardLib", "",
                            "fbfbe639-a532-408a-960d-288e05feeb0e",
                            "..\\VbNetStandardLib\\VbNetStandardLib.vbproj");
    windowsApp.emplace_back(kPackage, "System.Numerics.Vectors", "4.6.1", "", "");
    windowsApp.emplace_back(kPackage, "System.Resources.Extensions", "10.0.0", "", "");
    EXPECT_EQ(ReferencesOf(solution + "WinFormsAppVb/WindowsAppVb.vbproj", SourceKind::VbNet),
              windowsApp);
}

TEST_F(Corpus, MembersByKindControlsProceduresAndDeclares) {
    const ProjectInventory dino = InventoryOf("vb6-dinohopper/DinoHopper.vbp", SourceKind::Vb6);
    EXPECT_EQ(dino.description.type, "Exe");
    EXPECT_EQ(dino.totals.ByKind(MemberKind::Form), 8);
    EXPECT_EQ(dino.totals.ByKind(MemberKind::Module), 12);
    EXPECT_EQ(dino.totals.controlsByType,
              (std::map<std::string, std::int64_t>{{"MCI.MMControl", 9},
                                                   {"VB.ComboBox", 3},
                                                   {"VB.CommandButton", 13},
                                                   {"VB.Frame", 4},
                                                   {"VB.Label", 42},
                                                   {"VB.ListBox", 1},
                                                   {"VB.PictureBox", 272},
                                                   {"VB.TextBox", 35},
                                                   {"VB.Timer", 22}}));
    EXPECT_EQ(dino.totals.procedures, 89);
    EXPECT_EQ(dino.totals.declaresByLibrary, (std::map<std::string, std::int64_t>{{"user32", 7}}));

    const ProjectInventory getss =
        InventoryOf("vb6-getsslib/GetssLib/GetSSLIBx.vbp", SourceKind::Vb6);
    EXPECT_EQ(getss.totals.ByKind(MemberKind::Form), 5);
    EXPECT_EQ(getss.totals.ByKind(MemberKind::Module), 12);
    EXPECT_EQ(getss.totals.ByKind(MemberKind::Class), 17);
    EXPECT_EQ(getss.totals.ByKind(MemberKind::UserControl), 1);
    EXPECT_EQ(getss.totals.procedures, 761);
    EXPECT_EQ(getss.totals.declares, 70);
    EXPECT_EQ(getss.totals.controls, 126) << "menus included, the forms and user control not";
    EXPECT_EQ(getss.totals.controlsByType.at("VB.Menu"), 23);
    EXPECT_EQ(getss.totals.unreadable, 0);

    const ProjectInventory cairo =
        InventoryOf("vb6-cairo-imagelist/CSImageList.vbp", SourceKind::Vb6);
    EXPECT_EQ(cairo.description.type, "Control");
    EXPECT_EQ(cairo.totals.ByKind(MemberKind::PropertyPage), 2);
    EXPECT_EQ(cairo.totals.unreadable, 2) << "the two property pages are missing";

    // A VB.NET member is a form when it has a .Designer.vb partner: 22 of the project's
    // Compile items are forms' partners.
    const ProjectInventory client =
        InventoryOf("net-remote-client/Client.vbproj", SourceKind::VbNet);
    EXPECT_EQ(client.totals.members, 50);
    EXPECT_EQ(client.totals.ByKind(MemberKind::Form), 22);
    EXPECT_EQ(client.totals.ByKind(MemberKind::Code), 28);
}

TEST_F(Corpus, AGroupMergesItsProjectsReferences) {
    const std::string group = kCorpusDir + "/sets/vbg-ltest/LTest/LTest.vbg";
    std::vector<ProjectInventory> projects;
    const SetInventory set =
        InventorySet(ReadProjectSet(group).projects, {},
                     [&](const ProjectInventory& project) { projects.push_back(project); });
    ASSERT_EQ(projects.size(), 2u);
    EXPECT_TRUE(projects[0].project.path.ends_with("LiNVBLib.vbp")) << "the start-up project";
    ASSERT_EQ(set.references.size(), 5u);
    const MergedReference& stdole = set.references[1];
    EXPECT_EQ(stdole.guid, kStdole);
    EXPECT_EQ(stdole.uses.size(), 2u);
    EXPECT_FALSE(stdole.Conflict());
    EXPECT_TRUE(set.shared.empty());
    EXPECT_EQ(set.totals.members, projects[0].totals.members + projects[1].totals.members);
}

}  // namespace
}  // namespace tallix
