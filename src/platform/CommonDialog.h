#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/FilePicker.h"

namespace tabulane {

// Flag bits of the file-open dialog, with the values of the Windows dialog they stand for.
namespace OpenFlag {
constexpr std::uint32_t kReadOnly = 0x1;
constexpr std::uint32_t kAllowMultiSelect = 0x200;
constexpr std::uint32_t kExplorer = 0x80000;
constexpr std::uint32_t kLongNames = 0x200000;
}  // namespace OpenFlag

#ifdef _WIN32
inline constexpr char kDialogPathSeparator = '\\';
#else
inline constexpr char kDialogPathSeparator = '/';
#endif

// The window's file-dialog component (CommonDialog1). Set the properties, call ShowOpen, read FileNames: the full
// paths of the picked files in the dialog's order; none when the user cancels.
class CommonDialog {
public:
    explicit CommonDialog(FilePicker& picker, char separator = kDialogPathSeparator)
        : m_picker(picker), m_separator(separator) {}

    // Throws PlatformError (ErrorNumber::kBufferTooSmall) when the answer does not fit the component's buffer of
    // MaxFileSize characters; FileNames is then empty. The buffer holds one path, or the folder and then each name,
    // every part ended by a NUL character and a multiple selection by one more.
    void ShowOpen();

    std::vector<std::string> FileNames;
    std::uint32_t Flags = 0;
    std::string DialogTitle;
    std::string Filter;
    int MaxFileSize = 30000;  // the window's setting for the add-files dialog

private:
    FilePicker& m_picker;
    char m_separator;
};

}  // namespace tabulane
