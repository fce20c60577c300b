#include "engine/projects/project_title.h"

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace tallix {
namespace {

struct TitleCase {
    const char* label;
    const char* file;  // written as the project file
    const char* text;
    const char* name;
    const char* version;
};

TEST(ProjectTitle, TakesTheProjectsOwnNameAndVersion) {
    const TitleCase cases[] = {
        {"VB6 title", "p/Grades.vbp",
         "Type=Exe\r\nName=\"Project1\"\r\nTitle=\"Grade Book\"\r\nMajorVer=2\r\nMinorVer=13\r\n",
         "Grade Book", "V2.13"},
        {"VB6 name without a title", "p/Grades.vbp", "Name=\"Scores\"\r\nMajorVer=1\r\n", "Scores",
         "V1.0"},
        {"VB6 empty title", "p/Grades.vbp", "Title=\"\"\r\nName=\"Scores\"\r\nMinorVer=5\r\n",
         "Scores", "V1.5"},
        {"VB6 nothing", "p/Grades.vbp", "Form=a.frm\r\n", "Grades", "V1.0"},
        {"VB6 keys after a section are another's", "p/Grades.vbp",
         "Name=\"Own\"\r\n[MS Transaction Server]\r\nTitle=\"Other\"\r\nMajorVer=9\r\n", "Own",
         "V1.0"},
        {"VB6 first line wins", "p/Grades.vbp", "Title=\"A\"\r\nTitle=\"B\"\r\n", "A", "V1.0"},
        {"VB6 key written in another case is none", "p/Grades.vbp", "title=\"A\"\r\n", "Grades",
         "V1.0"},
        {"product", "p/App.vbproj",
         "<Project Sdk=\"S\"><PropertyGroup><AssemblyName>App</AssemblyName>"
         "<Product>成绩 &amp; 课表</Product><Version> 3.1.4 </Version></PropertyGroup></Project>",
         "成绩 & 课表", "V3.1.4"},
        {"assembly name", "p/App.vbproj",
         "<Project><PropertyGroup>\r\n<AssemblyName>Client</AssemblyName>\r\n</PropertyGroup>"
         "</Project>",
         "Client", "V1.0"},
        {"version already marked", "p/App.vbproj", "<Project><Version>v2.0</Version></Project>",
         "App", "v2.0"},
        {"properties not evaluated", "p/App.vbproj",
         "<Project><Product>$(Company) App</Product><Version>$(V)</Version>"
         "<AssemblyName>Real</AssemblyName></Project>",
         "Real", "V1.0"},
        {"empty elements", "p/App.vbproj", "<Project><Product/><Version></Version></Project>",
         "App", "V1.0"},
        {"missing file", "p/Gone.vbproj", nullptr, "Gone", "V1.0"},
    };
    for (const TitleCase& c : cases) {
        testing::TempDir dir;
        const std::string path = c.text ? dir.Write(c.file, c.text) : dir.Str(c.file);
        const SourceKind kind =
            std::string_view(c.file).ends_with(".vbp") ? SourceKind::Vb6 : SourceKind::VbNet;
        const ProjectTitle title = ReadProjectTitle(path, kind);
        EXPECT_EQ(title.name, c.name) << c.label;
        EXPECT_EQ(title.version, c.version) << c.label;
    }
}

TEST(ProjectTitle, VbSixTitleIsReadInTheAnsiCodePage) {
    testing::TempDir dir;
    // "成绩" in code page 936, which is valid UTF-8 by no chance here.
    const std::string path = dir.Write("G.vbp", "Title=\"\xB3\xC9\xBC\xA8\"\r\n");
    EXPECT_EQ(ReadProjectTitle(path, SourceKind::Vb6).name, "成绩");
}

}  // namespace
}  // namespace tallix
