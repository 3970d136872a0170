#include "platform/IniSettingsReader.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <system_error>
#include <utility>

#include "platform/AsciiText.h"
#include "platform/PlatformError.h"

namespace tabulane {
namespace {

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

// The blanks an INI line and its key and value are trimmed of, as the window's store reads them.
constexpr std::string_view kIniBlanks = " \t";

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Key and section names: "%XX" is a byte written in hex.
std::string UnescapeKey(std::string_view raw) {
    std::string key;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '%' && i + 2 < raw.size() && HexDigit(raw[i + 1]) >= 0 && HexDigit(raw[i + 2]) >= 0) {
            key += static_cast<char>(HexDigit(raw[i + 1]) * 16 + HexDigit(raw[i + 2]));
            i += 2;
        } else {
            key += raw[i];
        }
    }
    return key;
}

// The value of "Group/key" in one INI text; the last entry of that name wins, as it does for the window's store.
std::optional<std::string> FindValue(const std::string& text, const std::string& fullKey) {
    std::optional<std::string> found;
    std::string section;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const std::string_view trimmed = Trim(line, kIniBlanks);
        if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#') {
            continue;
        }
        if (trimmed.front() == '[') {
            const std::size_t end = trimmed.find(']');
            const std::string name = UnescapeKey(trimmed.substr(1, end == std::string_view::npos ? end : end - 1));
            section = name == "General" || name == "general" ? std::string() : name + "/";
            continue;
        }
        const std::size_t equals = trimmed.find('=');
        if (equals != std::string_view::npos &&
            section + UnescapeKey(Trim(trimmed.substr(0, equals), kIniBlanks)) == fullKey) {
            found = UnescapeIniValue(trimmed.substr(equals + 1));
        }
    }
    return found;
}

}  // namespace

std::string UnescapeIniValue(std::string_view raw) {
    std::string value;
    bool quoted = false;
    raw = Trim(raw, kIniBlanks);
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (c == '\\' && i + 1 < raw.size()) {
            const char next = raw[++i];
            value += next == 'n' ? '\n' : next == 't' ? '\t' : next == 'r' ? '\r' : next;
        } else if (c == ',' && !quoted) {
            while (!value.empty() && value.back() == ' ') {
                value.pop_back();
            }
            value += ", ";
            while (i + 1 < raw.size() && raw[i + 1] == ' ') {
                ++i;
            }
        } else {
            value += c;
        }
    }
    return value;
}

std::vector<std::string> IniSettingsReader::UserStoreFiles() {
    std::string configHome = Variable("XDG_CONFIG_HOME");
    if (configHome.empty()) {
        const std::string home = Variable("HOME");
        configHome = (home.empty() ? std::string("/") : home) + "/.config";
    }
    const std::string storeFile = std::string(kSettingsOrganisation) + ".conf";
    return {configHome + "/" + storeFile, "/etc/xdg/" + storeFile};
}

IniSettingsReader::IniSettingsReader(std::vector<std::string> files) : m_files(std::move(files)) {}

std::string IniSettingsReader::GetSetting(const std::string& key, const std::string& defaultValue) {
    std::optional<std::string> found;
    // Every file is opened, as the window's store does, so an unreadable one is reported whichever holds the key,
    // under the name of the user's file.
    for (const std::string& path : m_files) {
        std::error_code error;
        const auto status = std::filesystem::status(path, error);
        if (!std::filesystem::exists(status)) {
            continue;
        }
        std::ifstream file;
        if (!std::filesystem::is_directory(status)) {
            file.open(path, std::ios::binary);
        }
        if (!file.is_open()) {
            throw PlatformError(ErrorNumber::kPermissionDenied, "Permission denied: settings store " + m_files.front());
        }
        const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        if (!found) {
            found = FindValue(text, std::string(kSettingsSection) + "/" + key);
        }
    }
    return found.value_or(defaultValue);
}

void IniSettingsReader::SaveSetting(const std::string& key, const std::string&) {
    throw PlatformError(ErrorNumber::kPermissionDenied,
                        "Permission denied: the command line stores no setting (" + key + ")");
}

}  // namespace tabulane
