#include "version/version.h"

#include <gtest/gtest.h>

namespace tallix {
namespace {

// The Windows version resource reads the macro; the program uses VersionText().
TEST(VersionTest, ResourceTextMatchesTheNumbers) {
    EXPECT_EQ(VersionText(), std::string(TALLIX_VERSION_TEXT));
    EXPECT_EQ(VersionText(), "1.00.0062");
}

}  // namespace
}  // namespace tallix
