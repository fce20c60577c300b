#pragma once

#include <cstddef>
#include <string>

namespace tallix {

// Chunks of 64 bytes in which every byte value stands at every position of a chunk once:
// for the bit-parallel masks, whose builds must agree on every byte wherever it stands.
inline std::string ChunksOfEveryByteAtEveryPosition() {
    constexpr std::size_t kChunk = 64;
    std::string chunks(256 * kChunk, '\0');
    for (std::size_t value = 0; value < 256; ++value) {
        for (std::size_t at = 0; at < kChunk; ++at) {
            // 7 is odd, so for each position the chunks run through all 256 values.
            chunks[value * kChunk + at] = static_cast<char>((value + 7 * at) % 256);
        }
    }
    return chunks;
}

}  // namespace tallix
