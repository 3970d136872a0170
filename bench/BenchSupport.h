#pragma once

// Stand-ins for the platform services the window benchmarks never use, and timing helpers.
#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "platform/Environment.h"
#include "platform/FilePicker.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"

namespace tabulane::bench {

class NoSettings final : public SettingsStore {
public:
    std::string GetSetting(const std::string&, const std::string& defaultValue) override { return defaultValue; }
    void SaveSetting(const std::string&, const std::string&) override {}
};

class NoEnvironment final : public Environment {
public:
    std::string ProgramFolder() const override { return {}; }
    std::string DesktopFolder() const override { return "/tmp"; }
};

class NoShell final : public Shell {
public:
    void Open(const std::string&) override {}
};

// The file picker is never opened here.
class NoFilePicker final : public FilePicker {
public:
    std::vector<std::string> PickFiles(const std::string&, const std::string&, bool) override { return {}; }
};

inline double Seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace tabulane::bench
