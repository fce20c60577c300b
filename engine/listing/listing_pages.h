#pragma once

#include <cstdint>
#include <vector>

namespace tallix {

// Every page of a listing holds this many printed lines but the last, which holds the rest.
inline constexpr int kLinesPerPage = 50;
// A listing of more pages than this is deposited as its first and its last half of it.
inline constexpr std::int64_t kDepositedPages = 60;

// The pages a listing of this many printed lines takes; none for none.
std::int64_t PagesFor(std::int64_t printedLines);

// Pages of the listing, from first to last, numbered from 1.
struct PageRange {
    std::int64_t first = 0;
    std::int64_t last = 0;

    std::int64_t Count() const { return last - first + 1; }
    friend bool operator==(const PageRange&, const PageRange&) = default;
};

// The pages deposited of a listing: all of them when they are kDepositedPages or fewer, or
// when `allPages` asks for all; otherwise the first 30 and the last 30. None of an empty
// listing.
std::vector<PageRange> DepositedPages(std::int64_t pages, bool allPages);

}  // namespace tallix
