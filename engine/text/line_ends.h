#pragma once

// Finding line-end bytes (CR and LF) 64 at a time, and stepping over them. Internal to the
// engine: the line reader and the counter share it. SSE2 where the compiler offers it (every x86-64
// target), a plain loop elsewhere; both give the same bits.

#include <bit>
#include <cstddef>
#include <cstdint>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace tallix::line_ends {

inline constexpr std::size_t kWindow = 64;

// Bit i is set when p[i] is CR or LF, for the kWindow bytes at p.
inline std::uint64_t LineEndBits(const char* p) {
#ifdef __SSE2__
    // Written out rather than looped: at -O2 a loop stays a loop, with variable shifts.
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const auto bits = [p, cr, lf](int i) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
        const __m128i ends = _mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf));
        return std::uint64_t{static_cast<std::uint32_t>(_mm_movemask_epi8(ends))};
    };
    return bits(0) | bits(1) << 16 | bits(2) << 32 | bits(3) << 48;
#else
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < kWindow; ++i) {
        bits |= std::uint64_t{p[i] == '\r' || p[i] == '\n'} << i;
    }
    return bits;
#endif
}

// The first CR or LF in [p, end), or end.
inline const char* FindLineEnd(const char* p, const char* end) {
    for (; static_cast<std::size_t>(end - p) >= kWindow; p += kWindow) {
        if (const std::uint64_t bits = LineEndBits(p)) {
            return p + std::countr_zero(bits);
        }
    }
    for (; p != end; ++p) {
        if (*p == '\r' || *p == '\n') {
            return p;
        }
    }
    return end;
}

// The last CR or LF in [begin, end), or end when there is none.
inline const char* FindLastLineEnd(const char* begin, const char* end) {
    for (const char* p = end; p != begin;) {
        if (static_cast<std::size_t>(p - begin) >= kWindow) {
            p -= kWindow;
            if (const std::uint64_t bits = LineEndBits(p)) {
                return p + 63 - std::countl_zero(bits);
            }
        } else {
            --p;
            if (*p == '\r' || *p == '\n') {
                return p;
            }
        }
    }
    return end;
}

// The start of the line after the line end at lineEnd, within [lineEnd, end): a CR LF pair
// is one line end.
inline const char* PastLineEnd(const char* lineEnd, const char* end) {
    const char* next = lineEnd + 1;
    return *lineEnd == '\r' && next != end && *next == '\n' ? next + 1 : next;
}

// Text arrives in blocks that may end between the CR and the LF of a pair. This carries a CR
// that ends one block over to the next, so that an LF opening that block is taken as the
// second half of the pair, not as a line end of its own.
class CrLfAcrossBlocks {
public:
    // Where the lines of a new block [p, end) start.
    const char* Resume(const char* p, const char* end) {
        if (afterCr_ && p != end) {
            afterCr_ = false;
            if (*p == '\n') {
                ++p;
            }
        }
        return p;
    }

    // PastLineEnd for the line end at lineEnd in a block ending at end.
    const char* PastLineEnd(const char* lineEnd, const char* end) {
        const char* next = line_ends::PastLineEnd(lineEnd, end);
        afterCr_ = *lineEnd == '\r' && lineEnd + 1 == end;
        return next;
    }

private:
    bool afterCr_ = false;
};

}  // namespace tallix::line_ends
