#pragma once

#include <string>
#include <string_view>

namespace tabulane {

// Text handed to a file without a byte-order mark, whose bytes pass through unchanged: in the system's ANSI code
// page on Windows, where a character the code page cannot represent becomes "?"; unchanged UTF-8 elsewhere.
std::string AnsiFromUtf8(std::string_view text);

#ifdef _WIN32
// The logic's UTF-8 and the wide text of the Win32 calls; invalid sequences become U+FFFD.
std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);

// The program's command line as the system passed it (GetCommandLineW), program name and quotes included.
std::string RawCommandLine();
#endif

}  // namespace tabulane
