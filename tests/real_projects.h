#pragma once

// Where the tests find VB projects from the outside world: the fixtures in this repository,
// always there, and the corpus of real projects, which only some machines have.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "temp_dir.h"

namespace tallix::testing {

inline const std::string kFixturesDir = TALLIX_FIXTURES_DIR;
inline const std::string kCorpusDir = TALLIX_CORPUS_DIR;

// The base of every test that reads the corpus. Its suites are named Corpus..., which is how
// CTest runs them on their own; where the corpus is absent each one is skipped with the same
// reason, which CTest recognises and reports as a skip.
class CorpusTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::error_code ignored;
        if (!std::filesystem::is_regular_file(FromUtf8(kCorpusDir) / "MANIFEST.md", ignored)) {
            GTEST_SKIP() << "no corpus at " << kCorpusDir;
        }
    }
};

}  // namespace tallix::testing
