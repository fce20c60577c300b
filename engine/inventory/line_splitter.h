#pragma once

// Cutting a member's bytes, fed in blocks of any size, into the lines the counter sees, for
// the inventory's scanners. Internal to the inventory.
//
// A line ends at CR LF, CR or LF, and the last one need not end. The lines that lie wholly
// in a block go to the scanner as one run, a view into the block, which it walks in its
// own way; only a line that a block boundary cuts is copied, and of that only its head:
// the scanners look at a line's first words and at whether it ends in " _".

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/counting/line_counter.h"
#include "engine/text/line_ends.h"

namespace tallix::inventory_lines {

inline bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Whether a line goes on in the next: it ends, blanks aside, in an underscore after a blank.
inline bool EndsInContinuation(std::string_view line) {
    std::size_t end = line.size();
    while (end > 0 && IsBlank(line[end - 1])) {
        --end;
    }
    return end >= 2 && line[end - 1] == '_' && IsBlank(line[end - 2]);
}

// Hands the complete lines of each block to handler.Run(begin, end), [begin, end) being
// whole lines, and each line that a block boundary cut to handler.Line(head, continued,
// nul, lineClass) when it ends: its first kKeptHead bytes, whether the whole line ends in
// " _", whether it holds a NUL, and the line counter's class of the whole line.
template <typename Handler>
class LineSplitter {
public:
    static constexpr std::size_t kKeptHead = 4096;
    static constexpr std::size_t kKeptTail = 64;

    explicit LineSplitter(Handler& handler) : handler_(handler) {}

    void Feed(std::string_view block) {
        const char* p = block.data();
        const char* const end = p + block.size();
        if (p != end && afterCr_ && !open_ && *p == '\n') {
            ++p;  // the second half of a CR LF that the last block cut
        }
        afterCr_ = false;
        if (p == end) {
            return;
        }
        if (open_) {
            const char* lineEnd = line_ends::FindLineEnd(p, end);
            Keep(p, lineEnd);
            if (lineEnd == end) {
                return;
            }
            EmitKept();
            p = PastLineEnd(lineEnd, end);
        }
        const char* lastEnd = line_ends::FindLastLineEnd(p, end);
        const char* rest = lastEnd == end ? p : PastLineEnd(lastEnd, end);
        if (rest != p) {
            handler_.Run(p, rest);
        }
        if (rest != end) {
            Keep(rest, end);
        }
    }

    void Finish() {
        if (open_) {
            EmitKept();
        }
    }

private:
    const char* PastLineEnd(const char* lineEnd, const char* end) {
        afterCr_ = *lineEnd == '\r' && lineEnd + 1 == end;
        return line_ends::PastLineEnd(lineEnd, end);
    }

    // Adds to the open line: its head up to kKeptHead bytes, and its last bytes for the
    // continuation test.
    void Keep(const char* from, const char* to) {
        open_ = true;
        const auto size = static_cast<std::size_t>(to - from);
        const std::size_t room = kKeptHead - std::min(kKeptHead, head_.size());
        head_.append(from, std::min(room, size));
        length_ += size;
        nul_ = nul_ || std::find(from, to, '\0') != to;
        lead_.Take({from, size});
        tail_.append(from + (size > kKeptTail ? size - kKeptTail : 0), to);
        if (tail_.size() > kKeptTail) {
            tail_.erase(0, tail_.size() - kKeptTail);
        }
    }

    void EmitKept() {
        const bool whole = length_ <= kKeptHead;
        handler_.Line(head_, EndsInContinuation(whole ? std::string_view(head_) : tail_), nul_,
                      lead_.Class());
        lead_ = {};
        head_.clear();
        tail_.clear();
        length_ = 0;
        open_ = false;
        nul_ = false;
    }

    Handler& handler_;
    bool afterCr_ = false;  // the last block ended in the CR of a line end
    bool open_ = false;     // a line that the last block did not finish
    std::string head_;
    std::string tail_;
    std::size_t length_ = 0;
    bool nul_ = false;
    LineLead lead_;
};

// Calls onLine(line) for each line of a run of complete lines.
template <typename OnLine>
void ForEachLine(const char* p, const char* runEnd, OnLine&& onLine) {
    while (p < runEnd) {
        const char* lineEnd = line_ends::FindLineEnd(p, runEnd);
        onLine(std::string_view(p, static_cast<std::size_t>(lineEnd - p)));
        p = lineEnd == runEnd ? runEnd : line_ends::PastLineEnd(lineEnd, runEnd);
    }
}

}  // namespace tallix::inventory_lines
