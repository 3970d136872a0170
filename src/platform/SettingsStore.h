#pragma once

#include <string>
#include <string_view>

namespace tabulane {

// Where the per-user store keeps its keys: the organisation names the store (~/.config/Quillfen.conf on Linux,
// HKEY_CURRENT_USER\Software\Quillfen on Windows), the section is the group of every key in it.
inline constexpr const char* kSettingsOrganisation = "Quillfen";
inline constexpr const char* kSettingsSection = "Tabulane";

// The per-user store: one section, text values by key. Missing keys read as the caller's default.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    virtual std::string GetSetting(const std::string& key, const std::string& defaultValue) = 0;
    virtual void SaveSetting(const std::string& key, const std::string& value) = 0;
};

// Reads a stored truth value: "True"/"False" in any letter case, or a number (0 false, anything else true).
// Any other text throws error 13 "Type mismatch".
bool ParseTruthValue(std::string_view text);

// The text form a truth value is stored in: "True" or "False".
std::string TruthText(bool value);

}  // namespace tabulane
