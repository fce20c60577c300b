#include "engine/inventory/member_inventory.h"

namespace tallix {

std::int64_t MemberInventory::ControlCount() const {
    std::int64_t count = 0;
    for (const auto& [type, number] : controls) {
        count += number;
    }
    return count;
}

std::string LibraryKey(std::string_view written) {
    while (!written.empty() && written.front() == ' ') {
        written.remove_prefix(1);
    }
    while (!written.empty() && written.back() == ' ') {
        written.remove_suffix(1);
    }
    std::string key(written);
    for (char& c : key) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    if (key.size() > 4 && key.ends_with(".dll")) {
        key.resize(key.size() - 4);
    }
    return key;
}

}  // namespace tallix
