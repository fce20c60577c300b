#include "engine/files/text_source.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "failing_source.h"

namespace tallix {
namespace {

// A source that can be read only once, as a pipe can.
class OnceOnly : public testing::FailingSource {
public:
    explicit OnceOnly(std::string text) : FailingSource(std::move(text), std::string::npos, 1000) {}
    bool Rewind() override { return false; }
};

std::string Text(ByteSource& source, EncodingRule rule, FileProblem* problem = nullptr) {
    std::string text;
    const FileProblem got = ReadSourceText(source, rule, [&](std::string_view piece) {
        text += piece;
        return true;
    });
    if (problem) {
        *problem = got;
    }
    return text;
}

TEST(ReadSourceText, ASmallSourceIsReadOnceInTheEncodingItsRuleFinds) {
    const std::string utf8 = "<Project>\xE6\xA8\xA1\xE5\x9D\x97</Project>";
    OnceOnly project(utf8);
    EXPECT_EQ(Text(project, EncodingRule::Xml), "<Project>模块</Project>");
    OnceOnly group(utf8);
    EXPECT_NE(Text(group, EncodingRule::AnsiUnlessMarked), "<Project>模块</Project>");
    OnceOnly gbk("Project=\xC4\xA3\xBF\xE9.vbp");
    EXPECT_EQ(Text(gbk, EncodingRule::Utf8UnlessInvalid), "Project=模块.vbp");
}

TEST(ReadSourceText, ALargeSourceWhoseEncodingShowsLateIsReadAgain) {
    // 6 MiB of valid UTF-8 and then one byte that is not: ANSI, known only at the end.
    const std::size_t size = std::size_t{6} << 20;
    testing::RepeatingSource late("<Project>", 'a', size, "\xD6\xD0");
    FileProblem problem;
    const std::string text = Text(late, EncodingRule::Xml, &problem);
    EXPECT_EQ(problem.error, FileError::None);
    ASSERT_EQ(text.size(), 9 + size + 3);
    EXPECT_TRUE(text.ends_with("a中"));
    EXPECT_TRUE(text.starts_with("<Project>a"));

    OnceOnly once("<Project>" + std::string(size, 'a'));
    EXPECT_EQ(Text(once, EncodingRule::Xml, &problem), "");
    EXPECT_EQ(problem.error, FileError::Unreadable);
}

// Reads as a file system may give them: full ones, then now and then a short one.
class UnevenSource : public ByteSource {
public:
    UnevenSource(std::string text, std::size_t shortRead)
        : text_(std::move(text)), short_(shortRead) {}
    std::size_t Read(char* buffer, std::size_t size) override {
        const std::size_t want = reads_++ == short_ ? 1000 : 250'000;
        const std::size_t got = std::min({size, want, text_.size() - at_});
        text_.copy(buffer, got, at_);
        at_ += got;
        return got;
    }
    const FileProblem& Problem() const override { return problem_; }
    bool Rewind() override {
        at_ = 0;
        reads_ = 0;
        return true;
    }

private:
    std::string text_;
    std::size_t short_;
    std::size_t at_ = 0;
    std::size_t reads_ = 0;
    FileProblem problem_;
};

TEST(ReadSourceText, OnceTooLargeToKeepItIsReadAgainWhateverTheReadsAfter) {
    // Seventeen reads of 250,000 bytes pass the 4 MiB kept; the eighteenth, short, would fit
    // again, and holds the byte that shows the text is not UTF-8.
    std::string head = "<Project>";
    while (head.size() < 17 * 250'000 + 500) {
        head += "abcdefghij";
    }
    head.resize(17 * 250'000 + 500);
    const std::string tail(1'000'000, 't');
    UnevenSource source(head + "\xD6\xD0" + tail, 17);
    const std::string read = Text(source, EncodingRule::Xml);
    EXPECT_EQ(read.size(), head.size() + 3 + tail.size());
    EXPECT_TRUE(read == head + "中" + tail) << "the text read twice is whole";
}

TEST(ReadSourceText, StopsWhenTheVisitorSaysAndPassesOnAFailure) {
    testing::RepeatingSource endless("Project=a\r\n", 'x', std::size_t{64} << 20, "");
    int lines = 0;
    const FileProblem stopped = ReadSourceLines(endless, EncodingRule::AnsiUnlessMarked,
                                                [&](std::string_view) { return ++lines < 1; });
    EXPECT_EQ(stopped.error, FileError::None);
    EXPECT_EQ(lines, 1);

    testing::FailingSource failing("Project=a\r\nProject=b\r\n", 12, 4);
    std::vector<std::string> seen;
    const FileProblem failed =
        ReadSourceLines(failing, EncodingRule::AnsiUnlessMarked, [&](std::string_view line) {
            seen.emplace_back(line);
            return true;
        });
    EXPECT_EQ(failed.error, FileError::Unreadable);
    EXPECT_EQ(failed.detail, "Input/output error");
}

TEST(ReadSourceLines, CutsLinesOfEveryEncoding) {
    const std::string utf16 = {'\xFF', '\xFE', 'a', '\0', '\r', '\0', '\n', '\0', 'b', '\0'};
    OnceOnly source(utf16);
    std::vector<std::string> lines;
    ReadSourceLines(source, EncodingRule::AnsiUnlessMarked, [&](std::string_view line) {
        lines.emplace_back(line);
        return true;
    });
    EXPECT_EQ(lines, (std::vector<std::string>{"\uFEFFa", "b"}));
}

}  // namespace
}  // namespace tallix
