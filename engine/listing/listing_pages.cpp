#include "engine/listing/listing_pages.h"

namespace tallix {

std::int64_t PagesFor(std::int64_t printedLines) {
    return (printedLines + kLinesPerPage - 1) / kLinesPerPage;
}

std::vector<PageRange> DepositedPages(std::int64_t pages, bool allPages) {
    if (pages <= 0) {
        return {};
    }
    if (allPages || pages <= kDepositedPages) {
        return {{1, pages}};
    }
    const std::int64_t half = kDepositedPages / 2;
    return {{1, half}, {pages - half + 1, pages}};
}

}  // namespace tallix
