#include "cli/table_output.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

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

// The code point starting at text[i], and how many bytes it takes; a stray byte counts as one.
char32_t DecodeAt(std::string_view text, std::size_t i, std::size_t& length) {
    auto byte = static_cast<unsigned char>(text[i]);
    length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
    if (i + length > text.size()) {
        length = 1;
        return byte;
    }
    char32_t point = length == 1 ? byte : byte & (0x3F >> (length - 1));
    for (std::size_t k = 1; k < length; ++k) {
        point = (point << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    }
    return point;
}

bool IsWide(char32_t point) {
    return (point >= 0x1100 && point <= 0x115F) || (point >= 0x2E80 && point <= 0xA4CF) ||
           (point >= 0xAC00 && point <= 0xD7A3) || (point >= 0xF900 && point <= 0xFAFF) ||
           (point >= 0xFE30 && point <= 0xFE4F) || (point >= 0xFF00 && point <= 0xFF60) ||
           (point >= 0xFFE0 && point <= 0xFFE6) || (point >= 0x20000 && point <= 0x3FFFD);
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

std::size_t DisplayWidth(std::string_view utf8) {
    std::size_t width = 0;
    for (std::size_t i = 0, length = 0; i < utf8.size(); i += length) {
        width += IsWide(DecodeAt(utf8, i, length)) ? 2 : 1;
    }
    return width;
}

void WriteTable(const ProjectCount& count, std::ostream& out) {
    std::vector<Row> rows;
    LineTally sum;
    for (const MemberCount& member : count.members) {
        rows.push_back(MakeRow(member.lines, member.tally, member.name));
        sum.code += member.tally.code;
        sum.comment += member.tally.comment;
        sum.blank += member.tally.blank;
    }
    const Row total = MakeRow(count.texts.total, sum, kTotalName);

    std::array<std::size_t, kNumberColumns> widths;
    for (std::size_t c = 0; c < kNumberColumns; ++c) {
        widths[c] = std::max(DisplayWidth(kNumberTitles[c]), total.numbers[c].size());
        for (const Row& row : rows) {
            widths[c] = std::max(widths[c], row.numbers[c].size());
        }
    }
    std::size_t ruleWidth = DisplayWidth(kNameTitle);
    for (std::size_t width : widths) {
        ruleWidth += width + kGap.size();
    }
    const std::string rule(ruleWidth, '-');

    WriteRow(out, kNumberTitles, widths, kNameTitle);
    out << rule << '\n';
    for (const Row& row : rows) {
        WriteRow(out, row, widths);
    }
    out << rule << '\n';
    WriteRow(out, total, widths);
}

}  // namespace tallix::cli
