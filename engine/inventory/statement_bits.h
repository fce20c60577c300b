#pragma once

// Finding, 64 bytes at a time, the next statement of a member's code that may declare a
// procedure or an API, so that the scanner parses those statements alone. Internal to the
// inventory's scanner. With one bit per byte, as the line counter's bits have them (see
// engine/counting/line_bits.h):
//
//   ends       = every CR, and every LF that does not follow a CR: one per line
//   pairs      = every LF that follows a CR
//   continued  = ends after "_" after a blank: lines that go on in the next one
//   starts     = the byte after each end that is not continued: where statements start
//   skip       = blanks (space, tab) and pairs
//   first      = (skip + starts) & ~skip: each statement's first character
//
// A statement matters when its first three characters, in any letter case, begin a
// modifier, Sub, Function, Property, Operator or Declare, or when it starts with "<" (an
// attribute): a table of 2^15 bits tells, and anything else, most lines, is passed over
// without a branch of its own. Lines ending in blanks, and VB.NET lines that may be
// comments continued, are few and are looked at one by one.

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "engine/counting/line_bits.h"

namespace tallix::statement_bits {

inline constexpr std::size_t kChunk = 64;

// One bit per byte of a 64-byte chunk.
struct ByteMasks {
    std::uint64_t cr = 0;
    std::uint64_t lf = 0;
    std::uint64_t blank = 0;  // space or tab
    std::uint64_t under = 0;  // "_"
    std::uint64_t nul = 0;
};

inline ByteMasks MasksPlain(const char* p) {
    ByteMasks m;
    for (std::size_t i = 0; i < kChunk; ++i) {
        m.cr |= std::uint64_t{p[i] == '\r'} << i;
        m.lf |= std::uint64_t{p[i] == '\n'} << i;
        m.blank |= std::uint64_t{p[i] == ' ' || p[i] == '\t'} << i;
        m.under |= std::uint64_t{p[i] == '_'} << i;
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
        m.under |= bits(eq('_')) << (16 * i);
        m.nul |= bits(eq('\0')) << (16 * i);
    }
    return m;
}
#endif

#if TALLIX_HAVE_AVX2_PATH
TALLIX_TARGET_AVX2 TALLIX_ALWAYS_INLINE ByteMasks MasksAvx2(const char* p) {
    using line_bits::MaskAvx2;
    const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32));
    return {MaskAvx2(low, high, '\r'), MaskAvx2(low, high, '\n'),
            MaskAvx2(low, high, ' ') | MaskAvx2(low, high, '\t'), MaskAvx2(low, high, '_'),
            MaskAvx2(low, high, '\0')};
}
#endif

TALLIX_ALWAYS_INLINE ByteMasks Masks(const char* p) {
#ifdef __SSE2__
    return MasksSse2(p);
#else
    return MasksPlain(p);
#endif
}

// The index of three characters in the table: five bits of each, letters in either case
// alike. Other characters share indexes with letters, which only sends a few more
// statements to be parsed.
constexpr std::uint32_t PrefixIndex(char a, char b, char c) {
    const auto five = [](char x) { return static_cast<std::uint32_t>((x | 0x20) & 0x1F); };
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

// What a walk over a run of code found besides its statements.
struct Walked {
    std::int64_t lines = 0;    // the run's lines
    bool continued = false;    // its last line ended in " _"
    std::int64_t nulLine = 0;  // the line, counted from 1 at the walk's start, of a NUL; 0: none
};

// Walks the complete lines of a run from a statement's start, chunk by chunk, and hands
// each statement that may declare to onStatement(first, line): its first character and its
// line, counted from 0 at the walk's start. `resolve(lineEnd)` tells, for a line end the
// bits cannot settle, whether its line is continued; the handler may read on through the
// statement's continued lines, which the walk passes over.
template <typename Resolve, typename OnStatement>
class StatementWalk {
public:
    StatementWalk(const char* runEnd, Resolve& resolve, OnStatement& onStatement)
        : runEnd_(runEnd), resolve_(resolve), onStatement_(onStatement) {}

    // Takes the masks of the chunk at `chunk`, of which the bytes `valid` marks belong to the
    // run.
    template <bool kVbNet, bool kHardware>
    TALLIX_ALWAYS_INLINE void Add(ByteMasks m, const char* chunk, std::uint64_t valid) {
        m.cr &= valid;
        m.lf &= valid;
        m.blank &= valid;
        m.under &= valid;
        m.nul &= valid;
        const std::uint64_t crBefore = (m.cr << 1) | crCarry_;
        crCarry_ = m.cr >> 63;
        const std::uint64_t pairs = m.lf & crBefore;
        const std::uint64_t ends = m.cr | (m.lf & ~crBefore);
        const std::uint64_t skip = m.blank | pairs;
        const std::uint64_t underBefore = (m.under << 1) | (lastUnder_ >> 63);
        const std::uint64_t blankBefore = (m.blank << 1) | (lastBlank_ >> 63);
        const std::uint64_t blankTwoBefore = (m.blank << 2) | (lastBlank_ >> 62);
        lastUnder_ = m.under;
        lastBlank_ = m.blank;
        std::uint64_t continued = ends & underBefore & blankTwoBefore;
        // Lines that end in blanks may still end in " _", and a VB.NET comment goes on in
        // no other line: those few are looked at one by one.
        std::uint64_t unsure = ends & blankBefore;
        if constexpr (kVbNet) {
            unsure |= continued;
        }
        continued &= ~unsure;
        for (; unsure != 0; unsure &= unsure - 1) {
            const int at = std::countr_zero(unsure);
            continued |= std::uint64_t{resolve_(chunk + at)} << at;
        }
        const std::uint64_t statementEnds = ends & ~continued;
        const std::uint64_t starts = (statementEnds << 1) | startCarry_;
        startCarry_ = statementEnds >> 63;
        const std::uint64_t sum = skip + starts;
        const std::uint64_t first = (sum + firstCarry_) & ~skip;
        firstCarry_ = (sum < skip) | (sum + firstCarry_ < sum);
        // Most chunks hold one or two statements: those two are tested without a branch.
        std::uint64_t candidates = first & ~ends & valid;
        std::uint64_t hits = Test(candidates, chunk);
        candidates &= candidates - 1;
        hits |= Test(candidates, chunk);
        for (candidates &= candidates - 1; candidates != 0; candidates &= candidates - 1) {
            hits |= Test(candidates, chunk);
        }
        if (m.nul != 0 && walked_.nulLine == 0) {
            walked_.nulLine =
                walked_.lines + LinesBefore<kHardware>(ends, std::countr_zero(m.nul)) + 1;
        }
        for (; hits != 0; hits &= hits - 1) {
            const int at = std::countr_zero(hits);
            onStatement_(chunk + at, walked_.lines + LinesBefore<kHardware>(ends, at));
        }
        walked_.lines += Count<kHardware>(ends);
        if (ends != 0) {
            walked_.continued = (continued >> (63 - std::countl_zero(ends))) & 1;
        }
    }

    const Walked& Result() const { return walked_; }

private:
    // The lowest candidate's bit when its statement may declare; 0 for none. Reads stay
    // inside the run: a word cut short by the run's end is a line of one character at most,
    // no keyword whatever the table says.
    TALLIX_ALWAYS_INLINE std::uint64_t Test(std::uint64_t candidates, const char* chunk) const {
        const int at = std::countr_zero(candidates | std::uint64_t{1} << 63);
        const char* last = runEnd_ - 1;
        const char* q = std::min(chunk + at, last);
        const std::uint32_t index = PrefixIndex(*q, *std::min(q + 1, last), *std::min(q + 2, last));
        return ((kDeclarationPrefixes[index >> 6] >> (index & 63)) & 1) << at & candidates;
    }

    template <bool kHardware>
    TALLIX_ALWAYS_INLINE static std::int64_t Count(std::uint64_t x) {
        if constexpr (kHardware) {
            return std::popcount(x);
        } else {
            return line_bits::PopCountPortable(x);
        }
    }

    template <bool kHardware>
    TALLIX_ALWAYS_INLINE static std::int64_t LinesBefore(std::uint64_t ends, int at) {
        return Count<kHardware>(ends & ((std::uint64_t{1} << at) - 1));
    }

    const char* runEnd_;
    Resolve& resolve_;
    OnStatement& onStatement_;
    std::uint64_t crCarry_ = 0;
    std::uint64_t lastUnder_ = 0;
    std::uint64_t lastBlank_ = 0;
    std::uint64_t startCarry_ = 1;  // the walk starts with a statement
    std::uint64_t firstCarry_ = 0;
    Walked walked_;
};

// The last piece of a run, shorter than a chunk, padded.
template <bool kVbNet, bool kHardware, typename Walk>
TALLIX_ALWAYS_INLINE void AddLastPiece(Walk& walk, const char* p, const char* runEnd) {
    char padded[kChunk] = {};
    const auto size = static_cast<std::size_t>(runEnd - p);
    std::memcpy(padded, p, size);
    walk.template Add<kVbNet, kHardware>(Masks(padded), p, (std::uint64_t{1} << size) - 1);
}

// Walks [p, runEnd), p being a statement's start and runEnd following a line end.
template <bool kVbNet, typename Resolve, typename OnStatement>
Walked WalkStatements(const char* p, const char* runEnd, Resolve& resolve,
                      OnStatement& onStatement) {
    StatementWalk<Resolve, OnStatement> walk(runEnd, resolve, onStatement);
    for (; static_cast<std::size_t>(runEnd - p) >= kChunk; p += kChunk) {
        walk.template Add<kVbNet, false>(Masks(p), p, ~std::uint64_t{0});
    }
    if (p != runEnd) {
        AddLastPiece<kVbNet, false>(walk, p, runEnd);
    }
    return walk.Result();
}

#if TALLIX_HAVE_AVX2_PATH
template <bool kVbNet, typename Resolve, typename OnStatement>
TALLIX_TARGET_AVX2 Walked WalkStatementsAvx2(const char* p, const char* runEnd, Resolve& resolve,
                                             OnStatement& onStatement) {
    StatementWalk<Resolve, OnStatement> walk(runEnd, resolve, onStatement);
    for (; static_cast<std::size_t>(runEnd - p) >= kChunk; p += kChunk) {
        walk.template Add<kVbNet, true>(MasksAvx2(p), p, ~std::uint64_t{0});
    }
    if (p != runEnd) {
        AddLastPiece<kVbNet, true>(walk, p, runEnd);
    }
    return walk.Result();
}
#endif

// The walk in the build this processor runs best; both find the same.
template <bool kVbNet, typename Resolve, typename OnStatement>
Walked Walk(const char* p, const char* runEnd, Resolve& resolve, OnStatement& onStatement,
            bool avx2) {
#if TALLIX_HAVE_AVX2_PATH
    if (avx2) {
        return WalkStatementsAvx2<kVbNet>(p, runEnd, resolve, onStatement);
    }
#else
    (void)avx2;
#endif
    return WalkStatements<kVbNet>(p, runEnd, resolve, onStatement);
}

}  // namespace tallix::statement_bits
