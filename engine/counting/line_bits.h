#pragma once

// Bit-parallel classification of complete lines, 64 bytes at a time. Internal to the line
// counter. With one bit per byte of a run of complete lines:
//
//   ends   = every CR, and every LF that does not follow a CR: one per line
//   pairs  = every LF that follows a CR, the second half of a CR LF
//   starts = the byte after each end: a line's first byte, or its CR LF's LF
//   skip   = spaces and pairs: what may stand between a start and a line's first character
//   first  = (skip + starts) & ~skip
//
// The carry of each start runs through the skippable bytes after it and stops at the first
// other byte, so `first` marks one byte per line: its end when the line is blank, an
// apostrophe when it is a comment. Counting bits then classifies every line at once, with
// no branch that depends on the text.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

// The chunk loops below only pay off when everything they call is inlined into them, the
// AVX2 loop in particular: compiled apart, its helpers would lose the AVX2 and
// population-count instructions.
#if defined(__GNUC__) || defined(__clang__)
#define TALLIX_ALWAYS_INLINE inline __attribute__((always_inline))
#else
#define TALLIX_ALWAYS_INLINE inline
#endif

// A build for x86 with GCC or Clang also carries an AVX2 version, chosen at run time.
#if (defined(__GNUC__) || defined(__clang__)) && (defined(__x86_64__) || defined(__i386__))
#define TALLIX_HAVE_AVX2_PATH 1
#include <immintrin.h>
#define TALLIX_TARGET_AVX2 __attribute__((target("avx2,popcnt")))
#else
#define TALLIX_HAVE_AVX2_PATH 0
#endif

namespace tallix::line_bits {

inline constexpr std::size_t kChunk = 64;

// One bit per byte of a 64-byte chunk, bit i for p[i].
struct ByteMasks {
    std::uint64_t cr = 0;
    std::uint64_t lf = 0;
    std::uint64_t space = 0;
    std::uint64_t quote = 0;
    std::uint64_t capitalA = 0;  // where "Attribute VB_" lines may start
};

inline ByteMasks MasksPlain(const char* p) {
    ByteMasks m;
    for (std::size_t i = 0; i < kChunk; ++i) {
        m.cr |= std::uint64_t{p[i] == '\r'} << i;
        m.lf |= std::uint64_t{p[i] == '\n'} << i;
        m.space |= std::uint64_t{p[i] == ' '} << i;
        m.quote |= std::uint64_t{p[i] == '\''} << i;
        m.capitalA |= std::uint64_t{p[i] == 'A'} << i;
    }
    return m;
}

#ifdef __SSE2__
TALLIX_ALWAYS_INLINE ByteMasks MasksSse2(const char* p) {
    const auto load = [p](int i) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
    };
    const __m128i b0 = load(0), b1 = load(1), b2 = load(2), b3 = load(3);
    const auto mask = [&](char c) {
        const __m128i wanted = _mm_set1_epi8(c);
        const auto bits = [wanted](__m128i bytes) {
            return std::uint64_t{
                static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, wanted)))};
        };
        return bits(b0) | bits(b1) << 16 | bits(b2) << 32 | bits(b3) << 48;
    };
    return {mask('\r'), mask('\n'), mask(' '), mask('\''), mask('A')};
}
#endif

#if TALLIX_HAVE_AVX2_PATH
TALLIX_TARGET_AVX2 TALLIX_ALWAYS_INLINE std::uint64_t MaskAvx2(__m256i low, __m256i high, char c) {
    const __m256i wanted = _mm256_set1_epi8(c);
    const auto lowBits =
        static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(low, wanted)));
    const auto highBits =
        static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(high, wanted)));
    return std::uint64_t{lowBits} | std::uint64_t{highBits} << 32;
}

TALLIX_TARGET_AVX2 TALLIX_ALWAYS_INLINE ByteMasks MasksAvx2(const char* p) {
    const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32));
    return {MaskAvx2(low, high, '\r'), MaskAvx2(low, high, '\n'), MaskAvx2(low, high, ' '),
            MaskAvx2(low, high, '\''), MaskAvx2(low, high, 'A')};
}

inline bool HasAvx2() {
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt");
}
#endif

TALLIX_ALWAYS_INLINE ByteMasks Masks(const char* p) {
#ifdef __SSE2__
    return MasksSse2(p);
#else
    return MasksPlain(p);
#endif
}

// The population count without the instruction, which the baseline x86-64 lacks and which
// the compiler would otherwise turn into a library call.
TALLIX_ALWAYS_INLINE int PopCountPortable(std::uint64_t x) {
    x = x - ((x >> 1) & 0x5555555555555555);
    x = (x & 0x3333333333333333) + ((x >> 2) & 0x3333333333333333);
    x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0F;
    return static_cast<int>((x * 0x0101010101010101) >> 56);
}

template <bool kHardware>
TALLIX_ALWAYS_INLINE int PopCount(std::uint64_t x) {
    if constexpr (kHardware) {
        return std::popcount(x);
    } else {
        return PopCountPortable(x);
    }
}

// Where the lines of a chunk begin and end, from its CR and LF bits.
struct LineFrames {
    std::uint64_t ends = 0;
    std::uint64_t pairs = 0;
    std::uint64_t starts = 0;
};

// Frames chunk after chunk of a run that starts with a line's first byte (never the LF of
// a CR LF), carrying what a chunk's last byte tells the next.
class LineFraming {
public:
    TALLIX_ALWAYS_INLINE LineFrames Next(std::uint64_t cr, std::uint64_t lf) {
        const std::uint64_t crBefore = (cr << 1) | crCarry_;
        crCarry_ = cr >> 63;
        LineFrames frames;
        frames.pairs = lf & crBefore;
        frames.ends = cr | (lf & ~crBefore);
        frames.starts = (frames.ends << 1) | startCarry_;
        startCarry_ = frames.ends >> 63;
        return frames;
    }

private:
    std::uint64_t crCarry_ = 0;
    std::uint64_t startCarry_ = 1;  // the run starts with a line
};

// Sorts the framed lines of a run into blank and comment lines, and under VB6 rules finds
// the module attribute lines, which the counter leaves out; all other lines are code.
class LineClasses {
public:
    // `chunk` is where the bits were taken and `runEnd` the end of the run, for the few
    // lines that need a second look. kHardware says the caller was compiled to use the
    // population count instruction.
    template <bool kVb6, bool kHardware>
    TALLIX_ALWAYS_INLINE void Add(const LineFrames& frames, std::uint64_t space,
                                  std::uint64_t quote, std::uint64_t capitalA, const char* chunk,
                                  const char* runEnd) {
        const std::uint64_t skip = space | frames.pairs;
        const std::uint64_t sum = skip + frames.starts;
        const std::uint64_t first = (sum + firstCarry_) & ~skip;
        firstCarry_ = (sum < skip) | (sum + firstCarry_ < sum);
        blanks_ += PopCount<kHardware>(first & frames.ends);
        comments_ += PopCount<kHardware>(first & quote);
        if constexpr (kVb6) {
            // Module attribute lines start in the first column with "A". Such lines are
            // rare, so is the loop.
            const std::uint64_t lineStarts =
                (frames.starts & ~frames.pairs) | (frames.pairs << 1) | pairCarry_;
            pairCarry_ = frames.pairs >> 63;
            for (std::uint64_t a = lineStarts & capitalA; a != 0; a &= a - 1) {
                const char* line = chunk + std::countr_zero(a);
                const std::string_view text(line, static_cast<std::size_t>(runEnd - line));
                attributes_ += text.starts_with("Attribute VB_") ? 1 : 0;
            }
        }
    }

    std::int64_t Blanks() const { return blanks_; }
    std::int64_t Comments() const { return comments_; }
    std::int64_t Attributes() const { return attributes_; }

private:
    std::uint64_t pairCarry_ = 0;
    std::uint64_t firstCarry_ = 0;
    std::int64_t blanks_ = 0;
    std::int64_t comments_ = 0;
    std::int64_t attributes_ = 0;
};

// Classifies the complete lines of a run of chunks, fed in order. The first chunk starts
// with a line's first byte (never the LF of a CR LF).
class LineBits {
public:
    template <bool kVb6, bool kHardware>
    TALLIX_ALWAYS_INLINE void Add(const ByteMasks& m, const char* chunk, const char* runEnd) {
        const LineFrames frames = framing_.Next(m.cr, m.lf);
        ends_ += PopCount<kHardware>(frames.ends);
        classes_.Add<kVb6, kHardware>(frames, m.space, m.quote, m.capitalA, chunk, runEnd);
    }

    // The lines counted: module attribute lines are not.
    std::int64_t Lines() const { return ends_ - classes_.Attributes(); }
    std::int64_t Blanks() const { return classes_.Blanks(); }
    std::int64_t Comments() const { return classes_.Comments(); }

private:
    LineFraming framing_;
    LineClasses classes_;
    std::int64_t ends_ = 0;
};

// Feeds the whole chunks of [p, end) to `bits` and returns where the rest begins.
template <bool kVb6>
const char* AddChunks(const char* p, const char* end, const char* runEnd, LineBits& bits) {
    for (; static_cast<std::size_t>(end - p) >= kChunk; p += kChunk) {
        bits.Add<kVb6, false>(Masks(p), p, runEnd);
    }
    return p;
}

#if TALLIX_HAVE_AVX2_PATH
template <bool kVb6>
TALLIX_TARGET_AVX2 const char* AddChunksAvx2(const char* p, const char* end, const char* runEnd,
                                             LineBits& bits) {
    for (; static_cast<std::size_t>(end - p) >= kChunk; p += kChunk) {
        bits.Add<kVb6, true>(MasksAvx2(p), p, runEnd);
    }
    return p;
}
#endif

// Whether this processor runs the AVX2 build.
inline bool PreferAvx2() {
#if TALLIX_HAVE_AVX2_PATH
    return HasAvx2();
#else
    return false;
#endif
}

// Classifies the complete lines of [p, runEnd): p starts a line and runEnd follows a line
// end. `avx2` chooses that build where there is one; both give the same counts.
template <bool kVb6>
LineBits ClassifyRun(const char* p, const char* runEnd, bool avx2 = PreferAvx2()) {
    LineBits bits;
#if TALLIX_HAVE_AVX2_PATH
    p = avx2 ? AddChunksAvx2<kVb6>(p, runEnd, runEnd, bits)
             : AddChunks<kVb6>(p, runEnd, runEnd, bits);
#else
    (void)avx2;
    p = AddChunks<kVb6>(p, runEnd, runEnd, bits);
#endif
    if (p != runEnd) {
        // The last piece, padded with bytes of no class.
        char padded[kChunk] = {};
        std::memcpy(padded, p, static_cast<std::size_t>(runEnd - p));
        bits.Add<kVb6, false>(Masks(padded), p, runEnd);
    }
    return bits;
}

}  // namespace tallix::line_bits
