#include "ui/messages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tallix {
namespace {

using Kind = AnalysisReason::Kind;

TEST(MessageText, EachReasonKeepsTheWindowsExactWording) {
    struct Case {
        AnalysisReason reason;
        std::string text;
    };
    const FileProblem denied{FileError::Unreadable, "Permission denied"};
    const std::vector<Case> cases = {
        {{Kind::NoKindChosen}, "请选择分析来源的类型！"},
        {{Kind::NoProjectPath}, "请先打开文件!"},
        {{Kind::ProjectMissing, {"C:\\vb\\a.vbp"}}, "文件C:\\vb\\a.vbp不存在！"},
        // The system's reason is not shown: the window's text is fixed.
        {{Kind::ProjectUnreadable, {"/p/工程.vbp"}, denied}, "文件/p/工程.vbp无法读取！"},
        {{Kind::TooManyMembers}, "工程文件的成员超过81个，只统计前81个！"},
        {{Kind::MembersUnreadable, {"a"}}, "以下文件无法读取，按0行计算：\na"},
        {{Kind::FoldersUnlisted, {"/p/Locked", "/p/Gen"}, denied},
         "以下文件夹无法读取，其中的成员未统计：\n/p/Locked\n/p/Gen"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MessageText(c.reason), c.text);
    }
}

TEST(MessageText, UnreadableMembersListAtMostTwentyPaths) {
    std::vector<std::string> paths;
    for (int i = 0; i < 25; ++i) {
        paths.push_back("p" + std::to_string(i));
    }
    const std::string text = MessageText({Kind::MembersUnreadable, paths});
    EXPECT_TRUE(text.starts_with("以下文件无法读取，按0行计算：\np0\np1\n")) << text;
    EXPECT_TRUE(text.ends_with("\np19\n……")) << text;
    EXPECT_EQ(text.find("p20"), std::string::npos);

    paths.resize(20);  // exactly the limit: no ellipsis
    EXPECT_TRUE(MessageText({Kind::MembersUnreadable, paths}).ends_with("\np19"));
}

}  // namespace
}  // namespace tallix
