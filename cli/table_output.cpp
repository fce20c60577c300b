#include "cli/table_output.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "cli/terminal_text.h"

namespace tallix::cli {
namespace {

constexpr std::size_t kNumberColumns = 4;
constexpr std::array<std::string_view, kNumberColumns> kNumberTitles = {"统计行数", "代码行",
                                                                        "注释行", "空白行"};
constexpr std::string_view kNameTitle = "文件";
constexpr std::string_view kTotalName = "合计";
constexpr std::string_view kGap = "  ";

struct Row {
    std::array<std::string, kNumberColumns> numbers;
    std::string_view name;
};

Row MakeRow(std::int64_t lines, const LineTally& tally, std::string_view name) {
    return {{std::to_string(lines), std::to_string(tally.code), std::to_string(tally.comment),
             std::to_string(tally.blank)},
            name};
}

void WriteRow(std::ostream& out, const std::array<std::string_view, kNumberColumns>& cells,
              const std::array<std::size_t, kNumberColumns>& widths, std::string_view name) {
    for (std::size_t c = 0; c < kNumberColumns; ++c) {
        out << std::string(widths[c] - DisplayWidth(cells[c]), ' ') << cells[c] << kGap;
    }
    out << name << '\n';
}

void WriteRow(std::ostream& out, const Row& row,
              const std::array<std::size_t, kNumberColumns>& widths) {
    std::array<std::string_view, kNumberColumns> cells;
    std::copy(row.numbers.begin(), row.numbers.end(), cells.begin());
    WriteRow(out, cells, widths, row.name);
}

}  // namespace

bool WriteTable(const CountSummary& summary, MemberSpool& rows, std::ostream& out) {
    const Row total = MakeRow(summary.sums.lines, summary.sums.tally, kTotalName);

    // The sums are the widest numbers, so the widths are known before the first row.
    std::array<std::size_t, kNumberColumns> widths;
    std::size_t ruleWidth = DisplayWidth(kNameTitle);
    for (std::size_t c = 0; c < kNumberColumns; ++c) {
        widths[c] = std::max(DisplayWidth(kNumberTitles[c]), total.numbers[c].size());
        ruleWidth += widths[c] + kGap.size();
    }
    const std::string rule(ruleWidth, '-');

    WriteRow(out, kNumberTitles, widths, kNameTitle);
    out << rule << '\n';
    const bool whole = rows.ForEach([&](const MemberCount& member) {
        const std::string name = ShowControls(member.name);
        WriteRow(out, MakeRow(member.lines, member.tally, name), widths);
        return out.good();
    });
    if (!whole) {
        return false;  // no total for rows that were not all shown
    }
    out << rule << '\n';
    WriteRow(out, total, widths);
    return true;
}

}  // namespace tallix::cli
