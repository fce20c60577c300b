#include "engine/files/name_matching.h"

#include <algorithm>

#include "engine/text/case_folding.h"

namespace tallix {

bool WildcardMatch(std::string_view patternText, std::string_view nameText) {
    // On characters, not bytes, so that "?" stands for one character of any length.
    const std::u32string pattern = FoldedCharacters(patternText);
    const std::u32string name = FoldedCharacters(nameText);
    std::size_t p = 0, n = 0, starP = std::u32string::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == U'*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (starP != std::u32string::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == U'*') {
        ++p;
    }
    return p == pattern.size();
}

FolderIndex::FolderIndex(std::vector<std::string> names) : names_(std::move(names)) {
    byHash_.reserve(names_.size());
    for (std::uint32_t i = 0; i < names_.size(); ++i) {
        byHash_.emplace_back(FoldedHash(names_[i]), i);
    }
    std::sort(byHash_.begin(), byHash_.end());
}

std::vector<std::string_view> FolderIndex::Matches(std::string_view name) const {
    const std::pair<std::uint64_t, std::uint32_t> first{FoldedHash(name), 0};
    std::vector<std::string_view> matches;
    for (auto it = std::lower_bound(byHash_.begin(), byHash_.end(), first);
         it != byHash_.end() && it->first == first.first; ++it) {
        if (EqualIgnoringCase(names_[it->second], name)) {
            matches.push_back(names_[it->second]);
        }
    }
    std::sort(matches.begin(), matches.end());
    return matches;
}

}  // namespace tallix
