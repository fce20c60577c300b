#include "persistence/deposit/deposit_writer.h"

#include "persistence/replace_file.h"

namespace tallix {

namespace {

std::string RangeText(const PageRange& range) {
    return range.first == range.last
               ? std::to_string(range.first)
               : std::to_string(range.first) + "-" + std::to_string(range.last);
}

}  // namespace

DepositResult WriteDeposit(const DepositRequest& request, std::vector<ListingMember> members,
                           const std::optional<FontFile>& font, unsigned workers) {
    DepositResult result;
    // Where pages break depends on columns only, never on the marks the face will draw.
    result.plan =
        PlanListing(std::move(members), request.options, ListingStyle{}, request.allPages, workers);
    if (result.plan.lines == 0) {
        result.end = DepositEnd::NothingToDeposit;
        return result;
    }
    const std::optional<FontFile> file = font ? font : FindDepositFont();
    if (!file) {
        result.reason = "找不到导出源程序所用的等宽中文字体";
        return result;
    }
    std::unique_ptr<DepositFace> face = DepositFace::Open(*file, result.reason);
    if (!face) {
        return result;
    }
    const auto problem = ReplaceFileContents(request.path, [&](const ContentSink& out) {
        return DrawDeposit(result.plan, request.options, request.header, *face, out);
    });
    if (problem) {
        result.reason = *problem;
        return result;
    }
    result.end = DepositEnd::Written;
    return result;
}

std::string DepositedPagesText(const std::vector<PageRange>& pages) {
    std::string text;
    for (const PageRange& range : pages) {
        text += (text.empty() ? "第 " : "和第 ") + RangeText(range) + " 页";
    }
    return text;
}

std::vector<std::string> DepositSummary(const ListingPlan& plan) {
    std::vector<std::string> lines{"源程序量：" + std::to_string(plan.lines) + " 行"};
    const std::string pages = "源程序共 " + std::to_string(plan.pages) + " 页，";
    if (plan.deposited.size() == 1 && plan.deposited.front().Count() == plan.pages) {
        lines.push_back(pages + "已全部导出");
    } else {
        lines.push_back(pages + "已导出" + DepositedPagesText(plan.deposited) + "，共 " +
                        std::to_string(plan.DepositedPageCount()) + " 页");
    }
    return lines;
}

}  // namespace tallix
