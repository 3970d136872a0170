#include <gtest/gtest.h>

#include <windows.h>

#include <random>
#include <string>

#include "platform/TextCodes.h"
#include "platform/win32/Win32SettingsStore.h"

namespace tabulane {
namespace {

// A key of its own under HKEY_CURRENT_USER\Software for each test, removed with everything in it at the end: the
// user's own settings are never touched.
class TemporaryKey {
public:
    TemporaryKey() : m_path(L"Software\\Quillfen-test-" + std::to_wstring(std::random_device()())) {}
    ~TemporaryKey() { ::RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str()); }
    const std::wstring& Path() const { return m_path; }

private:
    std::wstring m_path;
};

// A value as the registry holds it: its type and its text.
struct StoredValue {
    DWORD type = REG_NONE;
    std::wstring text;
};

StoredValue ReadStored(const std::wstring& keyPath, const std::wstring& name) {
    StoredValue value;
    wchar_t buffer[512] = {};
    DWORD size = sizeof buffer;
    if (::RegGetValueW(HKEY_CURRENT_USER, keyPath.c_str(), name.c_str(), RRF_RT_ANY, &value.type, buffer, &size) ==
        ERROR_SUCCESS) {
        value.text = buffer;
    }
    return value;
}

TEST(Win32SettingsStore, ValuesRoundTripAsOneTextValuePerKeyAndMissingOnesReadAsTheDefault) {
    const TemporaryKey key;
    Win32SettingsStore store(key.Path());
    // Neither the key nor the value exists yet.
    EXPECT_EQ(store.GetSetting("Combo", "Tabs To Commas"), "Tabs To Commas");

    store.SaveSetting("Output Folder", "C:\\Ωmega-日本\\");
    store.SaveSetting("Option1", "False");
    store.SaveSetting("Extension", "");
    store.SaveSetting("Option1", "True");  // the later value replaces the earlier

    EXPECT_EQ(store.GetSetting("Output Folder", "x"), "C:\\Ωmega-日本\\");
    EXPECT_EQ(store.GetSetting("Option1", "x"), "True");
    EXPECT_EQ(store.GetSetting("Extension", "*"), "");  // stored empty is not missing
    EXPECT_EQ(store.GetSetting("LastFolder", "none"), "none");

    // Where another program (or the user's registry editor) finds them: REG_SZ values named by the key.
    const StoredValue folder = ReadStored(key.Path(), L"Output Folder");
    EXPECT_EQ(folder.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(folder.text, WideFromUtf8("C:\\Ωmega-日本\\"));

    // A new store object sees what an earlier one wrote: it is kept in the registry, not in the object.
    EXPECT_EQ(Win32SettingsStore(key.Path()).GetSetting("Option1", "x"), "True");
}

TEST(Win32SettingsStore, ANumberPutInByHandReadsAsItsDecimalText) {
    const TemporaryKey key;
    HKEY handle = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, key.Path().c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle,
                                nullptr),
              ERROR_SUCCESS);
    const DWORD zero = 0;
    ::RegSetValueExW(handle, L"Option2", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&zero), sizeof zero);
    ::RegCloseKey(handle);

    EXPECT_EQ(Win32SettingsStore(key.Path()).GetSetting("Option2", "True"), "0");
}

}  // namespace
}  // namespace tabulane
