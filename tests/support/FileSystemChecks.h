#pragma once

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/PlatformError.h"

namespace tabulane::test {

// The names in a folder, sorted, so tests can see that no temporary file is visible or left behind.
inline std::vector<std::string> NamesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::u8string name = entry.path().filename().u8string();
        names.emplace_back(name.begin(), name.end());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The number of the PlatformError that action throws; 0 when it throws none.
inline int ErrorNumberOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const PlatformError& error) {
        return error.Number();
    }
    return 0;
}

inline void WriteAll(ByteWriter& writer, const std::string& bytes) {
    writer.Write(bytes.data(), bytes.size());
}

inline std::string ReadAll(ByteReader& reader) {
    std::string bytes;
    char buffer[7];  // small on purpose: many reads
    for (std::size_t n; (n = reader.Read(buffer, sizeof buffer)) > 0;) {
        bytes.append(buffer, n);
    }
    return bytes;
}

}  // namespace tabulane::test
