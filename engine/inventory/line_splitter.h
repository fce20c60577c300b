#pragma once

// Cutting a member's bytes, fed in blocks of any size, into the lines the counter sees, for
// the inventory's scanners. Internal to the inventory.
//
// A line ends at CR LF, CR or LF, and the last one need not end. Lines that lie wholly in a
// block are found 64 bytes at a time and handed on as views into the block, at no cost
// beyond finding their ends; only a line that a block boundary cuts is copied, and of that
// only its head: the scanners look at a line's first words and at whether it ends in " _".

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace tallix::inventory_lines {

inline constexpr std::size_t kWindow = 64;

// Bit i set when p[i] is CR or LF; `nul` is set when any of the 64 bytes is NUL.
inline std::uint64_t EndBits(const char* p, bool& nul) {
#ifdef __SSE2__
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i zero = _mm_setzero_si128();
    std::uint64_t ends = 0;
    int zeros = 0;
    for (int i = 0; i < 4; ++i) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
        const __m128i hit = _mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf));
        ends |= std::uint64_t{static_cast<std::uint32_t>(_mm_movemask_epi8(hit))} << (16 * i);
        zeros |= _mm_movemask_epi8(_mm_cmpeq_epi8(bytes, zero));
    }
    nul = nul || zeros != 0;
    return ends;
#else
    std::uint64_t ends = 0;
    for (std::size_t i = 0; i < kWindow; ++i) {
        ends |= std::uint64_t{p[i] == '\r' || p[i] == '\n'} << i;
        nul = nul || p[i] == '\0';
    }
    return ends;
#endif
}

inline bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Whether a line goes on in the next: it ends, blanks aside, in an underscore that starts
// the line or follows a blank.
inline bool EndsInContinuation(std::string_view line) {
    std::size_t end = line.size();
    while (end > 0 && IsBlank(line[end - 1])) {
        --end;
    }
    return end > 0 && line[end - 1] == '_' && (end == 1 || IsBlank(line[end - 2]));
}

// Hands each line to handler.Line(head, continued): the line, or for a line longer than
// kKeptHead that a block boundary cut, its first kKeptHead bytes; `continued` is whether
// the whole line ends in " _".
template <typename Handler>
class LineSplitter {
public:
    static constexpr std::size_t kKeptHead = 4096;

    explicit LineSplitter(Handler& handler) : handler_(handler) {}

    void Feed(std::string_view block) {
        const char* p = block.data();
        const char* const end = p + block.size();
        if (p == end) {
            return;
        }
        if (afterCr_ && !open_ && *p == '\n') {
            ++p;  // the second half of a CR LF that the last block cut
        }
        afterCr_ = false;
        const char* lineStart = p;
        for (const char* chunk = p; chunk < end; chunk += kWindow) {
            const std::size_t size = std::min<std::size_t>(kWindow, end - chunk);
            bool nul = false;
            std::uint64_t bits = size == kWindow ? EndBits(chunk, nul) : TailBits(chunk, size, nul);
            if (nul && nulLine_ == 0 && nulAt_ == nullptr) {
                nulAt_ = std::find(chunk, chunk + size, '\0');
            }
            while (bits != 0) {
                const char* at = chunk + std::countr_zero(bits);
                bits &= bits - 1;
                if (*at == '\n' && afterCr_ && at == lineStart) {
                    lineStart = at + 1;
                    afterCr_ = false;
                    continue;
                }
                if (nulAt_ != nullptr && nulAt_ < at) {
                    nulLine_ = lines_ + 1;
                    nulAt_ = nullptr;
                }
                if (open_) {
                    Keep(lineStart, at);
                    EmitKept();
                } else {
                    Emit({lineStart, static_cast<std::size_t>(at - lineStart)});
                }
                afterCr_ = *at == '\r';
                lineStart = at + 1;
            }
        }
        if (lineStart != end) {
            Keep(lineStart, end);
            afterCr_ = false;
        }
        if (nulAt_ != nullptr) {
            nulLine_ = lines_ + 1;  // in the line the block leaves open
            nulAt_ = nullptr;
        }
    }

    void Finish() {
        if (open_) {
            EmitKept();
        }
    }

    std::int64_t Lines() const { return lines_; }
    // The line that holds the first NUL byte, 0 when there is none.
    std::int64_t NulLine() const { return nulLine_; }

private:
    static std::uint64_t TailBits(const char* p, std::size_t size, bool& nul) {
        std::uint64_t bits = 0;
        for (std::size_t i = 0; i < size; ++i) {
            bits |= std::uint64_t{p[i] == '\r' || p[i] == '\n'} << i;
            nul = nul || p[i] == '\0';
        }
        return bits;
    }

    void Emit(std::string_view line) {
        ++lines_;
        handler_.Line(line, EndsInContinuation(line));
    }

    // Adds to the open line: its head up to kKeptHead bytes, and its last bytes for the
    // continuation test.
    void Keep(const char* from, const char* to) {
        open_ = true;
        const std::size_t room = kKeptHead - std::min(kKeptHead, head_.size());
        head_.append(from, std::min<std::size_t>(room, to - from));
        length_ += static_cast<std::size_t>(to - from);
        tail_.append(from + (to - from > 64 ? (to - from) - 64 : 0), to);
        if (tail_.size() > 64) {
            tail_.erase(0, tail_.size() - 64);
        }
    }

    void EmitKept() {
        ++lines_;
        const bool whole = length_ <= kKeptHead;
        handler_.Line(head_, EndsInContinuation(whole ? std::string_view(head_) : tail_));
        head_.clear();
        tail_.clear();
        length_ = 0;
        open_ = false;
    }

    Handler& handler_;
    bool afterCr_ = false;
    bool open_ = false;  // a line that the last block did not finish
    std::string head_;
    std::string tail_;
    std::size_t length_ = 0;
    std::int64_t lines_ = 0;
    const char* nulAt_ = nullptr;  // the first NUL, in the block being fed
    std::int64_t nulLine_ = 0;
};

}  // namespace tallix::inventory_lines
