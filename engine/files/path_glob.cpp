#include "engine/files/path_glob.h"

#include <algorithm>

#include "engine/files/name_matching.h"
#include "engine/text/case_folding.h"

namespace tallix {

namespace {

// Folded for comparison, with either separator as one.
std::u32string FoldedPath(std::string_view path) {
    std::u32string folded = FoldedCharacters(path);
    std::replace(folded.begin(), folded.end(), U'\\', U'/');
    return folded;
}

// The folder names of a path; "." segments and empty ones (doubled separators) drop out.
std::vector<std::string_view> Segments(std::string_view path) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        const auto end = path.find_first_of("/\\", start);
        const auto part = path.substr(start, end == std::string_view::npos ? end : end - start);
        if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    return parts;
}

using Parts = std::vector<std::string_view>;

// Whether pattern[p...] matches path[n...], for every p and n from the back, so that
// patterns with many "**" take time in proportion to their size, never exponential.
bool MatchAll(const Parts& pattern, const Parts& path) {
    const std::size_t columns = path.size() + 1;
    std::vector<char> rest((pattern.size() + 1) * columns, 0);
    const auto at = [&](std::size_t p, std::size_t n) -> char& { return rest[p * columns + n]; };
    at(pattern.size(), path.size()) = 1;
    for (std::size_t p = pattern.size(); p-- > 0;) {
        for (std::size_t n = columns; n-- > 0;) {
            if (pattern[p] == "**") {
                // At the end it still needs a file name to stand for.
                const bool last = p + 1 == pattern.size();
                at(p, n) =
                    last ? n < path.size() : at(p + 1, n) || (n < path.size() && at(p, n + 1));
            } else {
                at(p, n) =
                    n < path.size() && at(p + 1, n + 1) && WildcardMatch(pattern[p], path[n]);
            }
        }
    }
    return at(0, 0);
}

bool IsItemSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

bool GlobMatch(std::string_view pattern, std::string_view path) {
    const Parts patternParts = Segments(pattern);
    const Parts pathParts = Segments(path);
    if (pathParts.empty()) {
        return false;
    }
    return MatchAll(patternParts, pathParts);
}

bool HasGlob(std::string_view pattern) {
    return pattern.find_first_of("*?") != std::string_view::npos;
}

std::vector<std::string> SplitItemList(std::string_view list) {
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start <= list.size()) {
        const auto end = list.find(';', start);
        std::string_view item =
            list.substr(start, end == std::string_view::npos ? end : end - start);
        while (!item.empty() && IsItemSpace(item.front())) {
            item.remove_prefix(1);
        }
        while (!item.empty() && IsItemSpace(item.back())) {
            item.remove_suffix(1);
        }
        if (!item.empty()) {
            items.emplace_back(item);
        }
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    return items;
}

namespace {

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

// How much of a path is its root: a share's two separators, one separator, or a drive
// with the separator after it, if there is one.
std::size_t RootLength(std::string_view path) {
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        return 2;
    }
    if (!path.empty() && IsSeparator(path[0])) {
        return 1;
    }
    if (path.size() >= 2 && path[1] == ':' &&
        ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'))) {
        return path.size() > 2 && IsSeparator(path[2]) ? 3 : 2;
    }
    return 0;
}

}  // namespace

bool IsRootedPath(std::string_view path) {
    return RootLength(path) > 0;
}

std::string NormalisedItemPath(std::string_view path) {
    const std::size_t rootLength = RootLength(path);
    std::vector<std::string_view> kept;
    for (const std::string_view part : Segments(path.substr(rootLength))) {
        if (part != "..") {
            kept.push_back(part);
        } else if (!kept.empty() && kept.back() != "..") {
            kept.pop_back();
        } else if (rootLength == 0) {
            kept.push_back(part);  // above the project's folder
        }
    }
    // Names keep the separator they are written with: "/abs/out.vb" stays readable.
    const auto first = path.find_first_of("/\\", rootLength);
    const char separator = first == std::string_view::npos ? '\\' : path[first];
    std::string normalised(path.substr(0, rootLength));
    for (std::size_t i = 0; i < kept.size(); ++i) {
        if (i > 0) {
            normalised += separator;
        }
        normalised += kept[i];
    }
    return normalised;
}

bool PathLess(std::string_view a, std::string_view b) {
    const std::u32string foldedA = FoldedPath(a);
    const std::u32string foldedB = FoldedPath(b);
    if (foldedA != foldedB) {
        return foldedA < foldedB;
    }
    return a < b;
}

bool SamePathIgnoringCase(std::string_view a, std::string_view b) {
    return FoldedPath(a) == FoldedPath(b);
}

}  // namespace tallix
