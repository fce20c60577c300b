#pragma once

#include <algorithm>
#include <cstring>
#include <string>

#include "engine/files/file_system.h"

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
    bool Rewind() override {
        at_ = 0;
        return true;
    }

private:
    std::string text_;
    std::size_t failAt_;
    std::size_t piece_;
    std::size_t at_ = 0;
    FileProblem problem_;
};

// Gives head, then count copies of fill, then tail, without ever holding the copies: a
// project file far larger than memory should be, made on the fly.
class RepeatingSource : public ByteSource {
public:
    RepeatingSource(std::string head, char fill, std::size_t count, std::string tail)
        : head_(std::move(head)), fill_(fill), count_(count), tail_(std::move(tail)) {}

    std::size_t Read(char* buffer, std::size_t size) override {
        std::size_t got = 0;
        // Each part in turn; pos is where the reader stands within that part.
        std::size_t pos = at_;
        const auto take = [&](std::size_t partSize, auto&& copy) {
            if (pos >= partSize) {
                pos -= partSize;
                return;
            }
            const std::size_t n = std::min(size - got, partSize - pos);
            copy(buffer + got, pos, n);
            got += n;
            pos = 0;
        };
        take(head_.size(),
             [&](char* to, std::size_t from, std::size_t n) { head_.copy(to, n, from); });
        take(count_, [&](char* to, std::size_t, std::size_t n) { std::memset(to, fill_, n); });
        take(tail_.size(),
             [&](char* to, std::size_t from, std::size_t n) { tail_.copy(to, n, from); });
        at_ += got;
        return got;
    }
    const FileProblem& Problem() const override { return problem_; }
    bool Rewind() override {
        at_ = 0;
        return true;
    }

private:
    std::string head_;
    char fill_;
    std::size_t count_;
    std::string tail_;
    std::size_t at_ = 0;
    FileProblem problem_;
};

}  // namespace tallix::testing
