#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace tallix::cli::testing {

// An object's keys in the order the document gives them.
inline std::vector<std::string> Keys(const nlohmann::ordered_json& object) {
    std::vector<std::string> keys;
    for (const auto& item : object.items()) {
        keys.push_back(item.key());
    }
    return keys;
}

}  // namespace tallix::cli::testing
