#pragma once

// Reads a deposit's PDF back with poppler-utils (pdfinfo, pdffonts, pdftotext), as a reader of
// the deposit would: its pages and their size, its fonts, and the text on each page. The
// text comes back twice: as pdftotext -layout lays it out, and as the grid it was drawn on,
// put together from the place of every word (pdftotext -tsv): the header of each page and
// its fifty rows, every character in the columns it was drawn in. POSIX only.

#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "engine/listing/listing_layout.h"
#include "engine/text/display_width.h"

namespace tallix::testing {

// What a command printed on standard output, or "<failed>" when it could not run or failed.
inline std::string CommandOutput(const std::string& command) {
    std::string out;
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) {
        return "<failed>";
    }
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        out.append(buffer, got);
    }
    return ::pclose(pipe) == 0 ? out : "<failed>";
}

inline std::string Quoted(const std::string& path) {
    std::string quoted = "'";
    for (const char c : path) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// The value pdfinfo gives a field ("Pages", "Page size"), or "".
inline std::string PdfInfoField(const std::string& pdf, const std::string& field) {
    std::istringstream info(CommandOutput("pdfinfo " + Quoted(pdf)));
    for (std::string line; std::getline(info, line);) {
        if (line.starts_with(field + ":")) {
            const auto value = line.find_first_not_of(' ', field.size() + 1);
            return value == std::string::npos ? "" : line.substr(value);
        }
    }
    return "";
}

// The place of every word on the page, from pdftotext -tsv.
struct PdfWord {
    int page = 0;
    double left = 0, top = 0, width = 0, height = 0;
    std::string text;
};

inline std::vector<PdfWord> PdfWords(const std::string& pdf) {
    std::vector<PdfWord> words;
    std::istringstream tsv(CommandOutput("pdftotext -tsv " + Quoted(pdf) + " -"));
    std::string line;
    std::getline(tsv, line);  // the column names
    while (std::getline(tsv, line)) {
        std::vector<std::string> fields;
        std::istringstream split(line);
        for (std::string field; std::getline(split, field, '\t');) {
            fields.push_back(field);
        }
        if (fields.size() < 12 || fields[0] != "5") {
            continue;
        }
        words.push_back({std::stoi(fields[1]), std::stod(fields[6]), std::stod(fields[7]),
                         std::stod(fields[8]), std::stod(fields[9]), fields[11]});
    }
    return words;
}

// One page as it was drawn: the header's two parts and the rows under it.
struct DrawnPage {
    std::string title;   // the header's text at the left
    std::string number;  // the header's last word, at the right
    int numberColumn = -1;
    std::vector<std::string> rows;  // as many as the page has; blank ones ""
};

// The grid of a deposit: the header's line on top, rows a pitch apart under it, columns a
// column apart from the left margin.
struct DepositGrid {
    double left = 25 * 72 / 25.4;
    double column = 4.75;
    double firstRowBelowHeader = 19;
    double pitch = 14.5;
};

inline std::vector<DrawnPage> DrawnPages(const std::string& pdf, DepositGrid grid = {}) {
    std::map<int, std::vector<PdfWord>> byPage;
    for (PdfWord& word : PdfWords(pdf)) {
        byPage[word.page].push_back(std::move(word));
    }
    std::vector<DrawnPage> pages;
    for (auto& [number, words] : byPage) {
        double headerTop = 1e9;
        for (const PdfWord& word : words) {
            headerTop = std::min(headerTop, word.top);
        }
        DrawnPage page;
        // Row -1 is the header; within a row, words by their left edge.
        std::map<int, std::map<int, std::string>> cells;
        for (const PdfWord& word : words) {
            const int row = static_cast<int>(
                std::lround((word.top - headerTop - grid.firstRowBelowHeader) / grid.pitch));
            const int column = static_cast<int>(std::lround((word.left - grid.left) / grid.column));
            cells[std::abs(word.top - headerTop) < 1 ? -1 : row][column] = word.text;
        }
        for (auto& [row, line] : cells) {
            std::string text;
            int at = 0;
            for (const auto& [column, word] : line) {
                text.append(static_cast<std::size_t>(std::max(0, column - at)), ' ');
                at = std::max(at, column);
                text += word;
                for (std::size_t i = 0, length = 0; i < word.size(); i += length) {
                    at += ListingColumns(CodePointAt(word, i, length));
                }
            }
            if (row == -1) {
                const auto last = std::prev(line.end());
                page.number = last->second;
                page.numberColumn = last->first;
                const std::size_t cut = text.rfind(' ', text.size() - page.number.size());
                page.title = text.substr(0, cut == std::string::npos ? 0 : cut);
                while (!page.title.empty() && page.title.back() == ' ') {
                    page.title.pop_back();
                }
                continue;
            }
            if (row >= 0) {
                if (page.rows.size() <= static_cast<std::size_t>(row)) {
                    page.rows.resize(static_cast<std::size_t>(row) + 1);
                }
                page.rows[static_cast<std::size_t>(row)] = text;
            }
        }
        pages.push_back(std::move(page));
    }
    return pages;
}

// The text of every page as pdftotext -layout gives it, one string a page.
inline std::vector<std::string> LayoutPages(const std::string& pdf) {
    const std::string text = CommandOutput("pdftotext -layout " + Quoted(pdf) + " -");
    std::vector<std::string> pages;
    std::string page;
    for (const char c : text) {
        if (c == '\f') {
            pages.push_back(page);
            page.clear();
        } else {
            page += c;
        }
    }
    return pages;
}

// Text with its blank lines dropped and every run of spaces made one, for comparing what
// -layout gives back (its columns and blank lines are its own estimate) with what was drawn.
inline std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        std::string squeezed;
        for (const char c : line) {
            if (c != ' ' || (!squeezed.empty() && squeezed.back() != ' ')) {
                squeezed += c;
            }
        }
        while (!squeezed.empty() && squeezed.back() == ' ') {
            squeezed.pop_back();
        }
        if (!squeezed.empty()) {
            lines.push_back(squeezed);
        }
    }
    return lines;
}

}  // namespace tallix::testing
