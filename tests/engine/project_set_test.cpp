#include "engine/projects/project_set.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "engine/files/file_system.h"

#include "temp_dir.h"

namespace tallix {
namespace {

using Strings = std::vector<std::string>;

TEST(SolutionLines, TakeTypeNameAndPath) {
    struct Case {
        const char* line;
        std::optional<SolutionEntry> entry;
    };
    const Case cases[] = {
        {"Project(\"{F184B08F-C81C-45F6-A57F-5ABD9991F28F}\") = \"App\", \"App\\App.vbproj\", "
         "\"{1234}\"",
         SolutionEntry{"F184B08F-C81C-45F6-A57F-5ABD9991F28F", "App", "App\\App.vbproj"}},
        {"\tProject(\"{2150E333-8FDC-42A3-9474-1A3956D46DE8}\") = \"Docs\", \"Docs\", \"{9}\"",
         SolutionEntry{"2150E333-8FDC-42A3-9474-1A3956D46DE8", "Docs", "Docs"}},
        {"Project(\"{x}\") = \"Only name\"", std::nullopt},
        {"EndProject", std::nullopt},
        {"ProjectSection(ProjectDependencies) = postProject", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        const auto entry = SolutionEntryOf(c.line);
        ASSERT_EQ(entry.has_value(), c.entry.has_value()) << c.line;
        if (!entry) {
            continue;
        }
        EXPECT_EQ(entry->type, c.entry->type);
        EXPECT_EQ(entry->name, c.entry->name);
        EXPECT_EQ(entry->path, c.entry->path);
    }
    EXPECT_TRUE(IsVisualBasicType("778dae3c-4631-46ea-aa77-85c1314464d9"));
    EXPECT_FALSE(IsVisualBasicType("FAE04EC0-301F-11D3-BF4B-00C04F79EFBC"));  // C#
    EXPECT_FALSE(IsVisualBasicType("2150E333-8FDC-42A3-9474-1A3956D46DE8"));
    EXPECT_TRUE(IsSolutionFolderType("2150e333-8fdc-42a3-9474-1a3956d46de8"));
}

TEST(GroupLines, TakeBothProjectLines) {
    EXPECT_EQ(GroupProjectName("Project=One\\One.vbp"), "One\\One.vbp");
    EXPECT_EQ(GroupProjectName("StartupProject= ..\\Two.vbp "), "..\\Two.vbp");
    EXPECT_EQ(GroupProjectName("project=x.vbp"), std::nullopt);
    EXPECT_EQ(GroupProjectName("VBGROUP 5.0"), std::nullopt);
}

class ProjectSets : public ::testing::Test {
protected:
    std::string Rel(const std::string& path) const {
        const std::string root = dir.Str() + testing::kSeparator;
        if (!path.starts_with(root)) {
            return "(outside) " + path;
        }
        std::string relative = path.substr(root.size());
        std::replace(relative.begin(), relative.end(), '\\', '/');
        return relative;
    }
    Strings Projects(const ProjectSet& set) const {
        Strings paths;
        for (const auto& project : set.projects) {
            paths.push_back(Rel(project.path));
        }
        return paths;
    }

    testing::TempDir dir;
};

TEST_F(ProjectSets, KindsFollowExtensionOrFolder) {
    std::filesystem::create_directories(dir.path() / "f.vbp");
    EXPECT_EQ(KindOfSetPath(dir.Str("x.VBG")), SetKind::Group);
    EXPECT_EQ(KindOfSetPath(dir.Str("x.Sln")), SetKind::Solution);
    EXPECT_EQ(KindOfSetPath(dir.Str("f.vbp")), SetKind::Folder);
    EXPECT_EQ(KindOfSetPath(dir.Str("missing.vbp")), SetKind::Project);
    const ProjectSet single = ReadProjectSet(dir.Str("missing.VBPROJ"));
    ASSERT_EQ(single.projects.size(), 1u);
    EXPECT_EQ(single.projects[0].kind, SourceKind::VbNet);
}

TEST_F(ProjectSets, GroupNamesProjectsOnceAndSkipsMissingOnes) {
    dir.Write("One/One.vbp", "");
    dir.Write("Two/Two.vbp", "");
    const ProjectSet set = ReadProjectSet(
        dir.Write("G/All.vbg",
                  "VBGROUP 5.0\r\nStartupProject=..\\Two\\Two.vbp\r\nProject=..\\One\\One.vbp\r\n"
                  "Project=Gone.vbp\r\nProject=..\\one\\one.VBP\r\n"));
    EXPECT_EQ(set.problem.error, FileError::None);
    EXPECT_EQ(Projects(set), (Strings{"G/../Two/Two.vbp", "G/../One/One.vbp"}));
    ASSERT_EQ(set.skipped.size(), 1u);
    EXPECT_EQ(set.skipped[0].reason, SkipReason::Missing);
    EXPECT_EQ(Rel(set.skipped[0].path), "G/Gone.vbp");

    EXPECT_EQ(ReadProjectSet(dir.Str("G/None.vbg")).problem.error, FileError::Missing);
}

TEST_F(ProjectSets, SolutionTakesVisualBasicProjectsOnly) {
    dir.Write("S/Classic/Classic.vbproj", "");
    dir.Write("S/Modern/Modern.vbproj", "");
    dir.Write("S/Lib/Lib.csproj", "");
    const ProjectSet set = ReadProjectSet(dir.Write(
        "S/All.sln",
        "\xEF\xBB\xBF\r\nMicrosoft Visual Studio Solution File, Format Version 12.00\r\n"
        "Project(\"{778DAE3C-4631-46EA-AA77-85C1314464D9}\") = \"Modern\", "
        "\"Modern\\Modern.vbproj\", \"{A}\"\r\nEndProject\r\n"
        "Project(\"{FAE04EC0-301F-11D3-BF4B-00C04F79EFBC}\") = \"Lib\", \"Lib\\Lib.csproj\", "
        "\"{B}\"\r\nEndProject\r\n"
        "Project(\"{2150E333-8FDC-42A3-9474-1A3956D46DE8}\") = \"Items\", \"Items\", \"{C}\"\r\n"
        "Project(\"{F184B08F-C81C-45F6-A57F-5ABD9991F28F}\") = \"Classic\", "
        "\"Classic\\Classic.vbproj\", \"{D}\"\r\n"
        "Project(\"{F184B08F-C81C-45F6-A57F-5ABD9991F28F}\") = \"Lost\", \"Lost\\Lost.vbproj\", "
        "\"{E}\"\r\n"));
    EXPECT_EQ(Projects(set), (Strings{"S/Modern/Modern.vbproj", "S/Classic/Classic.vbproj"}));
    EXPECT_EQ(set.projects[0].kind, SourceKind::VbNet);
    ASSERT_EQ(set.skipped.size(), 3u);
    EXPECT_EQ(set.skipped[0].name, "Lib");
    EXPECT_EQ(set.skipped[0].reason, SkipReason::NotVisualBasic);
    EXPECT_EQ(set.skipped[1].name, "Items");
    EXPECT_EQ(set.skipped[1].reason, SkipReason::SolutionFolder);
    EXPECT_EQ(set.skipped[2].name, "Lost");
    EXPECT_EQ(set.skipped[2].reason, SkipReason::Missing);
}

TEST_F(ProjectSets, FolderWalkSkipsBuildFoldersLinksAndSecondNames) {
    for (const char* name : {"W/b.vbp", "W/Sub/A.VBPROJ", "W/.git/x.vbp", "W/bin/y.vbp",
                             "W/Deep/Obj/z.vbp", "W/.vs/v.vbp", "W/notes.txt", "Out/o.vbp"}) {
        dir.Write(name, "");
    }
    namespace fs = std::filesystem;
    fs::create_hard_link(dir.path() / "W/b.vbp", dir.path() / "W/Sub/hard.vbp");
    Strings expected{"W/.vs/v.vbp", "W/b.vbp", "W/Sub/A.VBPROJ"};
    if (!testing::kWindows) {
        // A loop back up, and a way out of the folder: neither is walked. A linked file
        // is taken as the file it names.
        fs::create_directory_symlink(dir.path() / "W", dir.path() / "W/Sub/loop");
        fs::create_directory_symlink(dir.path() / "Out", dir.path() / "W/out");
        fs::create_symlink(dir.path() / "Out/o.vbp", dir.path() / "W/linked.vbp");
        expected.insert(expected.begin() + 2, "W/linked.vbp");
    }
    const ProjectSet set = ReadProjectSet(dir.Str("W"));
    EXPECT_EQ(set.kind, SetKind::Folder);
    EXPECT_EQ(Projects(set), expected);
    EXPECT_EQ(set.projects.back().kind, SourceKind::VbNet);
    EXPECT_EQ(Projects(ReadProjectSet(dir.Str("W") + testing::kSeparator)), Projects(set));
}

TEST_F(ProjectSets, SetFilesAreReadInTheirOwnEncodings) {
    dir.Write("模块/A.vbp", "");
    dir.Write("模/B.vbp", "");
    const std::string line =
        "Project(\"{F184B08F-C81C-45F6-A57F-5ABD9991F28F}\") = \"A\", \"模块\\A.vbp\", \"{1}\"\r\n";
    const std::u16string wide = u"\uFEFFProject=模块\\A.vbp\r\n";
    std::string utf16;
    for (const char16_t unit : wide) {
        utf16 += static_cast<char>(unit & 0xFF);
        utf16 += static_cast<char>(unit >> 8);
    }
    struct Case {
        const char* label;
        const char* file;
        std::string bytes;
        const char* project;
    };
    const Case cases[] = {
        {"UTF-8 solution without a mark", "S.sln", line, "模块/A.vbp"},
        {"GBK solution", "S.sln",
         "Project(\"{F184B08F-C81C-45F6-A57F-5ABD9991F28F}\") = \"A\", "
         "\"\xC4\xA3\xBF\xE9\\A.vbp\", "
         "\"{1}\"\r\n",
         "模块/A.vbp"},
        {"UTF-16 group", "G.vbg", utf16, "模块/A.vbp"},
        // "模" in code page 936 is valid UTF-8 too ("ģ"); a group is ANSI all the same.
        {"GBK group that reads as UTF-8 too", "G.vbg", "Project=\xC4\xA3\\B.vbp\r\n", "模/B.vbp"},
        {"UTF-8 group with a mark", "G.vbg", "\xEF\xBB\xBFProject=模块\\A.vbp\r\n", "模块/A.vbp"},
    };
    for (const Case& c : cases) {
        const ProjectSet set = ReadProjectSet(dir.Write(c.file, c.bytes));
        EXPECT_EQ(Projects(set), Strings{c.project}) << c.label;
        EXPECT_TRUE(set.skipped.empty()) << c.label;
    }
}

TEST_F(ProjectSets, SetsNamedInsideASetAreReadInTheirPlaceOnce) {
    dir.Write("One/One.vbp", "");
    dir.Write("Two/Two.vbp", "");
    dir.Write("Inner/Inner.vbg",
              "Project=..\\Two\\Two.vbp\r\nProject=..\\Outer.vbg\r\n"
              "Project=Inner.VBG\r\nProject=..\\One\\One.vbp\r\n");
    dir.Write("Inner/Lost.sln",
              "Project(\"{F184B08F-C81C-45F6-A57F-5ABD9991F28F}\") = \"X\", "
              "\"..\\Two\\Two.vbp\", \"{1}\"\r\n");
    const ProjectSet set =
        ReadProjectSet(dir.Write("Outer.vbg",
                                 "Project=One\\One.vbp\r\nProject=Inner\\Inner.vbg\r\n"
                                 "Project=Inner\\Lost.sln\r\nProject=Inner\\inner.vbg\r\n"));
    EXPECT_EQ(set.problem.error, FileError::None);
    EXPECT_EQ(Projects(set), (Strings{"One/One.vbp", "Inner/../Two/Two.vbp"}));
    Strings skipped;
    for (const SkippedProject& s : set.skipped) {
        EXPECT_EQ(s.reason, SkipReason::Repeated) << s.path;
        skipped.push_back(Rel(s.path));
    }
    // The outer group itself, the inner one naming itself, and the inner one named again;
    // the solution adds nothing new.
    EXPECT_EQ(skipped.size(), 3u);
}

TEST_F(ProjectSets, ProjectsThatCannotBeUsedAreSkippedWithTheRealReason) {
    std::filesystem::create_directories(dir.path() / "Folder.vbp");
    dir.Write(".hidden.vbp", "");
    dir.Write("locked.vbp", "");
    std::string group =
        "Project=Folder.vbp\r\nProject=.hidden.vbp\r\nProject=" + std::string(5000, 'n') +
        ".vbp\r\nProject=Gone.vbp\r\n";
    const ProjectSet set = ReadProjectSet(dir.Write("G.vbg", group));
    EXPECT_TRUE(set.projects.empty());
    struct Expected {
        SkipReason reason;
        FileError error;
    };
    // Wine reports a name too long for any file system as not found, so Windows says so.
    const Expected tooLong = testing::kWindows
                                 ? Expected{SkipReason::Missing, FileError::None}
                                 : Expected{SkipReason::Unusable, FileError::Unreadable};
    std::vector<Expected> expected{{SkipReason::Unusable, FileError::NotAFile},
                                   {SkipReason::Missing, FileError::None},
                                   tooLong,
                                   {SkipReason::Missing, FileError::None}};
    ASSERT_EQ(set.skipped.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(set.skipped[i].reason, expected[i].reason) << set.skipped[i].path;
        EXPECT_EQ(set.skipped[i].problem.error, expected[i].error) << set.skipped[i].path;
    }
    EXPECT_EQ(set.skipped[2].problem.detail.empty(), testing::kWindows);
}

TEST_F(ProjectSets, FolderWalkAgreesWithTheExistenceTest) {
    for (const char* name :
         {"W/A.VBP", "W/.hidden.vbp", "W/BIN/b.vbp", "W/Deep/Bin/c.vbp", "W/Deep/.git2/d.vbp"}) {
        dir.Write(name, "");
    }
    // On Windows a file is hidden by its mark, which Wine gives to names starting with ".";
    // either way the walk takes it exactly when the existence test finds it.
    Strings expected{"W/A.VBP", "W/Deep/.git2/d.vbp"};
    if (testing::kWindows && FileExists(dir.Str("W/.hidden.vbp"))) {
        expected.insert(expected.begin() + 1, "W/.hidden.vbp");
    }
    const ProjectSet set = ReadProjectSet(dir.Str("W"));
    EXPECT_EQ(Projects(set), expected);
    for (const SetProject& project : set.projects) {
        EXPECT_TRUE(FileExists(project.path)) << project.path;
    }
}

}  // namespace
}  // namespace tallix
