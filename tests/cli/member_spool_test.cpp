#include "cli/member_spool.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "temp_folder.h"

namespace tallix::cli {
namespace {

using namespace std::string_literals;
using testing::TempFolder;

MemberCount Member(int i) {
    MemberCount member;
    member.name = "m\0"s + std::to_string(i) + ".bas";
    member.path = "/p/m" + std::to_string(i) + ".bas";
    member.tally = {i, 2 * i, 3 * i};
    member.lines = 6 * i + 1;
    if (i % 3 == 0) {
        member.problem = {FileError::Unreadable, "Permission denied " + member.path};
    }
    if (i % 3 == 1) {
        member.problem = {FileError::Missing, ""};
    }
    return member;
}

// Every field of every row, in order, so that any slip in the encoding shows.
std::vector<std::string> Replayed(MemberSpool& spool, bool& whole, std::size_t stopAfter = 0) {
    std::vector<std::string> rows;
    whole = spool.ForEach([&](const MemberCount& m) {
        rows.push_back(m.name + "|" + m.path + "|" + std::to_string(m.lines) + "|" +
                       std::to_string(m.tally.code) + "|" + std::to_string(m.tally.comment) + "|" +
                       std::to_string(m.tally.blank) + "|" +
                       std::to_string(static_cast<int>(m.problem.error)) + "|" + m.problem.detail);
        return rows.size() != stopAfter;
    });
    return rows;
}

std::vector<std::string> Expected(int count) {
    MemberSpool memory({std::size_t{1} << 30});
    for (int i = 0; i < count; ++i) {
        memory.Add(Member(i));
    }
    bool whole = false;
    auto rows = Replayed(memory, whole);
    EXPECT_TRUE(whole);
    return rows;
}

TEST(MemberSpool, RowsComeBackWholeAndInOrderWhereverTheyWereKept) {
    constexpr int kRows = 2000;  // some 150 KB of rows
    const std::vector<std::string> expected = Expected(kRows);
    ASSERT_EQ(expected.size(), std::size_t{kRows});
    EXPECT_EQ(expected[3], "m\0"s + "3.bas|/p/m3.bas|19|3|6|9|3|Permission denied /p/m3.bas");

    TempFolder folder;
    const std::string readOnly = folder.Write("read-only", "");
    const std::vector<SpoolSettings> settings = {
        {1},     // every row goes to the temporary file at once
        {4000},  // rows in the file and the last ones in memory
        {1, [] { return static_cast<std::FILE*>(nullptr); }},     // no temporary file at all
        {1, [&] { return std::fopen(readOnly.c_str(), "rb"); }},  // one that refuses writes
    };
    for (std::size_t s = 0; s < settings.size(); ++s) {
        SCOPED_TRACE(s);
        MemberSpool spool(settings[s]);
        for (int i = 0; i < kRows; ++i) {
            spool.Add(Member(i));
        }
        bool whole = false;
        EXPECT_EQ(Replayed(spool, whole), expected);
        EXPECT_TRUE(whole);
        // A second look sees the same rows; a stop is honoured and is not a failure.
        EXPECT_EQ(Replayed(spool, whole), expected);
        EXPECT_EQ(Replayed(spool, whole, 5).size(), 5u);
        EXPECT_TRUE(whole);
    }
}

TEST(MemberSpool, RowsThatCannotBeReadBackAreAFailure) {
    TempFolder folder;
    const std::string file = folder.Path("rows");
    MemberSpool spool({1, [&] { return std::fopen(file.c_str(), "wb"); }});
    for (int i = 0; i < 10; ++i) {
        spool.Add(Member(i));
    }
    bool whole = true;
    Replayed(spool, whole);
    EXPECT_FALSE(whole);
}

}  // namespace
}  // namespace tallix::cli
