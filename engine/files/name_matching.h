#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tallix {

// Matches like the Windows directory look-up: "*" any run of characters, "?" any one
// character, letters without regard to case, every other character literally.
bool WildcardMatch(std::string_view pattern, std::string_view name);

// The names of one folder, indexed by a hash of their folded form, so that finding the
// names that equal a given one without regard to case costs a search, not a pass over the
// folder.
class FolderIndex {
public:
    FolderIndex() = default;
    explicit FolderIndex(std::vector<std::string> names);

    // The names equal to `name` without regard to letter case, in byte order.
    std::vector<std::string_view> Matches(std::string_view name) const;

private:
    std::vector<std::string> names_;
    std::vector<std::pair<std::uint64_t, std::uint32_t>> byHash_;  // sorted; index into names_
};

}  // namespace tallix
