#pragma once

#include <map>

#include "persistence/settings_store.h"

namespace tallix {

// Settings kept only in memory, for tests of anything that reads or writes settings.
class MemorySettingsStore final : public SettingsStore {
public:
    void StoreSetting(const std::string& key, const std::string& value) override {
        values_[key] = value;
    }
    std::optional<std::string> LoadSetting(const std::string& key) const override {
        const auto found = values_.find(key);
        if (found == values_.end()) {
            return std::nullopt;
        }
        return found->second;
    }

private:
    std::map<std::string, std::string> values_;
};

}  // namespace tallix
