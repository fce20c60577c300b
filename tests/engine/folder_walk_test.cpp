#include "engine/files/folder_walk.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "other_user.h"
#include "temp_dir.h"

namespace tallix {
namespace {

namespace fs = std::filesystem;

// Files visited and problems met, each sorted, as one text: "f:a/b" and "p:a=reason".
std::string Walk(const std::string& root, const FolderFilter& enter = nullptr) {
    std::vector<std::string> seen;
    WalkFiles(
        root, enter ? enter : [](std::string_view, std::string_view) { return true; },
        [&](const std::string& relative) { seen.push_back("f:" + relative); },
        [&](FolderProblem problem) {
            seen.push_back("p:" + problem.path + "=" +
                           std::to_string(static_cast<int>(problem.problem.error)) +
                           (problem.problem.detail.empty() ? "" : " " + problem.problem.detail));
        });
    std::sort(seen.begin(), seen.end());
    std::string text;
    for (const std::string& entry : seen) {
        text += entry + "\n";
    }
    return text;
}

class FolderWalk : public ::testing::Test {
protected:
    testing::TempDir dir;
};

TEST_F(FolderWalk, VisitsFilesAndFileLinksButNoLinkToAFolderDanglingLinkOrFifo) {
    dir.Write("W/a.vbp", "");
    dir.Write("W/Sub/b.vbp", "");
    dir.Write("Out/o.vbp", "");
    fs::create_symlink(dir.path() / "Out/o.vbp", dir.path() / "W/file-link.vbp");
    fs::create_symlink(dir.path() / "Out/gone.vbp", dir.path() / "W/dangling.vbp");
    fs::create_directory_symlink(dir.path() / "Out", dir.path() / "W/folder-link.vbp");
    ASSERT_EQ(::mkfifo((dir.path() / "W/fifo.vbp").c_str(), 0600), 0);
    EXPECT_EQ(Walk(dir.Str("W")), "f:Sub/b.vbp\nf:a.vbp\nf:file-link.vbp\n");
    // Only the folders the filter takes are entered, and it sees each one's path.
    std::vector<std::string> asked;
    const auto refuse = [&](std::string_view name, std::string_view relative) {
        asked.emplace_back(relative);
        return name != "Sub";
    };
    EXPECT_EQ(Walk(dir.Str("W"), refuse), "f:a.vbp\nf:file-link.vbp\n");
    EXPECT_EQ(asked, std::vector<std::string>{"Sub"});
}

TEST_F(FolderWalk, NamesTheRootWhenItIsMissing) {
    EXPECT_EQ(Walk(dir.Str("none")), "p:=" + std::to_string(static_cast<int>(FileError::Missing)) +
                                         " No such file or directory\n");
}

TEST_F(FolderWalk, NamesEveryFolderItCannotListAndGoesOnWithTheRest) {
    dir.Write("W/a.vbp", "");
    dir.Write("W/locked/b.vbp", "");
    dir.Write("W/open/deep/locked/c.vbp", "");
    dir.Write("W/open/d.vbp", "");
    fs::permissions(dir.path() / "W/locked", fs::perms::none);
    fs::permissions(dir.path() / "W/open/deep/locked", fs::perms::none);
    const auto walked = testing::AsOtherUser([&] { return Walk(dir.Str("W")); });
    if (!walked) {
        GTEST_SKIP() << "cannot run as a user whom permissions bind";
    }
    const std::string unreadable =
        "=" + std::to_string(static_cast<int>(FileError::Unreadable)) + " Permission denied\n";
    EXPECT_EQ(*walked,
              "f:a.vbp\nf:open/d.vbp\np:locked" + unreadable + "p:open/deep/locked" + unreadable);
    fs::permissions(dir.path() / "W", fs::perms::none);
    EXPECT_EQ(testing::AsOtherUser([&] { return Walk(dir.Str("W")); }), "p:" + unreadable);
}

// Folders nested deeper than a path can name, made and removed a level at a time.
class DeepFolders {
public:
    DeepFolders(const std::string& root, int levels) : root_(root), levels_(levels) {
        int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY);
        for (int i = 0; i < levels && fd >= 0; ++i) {
            ::mkdirat(fd, kName.c_str(), 0755);
            const int next = ::openat(fd, kName.c_str(), O_RDONLY | O_DIRECTORY);
            ::close(fd);
            fd = next;
        }
        if (fd >= 0) {
            const int file = ::openat(fd, "deep.vbp", O_WRONLY | O_CREAT, 0644);
            ::close(file);
            ::close(fd);
        }
    }
    ~DeepFolders() {
        // From the bottom up: no path to the bottom is short enough to remove it by.
        std::vector<int> fds{::open(root_.c_str(), O_RDONLY | O_DIRECTORY)};
        for (int i = 0; i < levels_ && fds.back() >= 0; ++i) {
            fds.push_back(::openat(fds.back(), kName.c_str(), O_RDONLY | O_DIRECTORY));
        }
        if (fds.back() >= 0) {
            ::unlinkat(fds.back(), "deep.vbp", 0);
        }
        for (std::size_t i = fds.size() - 1; i-- > 0;) {
            ::close(fds[i + 1]);
            ::unlinkat(fds[i], kName.c_str(), AT_REMOVEDIR);
        }
        ::close(fds.front());
    }

    static inline const std::string kName = std::string(200, 'd');

private:
    std::string root_;
    int levels_;
};

TEST_F(FolderWalk, NamesFoldersTooDeepForAPath) {
    const DeepFolders deep(dir.Str(), 30);  // 30 * 201 bytes, past any path limit
    const std::string walked = Walk(dir.Str());
    EXPECT_EQ(walked.find("f:"), std::string::npos) << "the file at the bottom is not reached";
    EXPECT_NE(walked.find("File name too long"), std::string::npos) << walked;
    EXPECT_EQ(std::count(walked.begin(), walked.end(), '\n'), 1) << walked;
}

}  // namespace
}  // namespace tallix
