#pragma once

#include <string>
#include <vector>

#include "platform/SettingsStore.h"

namespace tabulane {

// The per-user store read straight from its INI files, without Qt: organisation "Quillfen", group "Tabulane",
// in the files the window's store uses, the user's first and then the system-wide one. It never writes: the
// command line stores no setting.
class IniSettingsReader final : public SettingsStore {
public:
    // The files of the user's real store: $XDG_CONFIG_HOME (or ~/.config)/Quillfen.conf, then /etc/xdg/Quillfen.conf.
    static std::vector<std::string> UserStoreFiles();
    // The store in these files, looked up in order (tests point them at a temporary folder).
    explicit IniSettingsReader(std::vector<std::string> files = UserStoreFiles());

    // Throws PlatformError 70 when a file of the store is there but cannot be read, as the window's store does.
    std::string GetSetting(const std::string& key, const std::string& defaultValue) override;
    // Refused with PlatformError 70: this store is read-only.
    void SaveSetting(const std::string& key, const std::string& value) override;

private:
    std::vector<std::string> m_files;
};

// The value text of an INI entry as the window's store reads it: surrounding spaces dropped, double-quoted parts
// kept as they are, backslash escapes taken, and a list (unquoted commas) joined with ", ".
std::string UnescapeIniValue(std::string_view raw);

}  // namespace tabulane
