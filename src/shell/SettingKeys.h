#pragma once

namespace tabulane::SettingKey {

// Keys of the per-user store; every one is written the moment its control changes.
inline constexpr const char* kCombo = "Combo";
inline constexpr const char* kOutputFolder = "Output Folder";
inline constexpr const char* kOption1 = "Option1";
inline constexpr const char* kOption2 = "Option2";
inline constexpr const char* kLastFolderDot = "LastFolderDot";
inline constexpr const char* kLastFolder = "LastFolder";
inline constexpr const char* kExtension = "Extension";

}  // namespace tabulane::SettingKey
