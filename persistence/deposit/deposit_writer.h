#pragma once

// The software-copyright deposit: a program's source as the registration asks for it, listed
// by the counting rules (engine/listing) and drawn as a PDF (deposit_pdf.h), written as the
// report is, with the size in lines (源程序量) that goes beside it on the application form.

#include <optional>
#include <string>
#include <vector>

#include "engine/counting/member_count.h"
#include "engine/counting/ordered_counter.h"
#include "engine/listing/listing.h"
#include "persistence/deposit/deposit_font.h"
#include "persistence/deposit/deposit_pdf.h"

namespace tallix {

struct DepositRequest {
    std::string path;  // the PDF to write
    DepositHeader header;
    bool allPages = false;  // every page rather than the first and last 30
    CountOptions options;
};

enum class DepositEnd {
    Written,
    NothingToDeposit,  // no member lists a line: no file is written
    NotWritten,        // the reason says why; an earlier file at the path is kept
};

struct DepositResult {
    DepositEnd end = DepositEnd::NotWritten;
    ListingPlan plan;    // members with their lines and problems, the pages
    std::string reason;  // why it was not written
};

// Measures the members and, unless none lists a line, writes the deposit at request.path:
// through a temporary file beside it that then replaces it, following symbolic links, never
// half written, any earlier file kept on a failure. The face is the platform's
// (FindDepositFont) unless one is given.
DepositResult WriteDeposit(const DepositRequest& request, std::vector<ListingMember> members,
                           const std::optional<FontFile>& font = std::nullopt,
                           unsigned workers = DefaultWorkers());

// The lines of Chinese that tell what a deposit holds: its size in lines, the pages of the
// listing, and which of them were deposited.
std::vector<std::string> DepositSummary(const ListingPlan& plan);

// The deposited pages as the summary names them: "第 1-30 页和第 101-130 页".
std::string DepositedPagesText(const std::vector<PageRange>& pages);

}  // namespace tallix
