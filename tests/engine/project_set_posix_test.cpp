// What a group does with names of files that are no regular files, which only POSIX makes
// so easily: a FIFO, which must not hang the read, and a device.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "engine/projects/project_set.h"
#include "temp_dir.h"

namespace tallix {
namespace {

TEST(ProjectSetsOnPosix, FifosAndDevicesAreSkippedAsNoRegularFiles) {
    testing::TempDir dir;
    ASSERT_EQ(::mkfifo((dir.path() / "fifo.vbp").c_str(), 0600), 0);
    const ProjectSet set =
        ReadProjectSet(dir.Write("G.vbg", "Project=fifo.vbp\r\nProject=/dev/zero\r\n"));
    EXPECT_TRUE(set.projects.empty());
    ASSERT_EQ(set.skipped.size(), 2u);
    for (const SkippedProject& skipped : set.skipped) {
        EXPECT_EQ(skipped.reason, SkipReason::Unusable) << skipped.path;
        EXPECT_EQ(skipped.problem.error, FileError::NotAFile) << skipped.path;
    }
}

}  // namespace
}  // namespace tallix
