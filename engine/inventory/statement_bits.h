#pragma once

// Finding, 64 bytes at a time, the lines of a member's code that may start a statement that
// declares a procedure or an API, so that the scanner parses those lines alone, and on the
// same pass sorting the lines into the line counter's classes (line_bits.h), so that a
// member's bytes are loaded and framed into lines once. Internal to the inventory's
// scanner. With one bit per byte, as the line counter's bits have them:
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
#include <utility>

#include "engine/counting/line_bits.h"

// The AVX2 build also takes the bit instructions that come with every AVX2 processor.
#if TALLIX_HAVE_AVX2_PATH
#define TALLIX_TARGET_AVX2_BMI __attribute__((target("avx2,popcnt,bmi,bmi2")))
#endif

namespace tallix::statement_bits {

inline constexpr std::size_t kChunk = 64;

// The first three letters of every modifier and of the keywords that declare.
inline constexpr std::array<std::string_view, 21> kDeclarationStarts{
    "pub", "pri", "pro", "fri", "sta", "sha", "ove", "not", "mus", "par", "rea",
    "wri", "def", "ite", "asy", "wid", "nar", "sub", "fun", "ope", "dec"};

// One bit per byte of a 64-byte chunk.
struct ByteMasks {
    std::uint64_t cr = 0;
    std::uint64_t lf = 0;
    std::uint64_t blank = 0;  // space or tab
    std::uint64_t nul = 0;
    // What the line counter's classes need (line_bits.h): spaces alone, apostrophes, and
    // under VB6 rules the capital As that may start module attribute lines.
    std::uint64_t space = 0;
    std::uint64_t quote = 0;
    std::uint64_t capitalA = 0;
    // The AVX2 build's filter: bit j when the bytes at j - 1 and j may be the first two
    // letters of a declaration's words.
    std::uint64_t declarationPairs = 0;
};

inline ByteMasks MasksPlain(const char* p) {
    ByteMasks m;
    for (std::size_t i = 0; i < kChunk; ++i) {
        m.cr |= std::uint64_t{p[i] == '\r'} << i;
        m.lf |= std::uint64_t{p[i] == '\n'} << i;
        m.blank |= std::uint64_t{p[i] == ' ' || p[i] == '\t'} << i;
        m.nul |= std::uint64_t{p[i] == '\0'} << i;
        m.space |= std::uint64_t{p[i] == ' '} << i;
        m.quote |= std::uint64_t{p[i] == '\''} << i;
        m.capitalA |= std::uint64_t{p[i] == 'A'} << i;
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
        m.space |= bits(eq(' ')) << (16 * i);
        m.quote |= bits(eq('\'')) << (16 * i);
        m.capitalA |= bits(eq('A')) << (16 * i);
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

// The filter sorts the first two letters of the words that matter into eight buckets,
// each a set of first letters and a set of second letters; a byte's buckets come from two
// tables, by its low and by its high four bits, as in the Teddy matcher. Pairs outside the
// words pass too (any first letter of a bucket with any second of it), and the table of
// three letters settles them; no pair of a word is stopped.
struct PairBucket {
    std::string_view firsts;   // lower case
    std::string_view seconds;  // lower case; "" for any byte
};
// A bucket's sets are chosen so that the products of their four-bit halves hold few other
// letters: the lines that most often start code (Set, Next, Me., MsgBox, Dim, If, For, End)
// pass none of them.
inline constexpr std::array<PairBucket, 8> kPairBuckets{{
    {"pfm", "ur"},  // public, private, protected, property, friend, function, mustoverride
    {"pn", "ao"},   // partial, narrowing, notoverridable
    {"si", "tu"},   // static, sub, iterator
    {"sa", "hs"},   // shared, shadows, async
    {"o", "vp"},    // overloads, overrides, overridable, operator
    {"rd", "e"},    // readonly, default, declare
    {"w", "ri"},    // writeonly, widening
    {"<_", ""},     // an attribute, or a head continued before its first word
}};

struct NibbleTables {
    std::array<std::uint8_t, 16> low{};
    std::array<std::uint8_t, 16> high{};
};

constexpr NibbleTables BucketTables(bool seconds) {
    NibbleTables tables;
    for (std::size_t bucket = 0; bucket < kPairBuckets.size(); ++bucket) {
        const auto bit = static_cast<std::uint8_t>(1u << bucket);
        const std::string_view bytes =
            seconds ? kPairBuckets[bucket].seconds : kPairBuckets[bucket].firsts;
        if (bytes.empty()) {
            for (std::size_t n = 0; n < 16; ++n) {
                tables.low[n] |= bit;
                tables.high[n] |= bit;
            }
        }
        // A letter's two cases differ in the high four bits only.
        for (const char c : bytes) {
            const auto byte = static_cast<unsigned char>(c);
            const bool letter = byte >= 'a' && byte <= 'z';
            tables.low[byte & 0x0F] |= bit;
            tables.high[byte >> 4] |= bit;
            tables.high[(byte & ~0x20) >> 4] |= letter ? bit : 0;
        }
    }
    return tables;
}
inline constexpr NibbleTables kFirstTables = BucketTables(false);
inline constexpr NibbleTables kSecondTables = BucketTables(true);

// Whether the filter lets through the first two letters of every word that matters, in
// either case: it may pass more, never fewer.
constexpr bool BucketsPassEveryStart() {
    const auto passes = [](unsigned char first, unsigned char second) {
        const auto buckets = [](const NibbleTables& tables, unsigned char byte) {
            return tables.low[byte & 0x0F] & tables.high[byte >> 4];
        };
        return (buckets(kFirstTables, first) & buckets(kSecondTables, second)) != 0;
    };
    for (const std::string_view start : kDeclarationStarts) {
        const auto first = static_cast<unsigned char>(start[0]);
        const auto second = static_cast<unsigned char>(start[1]);
        const auto upper = [](unsigned char letter) {
            return static_cast<unsigned char>(letter & ~0x20);
        };
        if (!passes(first, second) || !passes(upper(first), second) ||
            !passes(first, upper(second)) || !passes(upper(first), upper(second))) {
            return false;
        }
    }
    for (unsigned second = 0; second < 256; ++second) {
        if (!passes('<', static_cast<unsigned char>(second)) ||
            !passes('_', static_cast<unsigned char>(second))) {
            return false;
        }
    }
    return true;
}
static_assert(BucketsPassEveryStart());

TALLIX_TARGET_AVX2_BMI TALLIX_ALWAYS_INLINE __m256i Table(const std::array<std::uint8_t, 16>& t) {
    return _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(t.data())));
}

// The buckets of each byte; the tables hold both cases of each letter.
TALLIX_TARGET_AVX2_BMI TALLIX_ALWAYS_INLINE __m256i Buckets(__m256i low, __m256i high,
                                                            __m256i lowTable, __m256i highTable) {
    return _mm256_and_si256(_mm256_shuffle_epi8(lowTable, low),
                            _mm256_shuffle_epi8(highTable, high));
}

// Bit j when byte j - 1 is a first letter of a bucket that byte j is a second letter of;
// `earlier` holds the buckets of the 32 bytes before.
TALLIX_TARGET_AVX2_BMI TALLIX_ALWAYS_INLINE std::uint64_t PairBits(__m256i firsts, __m256i earlier,
                                                                   __m256i seconds) {
    const __m256i carried = _mm256_permute2x128_si256(earlier, firsts, 0x21);
    const __m256i before = _mm256_alignr_epi8(firsts, carried, 15);
    const __m256i none =
        _mm256_cmpeq_epi8(_mm256_and_si256(before, seconds), _mm256_setzero_si256());
    return ~std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(none))} & 0xFFFFFFFF;
}

// The masks of a chunk but NUL's, and its pair filter; `earlier` carries the first-letter
// buckets of the last 32 bytes from one chunk to the next, `nul` gathers the NUL bytes of
// every chunk, which the walk looks for only when there are some. Capital As matter only
// under VB6 rules.
template <bool kVb6>
TALLIX_TARGET_AVX2_BMI TALLIX_ALWAYS_INLINE ByteMasks MasksAvx2(const char* p, __m256i& earlier,
                                                                __m256i& nul) {
    const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32));
    const __m256i zero = _mm256_setzero_si256();
    nul = _mm256_or_si256(
        nul, _mm256_or_si256(_mm256_cmpeq_epi8(low, zero), _mm256_cmpeq_epi8(high, zero)));
    ByteMasks m;
    m.cr = EqualAvx2(low, high, '\r');
    m.lf = EqualAvx2(low, high, '\n');
    const __m256i space = _mm256_set1_epi8(' ');
    const __m256i tab = _mm256_set1_epi8('\t');
    const __m256i spaceLow = _mm256_cmpeq_epi8(low, space);
    const __m256i spaceHigh = _mm256_cmpeq_epi8(high, space);
    m.space = BitsAvx2(spaceLow, spaceHigh);
    m.blank = BitsAvx2(_mm256_or_si256(spaceLow, _mm256_cmpeq_epi8(low, tab)),
                       _mm256_or_si256(spaceHigh, _mm256_cmpeq_epi8(high, tab)));
    m.quote = EqualAvx2(low, high, '\'');
    if constexpr (kVb6) {
        m.capitalA = EqualAvx2(low, high, 'A');
    }
    const __m256i nibble = _mm256_set1_epi8(0x0F);
    const __m256i lowLow = _mm256_and_si256(low, nibble);
    const __m256i lowHigh = _mm256_and_si256(_mm256_srli_epi16(low, 4), nibble);
    const __m256i highLow = _mm256_and_si256(high, nibble);
    const __m256i highHigh = _mm256_and_si256(_mm256_srli_epi16(high, 4), nibble);
    const __m256i firstLow = Table(kFirstTables.low), firstHigh = Table(kFirstTables.high);
    const __m256i secondLow = Table(kSecondTables.low), secondHigh = Table(kSecondTables.high);
    const __m256i firstsLow = Buckets(lowLow, lowHigh, firstLow, firstHigh);
    const __m256i firstsHigh = Buckets(highLow, highHigh, firstLow, firstHigh);
    m.declarationPairs =
        PairBits(firstsLow, earlier, Buckets(lowLow, lowHigh, secondLow, secondHigh)) |
        PairBits(firstsHigh, firstsLow, Buckets(highLow, highHigh, secondLow, secondHigh)) << 32;
    earlier = firstsHigh;
    return m;
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
    for (const std::string_view prefix : kDeclarationStarts) {
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

// The same for the line whose first character is at q, its second before runEnd.
inline bool MayDeclare(const char* q, const char* runEnd) {
    const char third = q + 2 < runEnd ? q[2] : '\0';
    return MayDeclare(static_cast<unsigned char>(q[0]) |
                      std::uint32_t{static_cast<unsigned char>(q[1])} << 8 |
                      std::uint32_t{static_cast<unsigned char>(third)} << 16) != 0;
}

// What a walk over a run of code found besides its statements: its lines, and their classes
// as the line counter has them.
struct Walked {
    std::int64_t lines = 0;    // the run's lines
    std::int64_t nulLine = 0;  // the line, counted from 1 at the walk's start, of a NUL; 0: none
    std::int64_t blanks = 0;
    std::int64_t comments = 0;
    std::int64_t attributes = 0;  // VB6 module attribute lines, which are not counted
};

// A chunk with lines that may matter, kept for after the walk: handing them on from inside
// it would cost a branch the processor mispredicts in every chunk that has one.
struct ChunkHits {
    const char* chunk;
    std::uint64_t hits;    // the first characters of the lines that may matter
    std::uint64_t starts;  // the byte after each line end, and the first byte of the run
    std::uint64_t ends;
    std::int64_t linesBefore;  // the walk's lines before the chunk
};

// The bytes walked before the lines they kept are handed on: while they are still in the
// nearest cache.
inline constexpr std::size_t kBatchChunks = 64;

// Walks the complete lines of a run, chunk by chunk, and keeps the chunks that hold lines
// that may start a statement that declares, batch by batch; classifies the lines as the
// line counter does on the way, from the same bits. `kept` has room for a batch's chunks.
class StatementWalk {
public:
    StatementWalk(ChunkHits* kept, const char* runEnd) : kept_(kept), runEnd_(runEnd) {}

    // Takes the masks of the chunk at `chunk`, whose bytes may be read at `bytes` up to three
    // past the chunk; the bytes `valid` marks belong to the run. With kPairFilter the
    // masks' pair filter picks the lines, and what is kept is their second bytes: the
    // tests come after the walk.
    template <bool kVb6, bool kHardware, bool kPairFilter>
    TALLIX_ALWAYS_INLINE void Add(ByteMasks m, const char* chunk, const char* bytes,
                                  std::uint64_t valid) {
        nul_ |= m.nul & valid;
        const line_bits::LineFrames frames = framing_.Next(m.cr & valid, m.lf & valid);
        const std::uint64_t ends = frames.ends;
        const std::uint64_t starts = frames.starts;
        classes_.Add<kVb6, kHardware>(frames, m.space & valid, m.quote & valid, m.capitalA & valid,
                                      chunk, runEnd_);
        const std::uint64_t skip = (m.blank & valid) | frames.pairs;
        const std::uint64_t sum = skip + starts;
        const std::uint64_t first = (sum + firstCarry_) & ~skip & ~ends & valid;
        firstCarry_ = (sum < skip) | (sum + firstCarry_ < sum);
        std::uint64_t hits;
        if constexpr (kPairFilter) {
            hits = ((first << 1) | firstTop_) & m.declarationPairs & valid;
            firstTop_ = first >> 63;
        } else {
            // Most chunks hold one or two lines: those two are tested without a branch.
            std::uint64_t candidates = first;
            hits = Test(candidates, bytes);
            candidates &= candidates - 1;
            hits |= Test(candidates, bytes);
            for (candidates &= candidates - 1; candidates != 0; candidates &= candidates - 1) {
                hits |= Test(candidates, bytes);
            }
        }
        // Written whatever the hits; kept, by counting it, only when there are some.
        kept_[count_] = {chunk, hits, starts, ends, walked_.lines};
        count_ += hits != 0 ? 1 : 0;
        if (nul_ != 0 && walked_.nulLine == 0) [[unlikely]] {
            const std::uint64_t before = (std::uint64_t{1} << std::countr_zero(nul_)) - 1;
            walked_.nulLine = walked_.lines + line_bits::PopCount<kHardware>(ends & before) + 1;
        }
        nul_ = 0;
        walked_.lines += line_bits::PopCount<kHardware>(ends);
    }

    Walked Result() const {
        Walked walked = walked_;
        walked.blanks = classes_.Blanks();
        walked.comments = classes_.Comments();
        walked.attributes = classes_.Attributes();
        return walked;
    }
    // How many chunks the batch kept; the next batch is kept from the start again.
    std::size_t TakeKept() { return std::exchange(count_, 0); }
    // Where the first NUL is, when the chunks did not say.
    void SetNulLine(std::int64_t line) { walked_.nulLine = line; }

private:
    // The lowest candidate's bit when its line may matter; 0 for none.
    TALLIX_ALWAYS_INLINE static std::uint64_t Test(std::uint64_t candidates, const char* bytes) {
        const int at = std::countr_zero(candidates | std::uint64_t{1} << 63);
        std::uint32_t word;
        std::memcpy(&word, bytes + at, sizeof word);
        return MayDeclare(word) << at & candidates;
    }

    ChunkHits* kept_;
    const char* runEnd_;
    std::size_t count_ = 0;
    line_bits::LineFraming framing_;
    line_bits::LineClasses classes_;
    std::uint64_t firstTop_ = 0;  // the last chunk's first character at its last byte
    std::uint64_t firstCarry_ = 0;
    std::uint64_t nul_ = 0;
    Walked walked_;
};

// Chunks are read in place while four bytes past them still belong to the run, for the
// table's look at three; the last piece is read from a padded copy.
inline constexpr std::size_t kInPlace = kChunk + 3;

template <bool kVb6, bool kHardware>
TALLIX_ALWAYS_INLINE void AddLastPieces(StatementWalk& walk, const char* p, const char* runEnd) {
    char padded[2 * kChunk + 4] = {};
    const auto size = static_cast<std::size_t>(runEnd - p);
    std::memcpy(padded, p, size);
    for (std::size_t at = 0; at < size; at += kChunk) {
        const std::size_t here = std::min(kChunk, size - at);
        const std::uint64_t valid =
            here == kChunk ? ~std::uint64_t{0} : (std::uint64_t{1} << here) - 1;
        walk.template Add<kVb6, kHardware, false>(Masks(padded + at), p + at, padded + at, valid);
    }
}

// The walks work on a copy of their state, which the compiler keeps in registers: stores
// into the kept chunks might otherwise change it for all the compiler knows. handOn(n)
// takes the n chunks each batch kept.
template <bool kVb6, typename HandOn>
void WalkChunks(StatementWalk& state, const char* p, const char* runEnd, HandOn& handOn) {
    StatementWalk walk = state;
    while (static_cast<std::size_t>(runEnd - p) >= kInPlace) {
        for (std::size_t n = 0;
             n < kBatchChunks && static_cast<std::size_t>(runEnd - p) >= kInPlace;
             ++n, p += kChunk) {
            walk.template Add<kVb6, false, false>(Masks(p), p, p, ~std::uint64_t{0});
        }
        handOn(walk.TakeKept());
    }
    if (p != runEnd) {
        AddLastPieces<kVb6, false>(walk, p, runEnd);
        handOn(walk.TakeKept());
    }
    state = walk;
}

// The line of [p, runEnd), counted from 1, that holds its first NUL, or 0.
inline std::int64_t NulLine(const char* p, const char* runEnd) {
    const void* nul = std::memchr(p, '\0', static_cast<std::size_t>(runEnd - p));
    if (nul == nullptr) {
        return 0;
    }
    std::int64_t lines = 1;
    for (const char* q = p; q != static_cast<const char*>(nul); ++q) {
        lines += *q == '\r' || (*q == '\n' && (q == p || q[-1] != '\r')) ? 1 : 0;
    }
    return lines;
}

#if TALLIX_HAVE_AVX2_PATH
// Returns whether a chunk read in place holds a NUL; the last piece's are in the walk.
template <bool kVb6, typename HandOn>
TALLIX_TARGET_AVX2_BMI bool WalkChunksAvx2(StatementWalk& state, const char* p, const char* runEnd,
                                           HandOn& handOn) {
    StatementWalk walk = state;
    __m256i earlier = _mm256_setzero_si256();
    __m256i nul = _mm256_setzero_si256();
    while (static_cast<std::size_t>(runEnd - p) >= kChunk) {
        for (std::size_t n = 0; n < kBatchChunks && static_cast<std::size_t>(runEnd - p) >= kChunk;
             ++n, p += kChunk) {
            walk.template Add<kVb6, true, true>(MasksAvx2<kVb6>(p, earlier, nul), p, p,
                                                ~std::uint64_t{0});
        }
        handOn(walk.TakeKept());
    }
    const bool nulSeen = !_mm256_testz_si256(nul, nul);
    if (p != runEnd) {
        char padded[kChunk] = {};
        const auto size = static_cast<std::size_t>(runEnd - p);
        std::memcpy(padded, p, size);
        ByteMasks m = MasksAvx2<kVb6>(padded, earlier, nul);
        for (std::size_t i = 0; i < size; ++i) {
            m.nul |= std::uint64_t{padded[i] == '\0'} << i;
        }
        walk.template Add<kVb6, true, true>(m, p, padded, (std::uint64_t{1} << size) - 1);
        handOn(walk.TakeKept());
    }
    state = walk;
    return nulSeen;
}
#endif

// Hands each line of the kept chunks that may start a statement that declares to onLine.
// With the pair filter the chunks hold the lines' second bytes, which the table's test of
// three settles; the portable walk has settled their first bytes already.
template <typename OnLine>
void HandOnLines(const ChunkHits* kept, std::size_t count, const char* runEnd, bool pairFilter,
                 OnLine& onLine) {
    const int back = pairFilter ? 1 : 0;
    for (std::size_t i = 0; i < count; ++i) {
        for (std::uint64_t hits = kept[i].hits; hits != 0; hits &= hits - 1) {
            const int marked = std::countr_zero(hits);
            const char* first = kept[i].chunk + marked - back;
            if (back != 0 && !MayDeclare(first, runEnd)) {
                continue;
            }
            const std::uint64_t before = (std::uint64_t{1} << marked) - 1;
            // Where the line starts and ends, when the chunk holds them: the byte after the
            // end before it (the LF of a CR LF, or the line's first byte), and its own end.
            const std::uint64_t start =
                kept[i].starts & (back != 0 ? before : before | std::uint64_t{1} << marked);
            const std::uint64_t after = kept[i].ends & ~before;
            onLine(first, start != 0 ? kept[i].chunk + (63 - std::countl_zero(start)) : nullptr,
                   after != 0 ? kept[i].chunk + std::countr_zero(after) : nullptr,
                   kept[i].linesBefore + line_bits::PopCountPortable(kept[i].ends & before));
        }
    }
}

// Walks [p, runEnd), p being a line's start and runEnd following a line end, in the build
// this processor runs best (both find the same), and hands each line that may start a
// statement that declares to onLine(first, start, end, line), in order: its first
// character; the byte after the line end before it and its own end byte, when the walk has
// found them (else nullptr); and its line, counted from 0 at p. The handler may read on
// through the lines that the statement continues in; the walk hands those on too when they
// may matter.
template <bool kVb6, typename OnLine>
Walked Walk(const char* p, const char* runEnd, OnLine& onLine, bool avx2) {
    std::array<ChunkHits, kBatchChunks + 2> kept;
    StatementWalk walk(kept.data(), runEnd);
    const bool pairFilter = avx2 && TALLIX_HAVE_AVX2_PATH;
    const auto handOn = [&](std::size_t count) {
        HandOnLines(kept.data(), count, runEnd, pairFilter, onLine);
    };
#if TALLIX_HAVE_AVX2_PATH
    if (avx2) {
        if (WalkChunksAvx2<kVb6>(walk, p, runEnd, handOn)) {
            walk.SetNulLine(NulLine(p, runEnd));
        }
    } else {
        WalkChunks<kVb6>(walk, p, runEnd, handOn);
    }
#else
    WalkChunks<kVb6>(walk, p, runEnd, handOn);
#endif
    return walk.Result();
}

}  // namespace tallix::statement_bits
