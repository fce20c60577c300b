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
    for (const auto& [problem, reason] : cases)
        EXPECT_EQ(ProblemReason(problem), reason) << static_cast<int>(problem.error);
}

}  // namespace
}  // namespace tallix::cli
