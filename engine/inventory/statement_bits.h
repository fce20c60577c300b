#pragma once

// Finding, 64 bytes at a time, the lines of a member's code that may start a statement that
// declares a procedure or an API, so that the scanner parses those lines alone. Internal to
// the inventory's scanner. With one bit per byte, as the line counter's bits have them (see
// engine/counting/line_bits.h):
//
//   ends   = every CR, and every LF that does not follow a CR: one per line
//   pairs  = every LF that follows a CR
//   starts = the byte after each end
//   skip   = blanks (space, tab) and pairs
//   first  = (skip + starts) & ~skip: each line's first character
//
// A line matters when its first three characters, in any letter case, begin a modifier,
// Sub, Function, Property, Operator or Declare, or when it starts with "<" (an attribute)
// or "_" (a head continued before its first word): a table of 2^15 bits tells, and
// anything else, most lines, is passed over without a branch of its own. Whether a line
// that matters continues another (" _" at the end of the line before) is for the scanner
// to tell: such lines are few.

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "engine/counting/line_bits.h"

// The AVX2 build also takes the bit instructions that come with every AVX2 processor.
#if TALLIX_HAVE_AVX2_PATH
#define TALLIX_TARGET_AVX2_BMI __attribute__((target("avx2,popcnt,bmi,bmi2")))
#endif

namespace tallix::statement_bits {

inline constexpr std::size_t kChunk = 64;

// One bit per byte of a 64-byte chunk.
struct ByteMasks {
    std::uint64_t cr = 0;
    std::uint64_t lf = 0;
    std::uint64_t blank = 0;  // space or tab
    std::uint64_t nul = 0;
};

inline ByteMasks MasksPlain(const char* p) {
    ByteMasks m;
    for (std::size_t i = 0; i < kChunk; ++i) {
        m.cr |= std::uint64_t{p[i] == '\r'} << i;
        m.lf |= std::uint64_t{p[i] == '\n'} << i;
        m.blank |= std::uint64_t{p[i] == ' ' || p[i] == '\t'} << i;
        m.nul |= std::uint64_t{p[i] == '\0'} << i;
    }
    return m;
}

#ifdef __SSE2__
TALLIX_ALWAYS_INLINE ByteMasks MasksSse2(const char* p) {
    ByteMasks m;
    for (int i = 0; i < 4; ++i) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
        const auto bits = [](__m128i hit) {
            return std::uint64_t{static_cast<std::uint32_t>(_mm_movemask_epi8(hit))};
        };
        const auto eq = [&](char c) { return _mm_cmpeq_epi8(bytes, _mm_set1_epi8(c)); };
        m.cr |= bits(eq('\r')) << (16 * i);
        m.lf |= bits(eq('\n')) << (16 * i);
        m.blank |= bits(_mm_or_si128(eq(' '), eq('\t'))) << (16 * i);
        m.nul |= bits(eq('\0')) << (16 * i);
    }
    return m;
}
#endif

TALLIX_ALWAYS_INLINE ByteMasks Masks(const char* p) {
#ifdef __SSE2__
    return MasksSse2(p);
#else
    return MasksPlain(p);
#endif
}

#if TALLIX_HAVE_AVX2_PATH
TALLIX_TARGET_AVX2_BMI TALLIX_ALWAYS_INLINE std::uint64_t BitsAvx2(__m256i low, __m256i high) {
    return std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(low))} |
           std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(high))} << 32;
}

TALLIX_TARGET_AVX2_BMI TALLIX_ALWAYS_INLINE std::uint64_t EqualAvx2(__m256i low, __m256i high,
                                                                    char c) {
    const __m256i wanted = _mm256_set1_epi8(c);
    return BitsAvx2(_mm256_cmpeq_epi8(low, wanted), _mm256_cmpeq_epi8(high, wanted));
}

// A byte is blank when the table that its low four bits pick from gives it back: 0x20 at 0,
// 0x09 at 9, nothing that equals its index elsewhere; bytes from 0x80 up give 0.
TALLIX_TARGET_AVX2_BMI TALLIX_ALWAYS_INLINE std::uint64_t BlankAvx2(__m256i low, __m256i high) {
    const __m256i table = _mm256_setr_epi8(0x20, 0, 0, 0, 0, 0, 0, 0, 0, 0x09, 0, 0, 0, 0, 0, 0,
                                           0x20, 0, 0, 0, 0, 0, 0, 0, 0, 0x09, 0, 0, 0, 0, 0, 0);
    return BitsAvx2(_mm256_cmpeq_epi8(_mm256_shuffle_epi8(table, low), low),
                    _mm256_cmpeq_epi8(_mm256_shuffle_epi8(table, high), high));
}

TALLIX_TARGET_AVX2_BMI TALLIX_ALWAYS_INLINE ByteMasks MasksAvx2(const char* p) {
    const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32));
    return {EqualAvx2(low, high, '\r'), EqualAvx2(low, high, '\n'), BlankAvx2(low, high),
            EqualAvx2(low, high, '\0')};
}

inline bool HasAvx2Bmi() {
    return line_bits::HasAvx2() && __builtin_cpu_supports("bmi") && __builtin_cpu_supports("bmi2");
}
#endif

// Whether this processor runs the AVX2 build.
inline bool PreferAvx2() {
#if TALLIX_HAVE_AVX2_PATH
    return HasAvx2Bmi();
#else
    return false;
#endif
}

// The index of three characters in the table: five bits of each, letters in either case
// alike. Other characters share indexes with letters, which only sends a few more
// statements to be parsed.
constexpr std::uint32_t PrefixIndex(char a, char b, char c) {
    const auto five = [](char x) { return static_cast<std::uint32_t>(x & 0x1F); };
    return five(a) << 10 | five(b) << 5 | five(c);
}

constexpr std::array<std::uint64_t, 512> DeclarationPrefixes() {
    std::array<std::uint64_t, 512> table{};
    const auto set = [&](std::uint32_t index) {
        table[index >> 6] |= std::uint64_t{1} << (index & 63);
    };
    // The first three letters of every modifier and of the keywords that declare.
    constexpr std::string_view kPrefixes[] = {"pub", "pri", "pro", "fri", "sta", "sha", "ove",
                                              "not", "mus", "par", "rea", "wri", "def", "ite",
                                              "asy", "wid", "nar", "sub", "fun", "ope", "dec"};
    for (const std::string_view prefix : kPrefixes) {
        set(PrefixIndex(prefix[0], prefix[1], prefix[2]));
    }
    // An attribute, and a line continued before its first word ("_"), whatever follows.
    for (std::uint32_t rest = 0; rest < 1024; ++rest) {
        set(PrefixIndex('<', 0, 0) | rest);
        set(PrefixIndex('_', 0, 0) | rest);
    }
    return table;
}

inline constexpr std::array<std::uint64_t, 512> kDeclarationPrefixes = DeclarationPrefixes();

// Whether the three bytes of `word` (little-endian, in its low 24 bits) may begin a
// declaration.
TALLIX_ALWAYS_INLINE std::uint64_t MayDeclare(std::uint32_t word) {
    const std::uint32_t index = (word & 0x1F) << 10 | (word >> 3 & 0x3E0) | (word >> 16 & 0x1F);
    return kDeclarationPrefixes[index >> 6] >> (index & 63) & 1;
}

// What a walk over a run of code found besides its statements.
struct Walked {
    std::int64_t lines = 0;    // the run's lines
    std::int64_t nulLine = 0;  // the line, counted from 1 at the walk's start, of a NUL; 0: none
};

// Walks the complete lines of a run, chunk by chunk, and hands each line that may start a
// statement that declares to onLine(first, start, end, line): its first character; the
// byte after the line end before it and its own end byte, when the walk has found them
// already (else nullptr); and its line, counted from 0 at the walk's start. The handler may read on
// through the lines that the statement continues in; the walk hands those on too when they may
// matter.
template <typename OnLine>
class StatementWalk {
public:
    explicit StatementWalk(OnLine& onLine) : onLine_(onLine) {}

    // Takes the masks of the chunk at `chunk`, whose bytes may be read at `bytes` up to three
    // past the chunk; the bytes `valid` marks belong to the run.
    template <bool kHardware>
    TALLIX_ALWAYS_INLINE void Add(ByteMasks m, const char* chunk, const char* bytes,
                                  std::uint64_t valid) {
        const std::uint64_t cr = m.cr & valid;
        const std::uint64_t lf = m.lf & valid;
        nul_ |= m.nul & valid;
        const std::uint64_t crBefore = (cr << 1) | crCarry_;
        crCarry_ = cr >> 63;
        const std::uint64_t pairs = lf & crBefore;
        const std::uint64_t ends = cr | (lf & ~crBefore);
        const std::uint64_t skip = (m.blank & valid) | pairs;
        const std::uint64_t starts = (ends << 1) | startCarry_;
        startCarry_ = ends >> 63;
        const std::uint64_t sum = skip + starts;
        const std::uint64_t first = (sum + firstCarry_) & ~skip;
        firstCarry_ = (sum < skip) | (sum + firstCarry_ < sum);
        // Most chunks hold one or two lines: those two are tested without a branch.
        std::uint64_t candidates = first & ~ends & valid;
        std::uint64_t hits = Test(candidates, bytes);
        candidates &= candidates - 1;
        hits |= Test(candidates, bytes);
        for (candidates &= candidates - 1; candidates != 0; candidates &= candidates - 1) {
            hits |= Test(candidates, bytes);
        }
        if (hits != 0) [[unlikely]] {
            for (; hits != 0; hits &= hits - 1) {
                const int at = std::countr_zero(hits);
                const std::uint64_t before = (std::uint64_t{1} << at) - 1;
                // Where the line starts and ends, when the chunk holds them: the byte after
                // the end before it (the LF of a CR LF, or the line's first byte), and its
                // own end.
                const std::uint64_t start = starts & (before | std::uint64_t{1} << at);
                const std::uint64_t after = ends & ~before;
                onLine_(chunk + at, start != 0 ? chunk + (63 - std::countl_zero(start)) : nullptr,
                        after != 0 ? chunk + std::countr_zero(after) : nullptr,
                        walked_.lines + Count<kHardware>(ends & before));
            }
        }
        if (nul_ != 0 && walked_.nulLine == 0) [[unlikely]] {
            const std::uint64_t before = (std::uint64_t{1} << std::countr_zero(nul_)) - 1;
            walked_.nulLine = walked_.lines + Count<kHardware>(ends & before) + 1;
        }
        nul_ = 0;
        walked_.lines += Count<kHardware>(ends);
    }

    const Walked& Result() const { return walked_; }

private:
    // The lowest candidate's bit when its line may matter; 0 for none.
    TALLIX_ALWAYS_INLINE static std::uint64_t Test(std::uint64_t candidates, const char* bytes) {
        const int at = std::countr_zero(candidates | std::uint64_t{1} << 63);
        std::uint32_t word;
        std::memcpy(&word, bytes + at, sizeof word);
        return MayDeclare(word) << at & candidates;
    }

    template <bool kHardware>
    TALLIX_ALWAYS_INLINE static std::int64_t Count(std::uint64_t x) {
        if constexpr (kHardware) {
            return std::popcount(x);
        } else {
            return line_bits::PopCountPortable(x);
        }
    }

    OnLine& onLine_;
    std::uint64_t crCarry_ = 0;
    std::uint64_t startCarry_ = 1;  // the walk starts with a line
    std::uint64_t firstCarry_ = 0;
    std::uint64_t nul_ = 0;
    Walked walked_;
};

// Chunks are read in place while four bytes past them still belong to the run, for the
// table's look at three; the last piece is read from a padded copy.
inline constexpr std::size_t kInPlace = kChunk + 3;

template <bool kHardware, typename Walk>
TALLIX_ALWAYS_INLINE void AddLastPieces(Walk& walk, const char* p, const char* runEnd) {
    char padded[2 * kChunk + 4] = {};
    const auto size = static_cast<std::size_t>(runEnd - p);
    std::memcpy(padded, p, size);
    for (std::size_t at = 0; at < size; at += kChunk) {
        const std::size_t here = std::min(kChunk, size - at);
        const std::uint64_t valid =
            here == kChunk ? ~std::uint64_t{0} : (std::uint64_t{1} << here) - 1;
        walk.template Add<kHardware>(Masks(padded + at), p + at, padded + at, valid);
    }
}

// Walks [p, runEnd), p being a line's start and runEnd following a line end.
template <typename OnLine>
Walked WalkLines(const char* p, const char* runEnd, OnLine& onLine) {
    StatementWalk<OnLine> walk(onLine);
    for (; static_cast<std::size_t>(runEnd - p) >= kInPlace; p += kChunk) {
        walk.template Add<false>(Masks(p), p, p, ~std::uint64_t{0});
    }
    if (p != runEnd) {
        AddLastPieces<false>(walk, p, runEnd);
    }
    return walk.Result();
}

#if TALLIX_HAVE_AVX2_PATH
template <typename OnLine>
TALLIX_TARGET_AVX2_BMI Walked WalkLinesAvx2(const char* p, const char* runEnd, OnLine& onLine) {
    StatementWalk<OnLine> walk(onLine);
    for (; static_cast<std::size_t>(runEnd - p) >= kInPlace; p += kChunk) {
        walk.template Add<true>(MasksAvx2(p), p, p, ~std::uint64_t{0});
    }
    if (p != runEnd) {
        AddLastPieces<true>(walk, p, runEnd);
    }
    return walk.Result();
}
#endif

// The walk in the build this processor runs best; both find the same.
template <typename OnLine>
Walked Walk(const char* p, const char* runEnd, OnLine& onLine, bool avx2) {
#if TALLIX_HAVE_AVX2_PATH
    if (avx2) {
        return WalkLinesAvx2(p, runEnd, onLine);
    }
#else
    (void)avx2;
#endif
    return WalkLines(p, runEnd, onLine);
}

}  // namespace tallix::statement_bits
