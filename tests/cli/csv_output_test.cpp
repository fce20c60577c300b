#include "cli/csv_output.h"

#include <gtest/gtest.h>

#include <sstream>
#include <utility>

namespace tallix::cli {
namespace {

TEST(CsvField, QuotesOnlyFieldsThatNeedIt) {
    const std::pair<const char*, const char*> cases[] = {
        {"plain.bas", "plain.bas"},   {"", ""},
        {"a,b.bas", "\"a,b.bas\""},   {"say \"hi\".bas", "\"say \"\"hi\"\".bas\""},
        {"\"", "\"\"\"\""},           {"two\nlines", "\"two\nlines\""},
        {"cr\ronly", "\"cr\ronly\""}, {"文件 名;'x'", "文件 名;'x'"},
    };
    for (const auto& [text, field] : cases) {
        EXPECT_EQ(CsvField(text), field) << text;
    }
}

TEST(CsvRow, EveryColumnInOrderWithTheErrorLast) {
    MemberCount good;
    good.name = "a,\"b\".bas";
    good.path = "G/a,\"b\".bas";
    good.tally = {3, 1, 2};
    good.lines = 4;
    MemberCount gone;
    gone.name = "Gone.bas";
    gone.path = "G/Gone.bas";
    gone.problem = {FileError::Missing, ""};
    std::ostringstream out;
    WriteCsvHeader(out);
    WriteCsvRow(out, "G/p q.vbp", good);
    WriteCsvRow(out, "G/p q.vbp", gone);
    EXPECT_EQ(out.str(),
              "project,member,path,lines,code,comment,blank,error\r\n"
              "G/p q.vbp,\"a,\"\"b\"\".bas\",\"G/a,\"\"b\"\".bas\",4,3,1,2,\r\n"
              "G/p q.vbp,Gone.bas,G/Gone.bas,0,0,0,0,文件不存在\r\n");
}

TEST(CsvTextField, NeutralisesWhatASpreadsheetWouldRun) {
    const std::pair<const char*, const char*> cases[] = {
        {"=HYPERLINK(\"http://x\",\"y\")", "\"'=HYPERLINK(\"\"http://x\"\",\"\"y\"\")\""},
        {"+1.vb", "'+1.vb"},
        {"-x.vb", "'-x.vb"},
        {"@x.vb", "'@x.vb"},
        {"\tx.vb", "'\tx.vb"},
        {"\rx.vb", "\"'\rx.vb\""},
        {"a=b.vb", "a=b.vb"},
        {"x-.vb", "x-.vb"},
        {"'quoted", "'quoted"},
        {"", ""},
    };
    for (const auto& [text, field] : cases) {
        EXPECT_EQ(CsvTextField(text), field) << text;
    }
    MemberCount member;
    member.name = "=cmd.bas";
    member.path = "-p/=cmd.bas";
    member.lines = 1;
    std::ostringstream out;
    WriteCsvRow(out, "@p.vbp", member);
    EXPECT_EQ(out.str(), "'@p.vbp,'=cmd.bas,'-p/=cmd.bas,1,0,0,0,\r\n");
}

}  // namespace
}  // namespace tallix::cli
