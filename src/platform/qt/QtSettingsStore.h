#pragma once

#include <string>

#include "platform/SettingsStore.h"

namespace tabulane {

// The per-user store backed by QSettings: organisation "Quillfen", no application name, group "Tabulane"
// (~/.config/Quillfen.conf on Linux, HKEY_CURRENT_USER\Software\Quillfen\Tabulane on Windows).
// Every write is flushed at once, so a value survives even if the program is killed right after.
class QtSettingsStore final : public SettingsStore {
public:
    // The user's real store, or an INI file at the given path instead (tests point it at a temporary folder).
    explicit QtSettingsStore(std::string iniFilePath = {});

    // Throws PlatformError 70 when the store cannot be read.
    std::string GetSetting(const std::string& key, const std::string& defaultValue) override;
    // Throws PlatformError 70 when the value cannot be stored.
    void SaveSetting(const std::string& key, const std::string& value) override;

private:
    std::string m_iniFilePath;  // empty: the user's real store
};

}  // namespace tabulane
