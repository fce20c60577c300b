#pragma once

#include <algorithm>
#include <string>

#include "engine/file_system.h"

namespace tallix::testing {

// Gives its text in pieces of a set size, and fails when it reaches failAt (never for npos).
class FailingSource : public ByteSource {
public:
    FailingSource(std::string text, std::size_t failAt, std::size_t piece)
        : text_(std::move(text)), failAt_(failAt), piece_(piece) {}

    std::size_t Read(char* buffer, std::size_t size) override {
        if (at_ == failAt_) {
            problem_ = {FileError::Unreadable, "Input/output error"};
            return 0;
        }
        const std::size_t got = std::min({size, piece_, failAt_ - at_, text_.size() - at_});
        text_.copy(buffer, got, at_);
        at_ += got;
        return got;
    }
    const FileProblem& Problem() const override { return problem_; }

private:
    std::string text_;
    std::size_t failAt_;
    std::size_t piece_;
    std::size_t at_ = 0;
    FileProblem problem_;
};

}  // namespace tallix::testing
