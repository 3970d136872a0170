#include "platform/win32/Win32SettingsStore.h"

#include <windows.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/PlatformError.h"
#include "platform/TextCodes.h"

namespace tabulane {
namespace {

class OpenKey {
public:
    explicit OpenKey(HKEY key) : m_key(key) {}
    ~OpenKey() { ::RegCloseKey(m_key); }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    HKEY Get() const { return m_key; }

private:
    HKEY m_key;
};

PlatformError StoreError(LSTATUS status, const std::wstring& keyPath) {
    const std::string store = "settings store HKEY_CURRENT_USER\\" + Utf8FromWide(keyPath);
    return ErrorFromSystemCode(static_cast<DWORD>(status), store);
}

// A number value's decimal text; the default when the value is too short to hold the number.
template <typename Number>
std::string NumberText(const std::vector<BYTE>& data, const std::string& defaultValue) {
    if (data.size() < sizeof(Number)) {
        return defaultValue;
    }
    Number number = 0;
    std::copy(data.begin(), data.begin() + sizeof number, reinterpret_cast<BYTE*>(&number));
    return std::to_string(number);
}

}  // namespace

Win32SettingsStore::Win32SettingsStore(std::wstring keyPath) : m_keyPath(std::move(keyPath)) {}

std::string Win32SettingsStore::GetSetting(const std::string& key, const std::string& defaultValue) {
    HKEY handle = nullptr;
    LSTATUS status = ::RegOpenKeyExW(HKEY_CURRENT_USER, m_keyPath.c_str(), 0, KEY_QUERY_VALUE, &handle);
    if (status == ERROR_FILE_NOT_FOUND) {
        return defaultValue;
    }
    if (status != ERROR_SUCCESS) {
        throw StoreError(status, m_keyPath);
    }
    const OpenKey open(handle);
    const std::wstring name = WideFromUtf8(key);
    DWORD type = 0;
    std::vector<BYTE> data(256);
    for (;;) {
        DWORD size = static_cast<DWORD>(data.size());
        status = ::RegQueryValueExW(open.Get(), name.c_str(), nullptr, &type, data.data(), &size);
        if (status == ERROR_MORE_DATA) {
            data.resize(size);  // the value grew between the calls, or was larger than the first guess
            continue;
        }
        data.resize(size);
        break;
    }
    if (status == ERROR_FILE_NOT_FOUND) {
        return defaultValue;
    }
    if (status != ERROR_SUCCESS) {
        throw StoreError(status, m_keyPath);
    }
    switch (type) {
        case REG_SZ:
        case REG_EXPAND_SZ: {
            // Stored text need not end with its NUL; it ends at the first one if it has one.
            std::wstring text(data.size() / sizeof(wchar_t), L'\0');
            std::copy(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(text.size() * sizeof(wchar_t)),
                      reinterpret_cast<BYTE*>(text.data()));
            text.resize(text.find(L'\0') == std::wstring::npos ? text.size() : text.find(L'\0'));
            return Utf8FromWide(text);
        }
        // A value put there by hand as a number reads as its decimal text, so "Option1" = 1 still reads true.
        case REG_DWORD:
            return NumberText<std::uint32_t>(data, defaultValue);
        case REG_QWORD:
            return NumberText<std::uint64_t>(data, defaultValue);
        default:
            break;
    }
    return defaultValue;
}

void Win32SettingsStore::SaveSetting(const std::string& key, const std::string& value) {
    HKEY handle = nullptr;
    LSTATUS status = ::RegCreateKeyExW(HKEY_CURRENT_USER, m_keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                       KEY_SET_VALUE, nullptr, &handle, nullptr);
    if (status != ERROR_SUCCESS) {
        throw StoreError(status, m_keyPath);
    }
    const OpenKey open(handle);
    const std::wstring text = WideFromUtf8(value);
    status =
        ::RegSetValueExW(open.Get(), WideFromUtf8(key).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                         static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    if (status != ERROR_SUCCESS) {
        throw StoreError(status, m_keyPath);
    }
}

}  // namespace tabulane
