#include "cli/messages.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace tallix::cli {
namespace {

TEST(ProblemReason, WordsEachKindOfProblem) {
    const std::pair<FileProblem, std::string> cases[] = {
        {{FileError::None, ""}, ""},
        {{FileError::Missing, "No such file or directory"}, "文件不存在"},
        {{FileError::NotAFile, ""}, "不是普通文件"},
        {{FileError::Unreadable, ""}, "无法读取"},
        {{FileError::Unreadable, "Permission denied"}, "无法读取（Permission denied）"},
    };
    for (const auto& [problem, reason] : cases) {
        EXPECT_EQ(ProblemReason(problem), reason) << static_cast<int>(problem.error);
    }
}

TEST(SkippedProjectMessage, NamesTheProjectAndWhyWithControlsEscaped) {
    const std::pair<SkippedProject, std::string> cases[] = {
        {{"", "G/Gone.vbp", SkipReason::Missing}, "工程G/Gone.vbp不存在，已跳过"},
        {{"Lib", "S/Lib.csproj", SkipReason::NotVisualBasic},
         "工程Lib（S/Lib.csproj）不是 Visual Basic 工程，已跳过"},
        {{"Docs", "Docs", SkipReason::SolutionFolder}, "解决方案文件夹Docs不是工程，已跳过"},
        {{"A\x1B", "a\x07.vbp", SkipReason::Missing}, "工程A\\x1B（a\\x07.vbp）不存在，已跳过"},
    };
    for (const auto& [skipped, message] : cases) {
        EXPECT_EQ(SkippedProjectMessage(skipped), message) << skipped.path;
    }
    EXPECT_EQ(SkippedProjectMessage({"\x1B]0;t\x07", "p", SkipReason::Missing}),
              "工程\\x1B]0;t\\x07（p）不存在，已跳过");
}

}  // namespace
}  // namespace tallix::cli
