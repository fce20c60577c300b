#include "cli/csv_output.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tallix::cli {
namespace {

TEST(Csv, QuotesOnlyFieldsThatNeedIt) {
    const std::pair<const char*, const char*> cases[] = {
        {"plain.bas", "plain.bas"},   {"", ""},
        {"a,b.bas", "\"a,b.bas\""},   {"say \"hi\".bas", "\"say \"\"hi\"\".bas\""},
        {"\"", "\"\"\"\""},           {"two\nlines", "\"two\nlines\""},
        {"cr\ronly", "\"cr\ronly\""}, {"文件 名;'x'", "文件 名;'x'"},
    };
    for (const auto& [text, field] : cases)
        EXPECT_EQ(CsvField(text), field) << text;
}

TEST(Csv, OneRowPerMemberAndOneForAProjectNotRead) {
    SetCount count;
    CountedProject counted;
    counted.project = {"G/a,b.vbp", SourceKind::Vb6};
    MemberCount good;
    good.name = "Form1.frm";
    good.path = "G/Form1.frm";
    good.tally = {3, 1, 2};
    good.lines = 4;
    MemberCount gone;
    gone.name = "Gone.bas";
    gone.path = "G/Gone.bas";
    gone.problem = {FileError::Missing, ""};
    counted.members = {good, gone};
    count.projects.push_back(counted);
    count.projects.push_back({{"H/h.vbp", SourceKind::Vb6}, {FileError::Missing, ""}, {}, {}});

    std::ostringstream out;
    WriteCsv(count, out);
    EXPECT_EQ(out.str(),
              "project,member,path,lines,code,comment,blank,error\r\n"
              "\"G/a,b.vbp\",Form1.frm,G/Form1.frm,4,3,1,2,\r\n"
              "\"G/a,b.vbp\",Gone.bas,G/Gone.bas,0,0,0,0,文件不存在\r\n"
              "H/h.vbp,,,,,,,文件不存在\r\n");
}

}  // namespace
}  // namespace tallix::cli
