#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/PlatformError.h"
#include "platform/SettingsStore.h"

namespace tabulane::test {

// An in-memory store that also records every write in order.
class FakeSettingsStore final : public SettingsStore {
public:
    std::string GetSetting(const std::string& key, const std::string& defaultValue) override {
        const auto it = values.find(key);
        return it == values.end() ? defaultValue : it->second;
    }

    void SaveSetting(const std::string& key, const std::string& value) override {
        if (failSaves) {
            throw PlatformError(ErrorNumber::kPermissionDenied, "Permission denied: settings");
        }
        values[key] = value;
        writes.emplace_back(key, value);
    }

    std::map<std::string, std::string> values;
    std::vector<std::pair<std::string, std::string>> writes;
    bool failSaves = false;  // every write fails, as a read-only store would
};

}  // namespace tabulane::test
