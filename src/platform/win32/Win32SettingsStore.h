#pragma once

#include <string>

#include "platform/SettingsStore.h"

namespace tabulane {

// Where the program keeps its settings: under HKEY_CURRENT_USER, where the Linux build's store would keep them on
// Windows.
inline constexpr const wchar_t* kSettingsKeyPath = L"Software\\Quillfen\\Tabulane";

// The per-user store in the registry: one REG_SZ value per key under HKEY_CURRENT_USER\<keyPath>. Tests pass a
// temporary key path; the program uses the default.
class Win32SettingsStore final : public SettingsStore {
public:
    explicit Win32SettingsStore(std::wstring keyPath = kSettingsKeyPath);

    // A missing key or value reads as the default; a value stored as a number reads as its decimal text.
    // Throws PlatformError 70 when the store cannot be read.
    std::string GetSetting(const std::string& key, const std::string& defaultValue) override;
    // Creates the key when needed. Throws PlatformError 70 when the value cannot be stored.
    void SaveSetting(const std::string& key, const std::string& value) override;

private:
    std::wstring m_keyPath;
};

}  // namespace tabulane
