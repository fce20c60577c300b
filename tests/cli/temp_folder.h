#pragma once

#include <string>

#include "temp_dir.h"

namespace tallix::cli::testing {

// The shared temporary folder, under the name the command line's tests use.
class TempFolder : public tallix::testing::TempDir {
public:
    std::string Path(const std::string& relative) const { return Str(relative); }
};

}  // namespace tallix::cli::testing
