#include "ui/dialog_paths.h"

#include <gtest/gtest.h>

#include "persistence/qt_test_printing.h"

#include <QDir>
#include <QTemporaryDir>

namespace tallix {
namespace {

struct SaveCase {
    const char16_t* chosen;
    const char16_t* saved;
};

void PrintTo(const SaveCase& c, std::ostream* out) {
    *out << QString::fromUtf16(c.chosen).toStdString();
}

class NormaliseSavePathTest : public ::testing::TestWithParam<SaveCase> {};

TEST_P(NormaliseSavePathTest, UpperCasesTheNameAndAddsTheExtension) {
    EXPECT_EQ(NormaliseSavePath(QString::fromUtf16(GetParam().chosen), QStringLiteral("*.LOG")),
              QString::fromUtf16(GetParam().saved));
}

INSTANTIATE_TEST_SUITE_P(
    ReportNames, NormaliseSavePathTest,
    ::testing::Values(
        SaveCase{u"report", u"REPORT.LOG"},                          // bare name
        SaveCase{u"/home/ann/report", u"/home/ann/REPORT.LOG"},      // folders keep case
        SaveCase{u"/home/ann/result.log", u"/home/ann/RESULT.LOG"},  // no second extension
        SaveCase{u"/home/ann/result.txt", u"/home/ann/RESULT.TXT.LOG"},
        SaveCase{u"/home/ann.b/result", u"/home/ann.b/RESULT.LOG"},  // dot only in a folder
        SaveCase{u"C:\\Work\\v1.2\\out", u"C:\\Work\\v1.2\\OUT.LOG"},
        SaveCase{u"C:\\Work\\Out.Log", u"C:\\Work\\OUT.LOG"},
        SaveCase{u"/tmp/x.LOG.bak", u"/tmp/X.LOG.BAK.LOG"},
        SaveCase{u"/tmp/name.", u"/tmp/NAME..LOG"}, SaveCase{u"/tmp/结果.log", u"/tmp/结果.LOG"}));

TEST(NormaliseSavePathTest, ExtensionComesFromThePatternsFirstDot) {
    EXPECT_EQ(NormaliseSavePath(QStringLiteral("/t/a"), QStringLiteral("*.log")),
              QStringLiteral("/t/A.LOG"));
    EXPECT_EQ(NormaliseSavePath(QStringLiteral("/t/a.tar.gz"), QStringLiteral("*.tar.gz")),
              QStringLiteral("/t/A.TAR.GZ.TAR.GZ"));
    EXPECT_EQ(NormaliseSavePath(QStringLiteral("/t/a"), QStringLiteral("*")),
              QStringLiteral("/t/A"));
}

TEST(DialogFilterTest, NameWithThePatternInBrackets) {
    EXPECT_EQ(DialogFilter(QStringLiteral("Log文件"), QStringLiteral("*.LOG")),
              QStringLiteral("Log文件(*.LOG)"));
    EXPECT_EQ(DialogFilter(QStringLiteral("VB6工程文件"), QStringLiteral("*.vbp")),
              QStringLiteral("VB6工程文件(*.vbp)"));
}

TEST(StartingFolderTest, AFilePathStartsInItsFolder) {
    QTemporaryDir folder;
    const QString path = QDir::toNativeSeparators(folder.path());
    EXPECT_EQ(StartingFolder(path), path);
    EXPECT_EQ(QDir(StartingFolder(folder.filePath(QStringLiteral("p.vbp")))), QDir(folder.path()));
    EXPECT_EQ(StartingFolder(QString()), QString());
}

}  // namespace
}  // namespace tallix
