#pragma once

#include <memory>
#include <optional>
#include <string>

#include "engine/counting/member_count.h"
#include "engine/listing/listing.h"
#include "persistence/deposit/deposit_font.h"
#include "persistence/replace_file.h"

namespace tallix {

// What every page's header shows at its left: the software's name and version, as given.
struct DepositHeader {
    std::string softwareName;
    std::string softwareVersion;
};

// A face opened for drawing deposits, with the marks it can draw one column wide.
class DepositFace {
public:
    // The face, or nullptr with the reason when the file holds none that can be drawn.
    static std::unique_ptr<DepositFace> Open(const FontFile& file, std::string& reason);

    DepositFace(const DepositFace&) = delete;
    DepositFace& operator=(const DepositFace&) = delete;
    ~DepositFace();

    // The listing's style in this face: its columns, and for each mark the first of its
    // candidates that the face draws no wider than a column.
    const ListingStyle& Style() const { return style_; }

    struct Parts;  // cairo's and FreeType's, kept out of this header

private:
    explicit DepositFace(std::unique_ptr<Parts> parts);

    std::unique_ptr<Parts> parts_;
    ListingStyle style_;

    friend std::optional<std::string> DrawDeposit(const ListingPlan&, CountOptions,
                                                  const DepositHeader&, DepositFace&,
                                                  const ContentSink&);
};

// Draws the deposited pages of the plan as a PDF into `out`: A4 portrait, the face embedded
// as a subset, the header (name and version at the left, the page's number at the right, a
// rule under them) on every page, and each page's printed lines in rows under it, every
// character in its own columns, its text kept for text extraction. Returns the reason when
// the PDF could not be made, or a member changed since the plan was made.
std::optional<std::string> DrawDeposit(const ListingPlan& plan, CountOptions options,
                                       const DepositHeader& header, DepositFace& face,
                                       const ContentSink& out);

}  // namespace tallix
