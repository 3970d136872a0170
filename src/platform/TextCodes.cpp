#include "platform/TextCodes.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace tabulane {

#ifdef _WIN32

std::wstring WideFromUtf8(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string Utf8FromWide(std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, narrow.data(), length, nullptr, nullptr);
    return narrow;
}

std::string AnsiFromUtf8(std::string_view text) {
    if (::GetACP() == CP_UTF8) {
        return std::string(text);  // the system's "UTF-8 for every program" setting
    }
    const std::wstring wide = WideFromUtf8(text);
    if (wide.empty()) {
        return {};
    }
    const int size = static_cast<int>(wide.size());
    // No best fit: "ą" must become "?", not an "a" that would match every a of the file.
    const int length = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0, "?", nullptr);
    std::string ansi(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, ansi.data(), length, "?", nullptr);
    return ansi;
}

std::string RawCommandLine() {
    const wchar_t* line = ::GetCommandLineW();
    return line != nullptr ? Utf8FromWide(line) : std::string();
}

#else

std::string AnsiFromUtf8(std::string_view text) {
    return std::string(text);
}

#endif

}  // namespace tabulane
