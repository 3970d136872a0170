#include "shell/Main.h"

namespace tabulane {
namespace {

// Replaces each pair of separators by one in a single left-to-right pass, without overlap.
std::string CollapsePairs(std::string_view text, char separator) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        result += text[i];
        if (text[i] == separator && i + 1 < text.size() && text[i + 1] == separator) {
            ++i;
        }
    }
    return result;
}

}  // namespace

bool PathExists(FileSystem& files, const std::string& path) {
    return files.Exists(path);
}

bool IsFolder(FileSystem& files, const std::string& path) {
    try {
        return (files.GetAttributes(path) & FileAttribute::kDirectory) != 0;
    } catch (const std::exception&) {
        return false;
    }
}

std::string GetFileName(std::string_view path, PathStyle style) {
    const auto last = path.find_last_of(SeparatorOf(style));
    return std::string(last == std::string_view::npos ? path : path.substr(last + 1));
}

std::string GetFolderOfPath(std::string_view path, PathStyle style) {
    const auto last = path.find_last_of(SeparatorOf(style));
    return last == std::string_view::npos ? std::string() : std::string(path.substr(0, last + 1));
}

std::string StripExtension(std::string_view path) {
    const auto dot = path.find_last_of('.');
    if (dot == std::string_view::npos || dot == 0) {
        return std::string(path);
    }
    return std::string(path.substr(0, dot));
}

std::string CollapseBackslashes(std::string_view path, PathStyle style) {
    const char separator = SeparatorOf(style);
    if (path.empty() || path.front() != separator) {
        return CollapsePairs(path, separator);
    }
    auto first = path.find_first_not_of(separator, 1);
    const std::string_view rest = first == std::string_view::npos ? std::string_view() : path.substr(first);
    const std::string lead = style == PathStyle::Windows ? "\\\\" : "/";
    return lead + CollapsePairs(rest, separator);
}

std::string JoinFolderAndName(std::string_view folder, std::string_view name, PathStyle style) {
    std::string path(folder);
    path += SeparatorOf(style);
    path += name;
    if (style == PathStyle::Windows) {
        // A drive root comes back as "C:\", so the join reads "C:\\name": every ":\\" becomes ":\".
        std::string fixed;
        fixed.reserve(path.size());
        for (std::size_t i = 0; i < path.size(); ++i) {
            fixed += path[i];
            if (path.compare(i, 3, ":\\\\") == 0) {
                fixed += '\\';
                i += 2;
            }
        }
        return fixed;
    }
    // Under the root the join reads "/name", never "//name", also below a root the walk wrote as "//".
    if (path.compare(0, 2, "//") == 0) {
        path.erase(0, 1);
    }
    return path;
}

}  // namespace tabulane
