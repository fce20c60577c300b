#pragma once

// A listing of a program's source: the lines its members list (counted_lines.h), printed on
// pages of kLinesPerPage lines (listing_layout.h, listing_pages.h). It is made in two passes
// over the files, so that memory stays the same for any size of program: the first reads
// every member to learn how many lines it lists and prints, which is all that decides where
// pages break; the second reads again only what the deposited pages hold, and hands their
// printed lines on.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/counting/member_count.h"
#include "engine/counting/ordered_counter.h"
#include "engine/files/file_system.h"
#include "engine/listing/listing_layout.h"
#include "engine/listing/listing_pages.h"
#include "engine/projects/source_kind.h"

namespace tallix {

// One member file of a listing.
struct ListingMember {
    std::string name;     // as the project writes it
    std::string project;  // the project file that names it
    std::string path;     // the file found, or the path tried when none was
    SourceKind kind = SourceKind::Vb6;
    FileProblem problem;       // why it could not be read: it lists nothing then
    std::int64_t lines = 0;    // the lines it lists, once measured
    std::int64_t printed = 0;  // the printed lines they take
};

struct ListingPlan {
    std::vector<ListingMember> members;  // listing order
    std::int64_t lines = 0;              // listed over all members: the program's size
    std::int64_t printedLines = 0;
    std::int64_t pages = 0;
    std::vector<PageRange> deposited;

    std::int64_t DepositedPageCount() const;
};

// The first pass: reads each member that could be found, on up to `workers` threads, and
// fills in its lines and printed lines, or its problem.
ListingPlan PlanListing(std::vector<ListingMember> members, CountOptions options,
                        const ListingStyle& style, bool allPages,
                        unsigned workers = DefaultWorkers());

// How many lines and printed lines one member gives, read from a source.
struct MemberMeasure {
    std::int64_t lines = 0;
    std::int64_t printed = 0;
    FileProblem problem;  // no lines when the source fails before its end
};
MemberMeasure MeasureSource(ByteSource& source, SourceKind kind, CountOptions options,
                            const ListingStyle& style);

// A printed line of a deposited page: the page's number in the deposit (from 1) and the
// line's row on it (from 0).
struct DepositedLine {
    std::int64_t page = 0;
    int row = 0;
    std::string_view text;
};
// Takes a printed line; false stops the listing.
using DepositedLineVisitor = std::function<bool(const DepositedLine& line)>;

enum class ListingEnd {
    Listed,   // every printed line of the deposited pages was handed on
    Stopped,  // the visitor stopped it
    Changed,  // a member no longer reads as it did in the first pass: the pages would be wrong
};

// The second pass: the printed lines of the deposited pages, in order.
ListingEnd ListDepositedPages(const ListingPlan& plan, CountOptions options,
                              const ListingStyle& style, const DepositedLineVisitor& onLine);

}  // namespace tallix
