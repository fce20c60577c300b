// Writing the report on POSIX: symbolic links, a folder that allows no new file, and a
// write that fails after the file was made. Some tests run the write in a child process, so
// that what they change of the process (its user, its file size limit) ends with the child.

#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "persistence/replace_file.h"
#include "persistence/report_writer.h"
#include "temp_dir.h"

namespace tallix {
namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::ptrdiff_t EntriesIn(const fs::path& folder) {
    return std::distance(fs::directory_iterator(folder), {});
}

bool IsLink(const fs::path& path) {
    return fs::is_symlink(fs::symlink_status(path));
}

// What WriteReport answered in the child, or why the child could not run it.
struct ChildWrite {
    bool setUp = false;
    std::optional<std::string> reason;
};

constexpr int kSetupFailed = 125;

// Runs write in a child process after setUp has changed the child; setUp returns false when
// it could not.
ChildWrite WriteInChild(const std::function<std::optional<std::string>()>& write,
                        const std::function<bool()>& setUp) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) {
        return {};
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        if (!setUp()) {
            ::_exit(kSetupFailed);
        }
        const auto reason = write();
        if (reason && ::write(pipeEnds[1], reason->data(), reason->size()) < 0) {
            ::_exit(1);
        }
        ::_exit(reason ? 1 : 0);
    }
    ::close(pipeEnds[1]);
    std::string answer;
    char buffer[256];
    for (ssize_t got; (got = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
        answer.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(pipeEnds[0]);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return {};
    }
    if (WEXITSTATUS(status) == kSetupFailed) {
        return {};
    }
    ChildWrite result{true, std::nullopt};
    if (WEXITSTATUS(status) != 0) {
        result.reason = answer;
    }
    return result;
}

ChildWrite WriteReportInChild(const std::string& path, const ReportContent& content,
                              const std::function<bool()>& setUp) {
    return WriteInChild([&] { return WriteReport(path, content); }, setUp);
}

// A user other than root, whom permissions bind: root itself passes every permission test.
constexpr uid_t kOtherUser = 65534;  // nobody

bool BecomeBoundByPermissions() {
    if (::geteuid() != 0) {
        return true;
    }
    return ::setgroups(0, nullptr) == 0 && ::setgid(kOtherUser) == 0 && ::setuid(kOtherUser) == 0;
}

bool LimitFileSize(rlim_t bytes) {
    // Past the limit a write fails with EFBIG instead of the process being killed.
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{bytes, bytes};
    return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

class PosixReportFile : public ::testing::Test {
protected:
    testing::TempDir dir;
    const ReportContent content{"/home/u/p.vbp", "a.frm:2", "2"};
    const std::string oldReport = "old report\r\n";
};

// The report is asked for at reports/R.LOG, which is a link.
struct LinkCase {
    const char* label;
    const char* linksTo;   // relative to reports/, or <absolute> for reportAt's absolute path
    const char* reportAt;  // the file that must end up holding the report
    bool targetExists;
};

void PrintTo(const LinkCase& c, std::ostream* out) {
    *out << c.label;
}

class ReportThroughLink : public PosixReportFile, public ::testing::WithParamInterface<LinkCase> {};

TEST_P(ReportThroughLink, WritesTheFileBehindTheLinkAndKeepsTheLink) {
    const LinkCase& c = GetParam();
    fs::create_directories(dir.path() / "reports");
    fs::create_directories(dir.path() / "elsewhere");
    if (c.targetExists) {
        dir.Write(c.reportAt, oldReport);
        fs::permissions(dir.path() / c.reportAt, fs::perms(0600));
    }
    // The middle of the chain for the link to a link.
    fs::create_symlink("../elsewhere/R.LOG", dir.path() / "reports/middle.LOG");
    const std::string linksTo = std::string(c.linksTo) == "<absolute>"
                                    ? (dir.path() / c.reportAt).string()
                                    : std::string(c.linksTo);
    const fs::path link = dir.path() / "reports/R.LOG";
    fs::create_symlink(linksTo, link);

    ASSERT_EQ(WriteReport(link.string(), content), std::nullopt);

    EXPECT_TRUE(IsLink(link));
    EXPECT_EQ(fs::read_symlink(link).string(), linksTo);
    EXPECT_EQ(ReadBytes(dir.path() / c.reportAt), ReportBytes(content));
    if (c.targetExists) {
        EXPECT_EQ(fs::status(dir.path() / c.reportAt).permissions() & fs::perms::all,
                  fs::perms(0600));
    }
    // The two links and the report, nothing left beside them.
    EXPECT_EQ(EntriesIn(dir.path() / "reports") + EntriesIn(dir.path() / "elsewhere"), 3);
}

INSTANTIATE_TEST_SUITE_P(
    Links, ReportThroughLink,
    ::testing::Values(LinkCase{"relative, same folder", "real.LOG", "reports/real.LOG", true},
                      LinkCase{"relative, other folder", "../elsewhere/R.LOG", "elsewhere/R.LOG",
                               true},
                      LinkCase{"absolute", "<absolute>", "elsewhere/R.LOG", true},
                      LinkCase{"to a link", "middle.LOG", "elsewhere/R.LOG", true},
                      LinkCase{"dangling", "../elsewhere/R.LOG", "elsewhere/R.LOG", false}));

TEST_F(PosixReportFile, LinksThatLoopOrLeadToAReadOnlyFileGiveAReason) {
    fs::create_symlink("b.LOG", dir.path() / "a.LOG");
    fs::create_symlink("a.LOG", dir.path() / "b.LOG");
    const auto loop = WriteReport(dir.Str("a.LOG"), content);
    ASSERT_NE(loop, std::nullopt);
    EXPECT_FALSE(loop->empty());
    EXPECT_TRUE(IsLink(dir.path() / "a.LOG"));
    EXPECT_TRUE(IsLink(dir.path() / "b.LOG"));

    const std::string kept = dir.Write("kept.LOG", oldReport);
    fs::permissions(kept, fs::perms(0444));
    fs::create_symlink("kept.LOG", dir.path() / "c.LOG");
    EXPECT_NE(WriteReport(dir.Str("c.LOG"), content), std::nullopt);
    EXPECT_EQ(ReadBytes(kept), oldReport);
    EXPECT_TRUE(IsLink(dir.path() / "c.LOG"));
    EXPECT_EQ(EntriesIn(dir.path()), 4);
}

TEST_F(PosixReportFile, FolderThatAllowsNoNewFileGetsTheReportWrittenInPlace) {
    const fs::path folder = dir.path() / "shared";
    const std::string report = dir.Write("shared/R.LOG", oldReport);
    fs::permissions(report, fs::perms(0644));
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(report.c_str(), kOtherUser, kOtherUser), 0);
    }
    fs::permissions(folder, fs::perms(0555));
    struct stat before {};
    ASSERT_EQ(::stat(report.c_str(), &before), 0);

    const ChildWrite write = WriteReportInChild(report, content, BecomeBoundByPermissions);
    if (!write.setUp) {
        GTEST_SKIP() << "cannot run as a user whom permissions bind";
    }
    EXPECT_EQ(write.reason, std::nullopt);
    EXPECT_EQ(ReadBytes(report), ReportBytes(content));
    struct stat after {};
    ASSERT_EQ(::stat(report.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "the same file, written in place";
    EXPECT_EQ(after.st_mode & 07777, 0644u);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(EntriesIn(folder), 1);

    // A report that does not exist yet cannot be made there, nor a read-only one replaced.
    const ChildWrite fresh =
        WriteReportInChild((folder / "New.LOG").string(), content, BecomeBoundByPermissions);
    ASSERT_TRUE(fresh.setUp);
    EXPECT_NE(fresh.reason, std::nullopt);
    fs::permissions(report, fs::perms(0444));
    const ChildWrite readOnly =
        WriteReportInChild(report, {"x.vbp", "", "0"}, BecomeBoundByPermissions);
    ASSERT_TRUE(readOnly.setUp);
    EXPECT_NE(readOnly.reason, std::nullopt);
    EXPECT_EQ(ReadBytes(report), ReportBytes(content));
    EXPECT_EQ(EntriesIn(folder), 1);
}

TEST_F(PosixReportFile, WriteThatFailsPartWayKeepsTheOldReport) {
    const std::string report = dir.Write("R.LOG", oldReport);
    // Room for the old report, not for the new one.
    ASSERT_GT(ReportBytes(content).size(), 64u);
    const ChildWrite write = WriteReportInChild(report, content, [] { return LimitFileSize(64); });
    ASSERT_TRUE(write.setUp);
    ASSERT_NE(write.reason, std::nullopt) << "a cut-short report must not pass for written";
    EXPECT_EQ(*write.reason, std::strerror(EFBIG));
    EXPECT_EQ(ReadBytes(report), oldReport);
    EXPECT_EQ(EntriesIn(dir.path()), 1) << "the temporary file is removed";
}

TEST_F(PosixReportFile, WriteInPlaceThatFailsPartWayGivesTheReason) {
    const fs::path folder = dir.path() / "shared";
    const std::string report = dir.Write("shared/R.LOG", oldReport);
    fs::permissions(report, fs::perms(0666));
    fs::permissions(folder, fs::perms(0555));
    const ChildWrite write = WriteReportInChild(
        report, content, [] { return LimitFileSize(64) && BecomeBoundByPermissions(); });
    if (!write.setUp) {
        GTEST_SKIP() << "cannot run as a user whom permissions bind";
    }
    ASSERT_NE(write.reason, std::nullopt);
    EXPECT_EQ(*write.reason, std::strerror(EFBIG));
    EXPECT_EQ(EntriesIn(folder), 1);
}

}  // namespace
}  // namespace tallix

namespace tallix {
namespace {

// The same replace path with content that a writer streams in parts, as a deposit is.
class PosixStreamedFile : public PosixReportFile {
protected:
    // Writes `parts` parts of "part N\n", then gives up with `reason` when there is one.
    static ContentWriter Parts(int parts, std::optional<std::string> reason = std::nullopt) {
        return [parts, reason](const ContentSink& write) -> std::optional<std::string> {
            for (int i = 0; i < parts; ++i) {
                if (!write("part " + std::to_string(i) + "\n")) {
                    return std::string("the sink refused part ") + std::to_string(i);
                }
            }
            return reason;
        };
    }
    static std::string PartsText(int parts) {
        std::string text;
        for (int i = 0; i < parts; ++i) {
            text += "part " + std::to_string(i) + "\n";
        }
        return text;
    }
};

TEST_F(PosixStreamedFile, PartsArriveWholeAndReplaceTheOldFile) {
    const std::string file = dir.Write("D.pdf", oldReport);
    EXPECT_EQ(ReplaceFileContents(file, Parts(5000)), std::nullopt);
    EXPECT_EQ(ReadBytes(file), PartsText(5000));
    EXPECT_EQ(ReplaceFileContents(dir.Str("new.pdf"), Parts(0)), std::nullopt);
    EXPECT_EQ(ReadBytes(dir.path() / "new.pdf"), "");
    EXPECT_EQ(EntriesIn(dir.path()), 2);
}

TEST_F(PosixStreamedFile, AWriterThatGivesUpKeepsTheOldFile) {
    const std::string file = dir.Write("D.pdf", oldReport);
    EXPECT_EQ(ReplaceFileContents(file, Parts(300, "no font")),
              std::optional<std::string>("no font"));
    EXPECT_EQ(ReadBytes(file), oldReport);
    EXPECT_EQ(ReplaceFileContents(dir.Str("new.pdf"), Parts(3, "no font")),
              std::optional<std::string>("no font"));
    EXPECT_FALSE(fs::exists(dir.path() / "new.pdf"));
    EXPECT_EQ(EntriesIn(dir.path()), 1) << "the temporary file is removed";
}

TEST_F(PosixStreamedFile, AFullDiskStopsTheWriterAndKeepsTheOldFile) {
    const std::string file = dir.Write("D.pdf", oldReport);
    const ChildWrite write = WriteInChild([&] { return ReplaceFileContents(file, Parts(1000)); },
                                          [] { return LimitFileSize(4096); });
    ASSERT_TRUE(write.setUp);
    ASSERT_NE(write.reason, std::nullopt);
    EXPECT_EQ(*write.reason, std::strerror(EFBIG)) << "the system's reason, not the writer's";
    EXPECT_EQ(ReadBytes(file), oldReport);
    EXPECT_EQ(EntriesIn(dir.path()), 1);
}

TEST_F(PosixStreamedFile, AFolderThatAllowsNoNewFileKeepsTheFileUnlessAskedToWriteInPlace) {
    const fs::path folder = dir.path() / "shared";
    const std::string file = dir.Write("shared/D.pdf", oldReport);
    fs::permissions(file, fs::perms(0666));
    fs::permissions(folder, fs::perms(0555));
    const ChildWrite kept =
        WriteInChild([&] { return ReplaceFileContents(file, Parts(10), WhenNoNewFile::Fail); },
                     BecomeBoundByPermissions);
    if (!kept.setUp) {
        GTEST_SKIP() << "cannot run as a user whom permissions bind";
    }
    ASSERT_NE(kept.reason, std::nullopt);
    EXPECT_EQ(*kept.reason, std::strerror(EACCES));
    EXPECT_EQ(ReadBytes(file), oldReport);
    const ChildWrite inPlace = WriteInChild(
        [&] { return ReplaceFileContents(file, Parts(10), WhenNoNewFile::WriteInPlace); },
        BecomeBoundByPermissions);
    EXPECT_EQ(inPlace.reason, std::nullopt);
    EXPECT_EQ(ReadBytes(file), PartsText(10));
    EXPECT_EQ(EntriesIn(folder), 1);
}

}  // namespace
}  // namespace tallix
