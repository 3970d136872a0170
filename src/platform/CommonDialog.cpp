#include "platform/CommonDialog.h"

#include <cstddef>
#include <utility>
#include <vector>

#include "platform/PlatformError.h"
#include "platform/Utf8.h"

namespace tabulane {

namespace {

// The folder every path lies in, as the first path spells it: up to its last separator, which is kept only
// for a root ("/", "C:\"), as the platform dialog writes a folder.
std::string CommonFolder(const std::vector<std::string>& paths, char separator) {
    std::string folder = paths.front();
    folder.erase(folder.find_last_of(separator) == std::string::npos ? 0 : folder.find_last_of(separator) + 1);
    // Shrink to a shared folder in case the dialog returned files from more than one folder.
    for (const auto& path : paths) {
        while (!folder.empty() && path.compare(0, folder.size(), folder) != 0) {
            folder.pop_back();
            const auto last = folder.find_last_of(separator);
            folder.erase(last == std::string::npos ? 0 : last + 1);
        }
    }
    const bool isRoot = folder.size() == 1 || (folder.size() == 3 && folder[1] == ':');
    if (!folder.empty() && !isRoot) {
        folder.pop_back();
    }
    return folder;
}

// The characters the component's buffer needs for an answer: see ShowOpen.
std::size_t BufferLength(const std::vector<std::string>& paths, char separator) {
    if (paths.size() == 1) {
        return CountCharacters(paths.front()) + 1;
    }
    const std::string folder = CommonFolder(paths, separator);
    // A root keeps its separator, so every name starts right after it; other folders need one more.
    const std::size_t skip = folder.empty() || folder.back() == separator ? folder.size() : folder.size() + 1;
    std::size_t length = CountCharacters(folder) + 2;  // with the folder's NUL and the closing one
    for (const auto& path : paths) {
        length += CountCharacters(std::string_view(path).substr(skip)) + 1;
    }
    return length;
}

}  // namespace

void CommonDialog::ShowOpen() {
    FileNames.clear();
    std::vector<std::string> paths =
        m_picker.PickFiles(DialogTitle, Filter, (Flags & OpenFlag::kAllowMultiSelect) != 0);
    if (!paths.empty() &&
        (MaxFileSize < 0 || BufferLength(paths, m_separator) > static_cast<std::size_t>(MaxFileSize))) {
        throw PlatformError(ErrorNumber::kBufferTooSmall, "The file name buffer is too small");
    }
    FileNames = std::move(paths);
}

}  // namespace tabulane
