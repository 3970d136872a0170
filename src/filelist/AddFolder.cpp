#include "filelist/AddFolder.h"

#include <algorithm>
#include <map>
#include <set>

#include "platform/AsciiText.h"
#include "platform/PlatformError.h"
#include "platform/Utf8.h"
#include "shell/SettingKeys.h"

namespace tabulane {

namespace {

// "*" and "?" only, case-insensitive; backtracks to the last "*" on a mismatch, so it runs in quadratic time at worst.
bool MatchGlob(std::string_view name, std::string_view pattern) {
    std::size_t n = 0;
    std::size_t p = 0;
    std::size_t starAt = std::string_view::npos;
    std::size_t resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starAt = p++;
            resumeAt = n;
        } else if (p < pattern.size() && pattern[p] == '?') {
            ++p;
            n += CharacterLength(name, n);
        } else if (p < pattern.size() && FoldAsciiCase(pattern[p]) == FoldAsciiCase(name[n])) {
            ++p;
            ++n;
        } else if (starAt != std::string_view::npos) {
            p = starAt + 1;
            resumeAt += CharacterLength(name, resumeAt);
            n = resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

bool IsHiddenSystemFolder(int attributes) {
    return attributes == kHiddenSystemFolder || attributes == kHiddenSystemAliasFolder;
}

std::string FolderPrefix(const std::string& folder, PathStyle style) {
    const char separator = SeparatorOf(style);
    return !folder.empty() && folder.back() == separator ? folder : folder + separator;
}

// The entries of one folder's listing that the scan takes: regular files (or links to them) whose names match the
// pattern. A file counts as existing by the status the listing read: asking again for every file would double the
// cost of a scan for nothing but a race of microseconds.
void KeepMatchingFiles(std::vector<FolderEntry>& entries, const std::string& prefix, std::string_view pattern) {
    // A path that is not UTF-8 could not be passed on (on Windows: not in the code page), so it never exists.
    const bool folderValid = IsValidUtf8(prefix);
    std::erase_if(entries, [&](const FolderEntry& entry) {
        return !folderValid || !entry.regularFile || (entry.attributes & FileAttribute::kDirectory) != 0 ||
               !MatchesWildcard(entry.name, pattern) || !IsValidUtf8(entry.name);
    });
}

// ListFilesInFolder with each file's attributes.
std::vector<FolderEntry> ListMatchingFiles(FileSystem& files, const std::string& folder, std::string_view pattern,
                                           PathStyle style) {
    const std::string prefix = FolderPrefix(folder, style);
    std::vector<FolderEntry> entries;
    try {
        entries = files.ListFolder(prefix);
    } catch (const PlatformError& error) {
        if (error.Number() == ErrorNumber::kPathNotFound) {
            return {};
        }
        throw;
    }
    KeepMatchingFiles(entries, prefix, pattern);
    return entries;
}

// The matching files of every folder the walk lists, by folder (with its trailing separator): the walk reads each
// folder's whole listing once, for its subfolders and its files alike, instead of the scan listing it again.
struct FileListings {
    std::string pattern;
    std::map<std::string, std::vector<FolderEntry>> byFolder;
};

// The walk's state shared by every level of one walk.
struct Walk {
    Platform& platform;
    ErrorReporter& reporter;
    PathStyle style;
    std::set<FolderId> visited;  // folders already walked: a folder reached again through a link is not
    // What the file system said of each folder: every level asks again about all the folders below it, which
    // would cost a deep tree its depth times over.
    std::map<std::string, FolderInfo> looked;
    FileListings* listings = nullptr;  // when given, filled from the listings the walk reads

    bool IsKnownFolder(const std::string& folder) {
        return looked.count(folder) != 0 || IsFolder(platform.files, folder);
    }
    const FolderInfo& LookUp(const std::string& folder) {
        const auto known = looked.find(folder);
        return known != looked.end() ? known->second
                                     : looked.emplace(folder, platform.files.GetFolder(folder)).first->second;
    }
};

// Removes the first entry equal to folder, counting from the front.
void RemoveFirst(std::vector<std::string>& folders, const std::string& folder) {
    const auto first = std::find(folders.begin(), folders.end(), folder);
    if (first != folders.end()) {
        folders.erase(first);
    }
}

void WalkLevel(std::vector<std::string>& folders, bool recurse, Walk& walk) {
    ErrorTrap trap(walk.reporter, "AddFolder", "GetSubDirectories2016", "Marlowdin");
    FileSystem& files = walk.platform.files;
    const std::size_t maxPath = MaxPathOf(walk.style);
    const char separator = SeparatorOf(walk.style);
    std::vector<std::string> found;

    // Indexed, not iterated: a folder that cannot be read is removed, and the walk goes on with the one after it.
    for (std::size_t i = 0; i < folders.size();) {
        const std::string folder = folders[i];
        bool walkable = false;
        trap.Step(100, [&] { walkable = walk.IsKnownFolder(folder); });
        if (!walkable || CountCharacters(folder) >= maxPath) {
            ++i;
            continue;
        }
        trap.Step(102, [&] { walk.platform.eventLoop.YieldToMessageLoop(); });
        FolderInfo info;
        walkable = false;
        trap.Step(104, [&] {
            info = walk.LookUp(folder);
            walkable = info.isRoot || !IsHiddenSystemFolder(info.attributes);
        });
        if (!walkable) {
            ++i;
            continue;
        }
        if (!walk.visited.insert(info.id).second) {
            RemoveFirst(folders, folder);
            continue;
        }
        try {
            std::vector<FolderEntry> entries =
                walk.listings != nullptr ? files.ListFolder(folder) : files.ListSubFolders(folder);
            for (const FolderEntry& entry : entries) {
                if ((entry.attributes & FileAttribute::kDirectory) == 0) {
                    continue;  // a file, for the listings below
                }
                walk.platform.eventLoop.YieldToMessageLoop();
                const std::string& name = entry.name;
                if (CountCharacters(name) >= maxPath || HasUnsafeNameCharacter(name) ||
                    name.find('?') != std::string::npos || name == "." || name == "..") {
                    continue;
                }
                found.push_back(folder + name + separator);
            }
            if (walk.listings != nullptr) {
                KeepMatchingFiles(entries, folder, walk.listings->pattern);
                walk.listings->byFolder.insert_or_assign(folder, std::move(entries));
            }
        } catch (const PlatformError& error) {
            if (error.Number() == ErrorNumber::kPermissionDenied || error.Number() == ErrorNumber::kPathNotFound) {
                RemoveFirst(folders, folder);
                continue;
            }
            // Any other failure ends this folder's subfolder list; the folder itself stays.
        } catch (const std::exception&) {
        }
        ++i;
    }

    if (recurse && !found.empty()) {
        WalkLevel(found, recurse, walk);
    }
    for (const std::string& child : found) {
        bool isFolder = false;
        trap.Step(106, [&] { isFolder = walk.IsKnownFolder(child); });
        if (!isFolder) {
            continue;
        }
        trap.Step(108, [&] { walk.platform.eventLoop.YieldToMessageLoop(); });
        trap.Step(110, [&] {
            const FolderInfo& info = walk.LookUp(child);
            if (info.isRoot || !IsHiddenSystemFolder(info.attributes)) {
                folders.push_back(child);
            }
        });
    }
}

}  // namespace

bool HasUnsafeNameCharacter(std::string_view name) {
    char32_t codePoint = 0;
    for (std::size_t at = 0; at < name.size();) {
        const std::size_t length = DecodeUtf8At(name, at, codePoint);
        if (length == 0 || codePoint < 32 || (codePoint >= 127 && codePoint <= 159) || codePoint == U'?') {
            return true;
        }
        at += length;
    }
    return false;
}

bool MatchesWildcard(std::string_view name, std::string_view pattern) {
    if (MatchGlob(name, pattern)) {
        return true;
    }
    if (name.find('.') != std::string_view::npos) {
        return false;
    }
    // A name without an extension matches as if it ended with a dot: "*.*" and "*." take it.
    if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*") {
        return MatchGlob(name, pattern.substr(0, pattern.size() - 2));
    }
    if (!pattern.empty() && pattern.back() == '.') {
        return MatchGlob(name, pattern.substr(0, pattern.size() - 1));
    }
    return false;
}

bool IsExistingFile(FileSystem& files, const std::string& path) {
    try {
        return IsValidUtf8(path) && files.IsRegularFile(path);
    } catch (...) {
        return false;
    }
}

std::vector<std::string> ListFilesInFolder(FileSystem& files, const std::string& folder, std::string_view pattern,
                                           PathStyle style) {
    // One folder's few files are each asked again by path, so a name that has gone (or become a folder) since the
    // listing is not handed on; the folder scan, with thousands of files, keeps the listing's word instead.
    const std::string prefix = FolderPrefix(folder, style);
    std::vector<std::string> names;
    for (FolderEntry& entry : ListMatchingFiles(files, folder, pattern, style)) {
        if (IsExistingFile(files, prefix + entry.name)) {
            names.push_back(std::move(entry.name));
        }
    }
    return names;
}

void GetSubDirectories2016(std::vector<std::string>& folders, bool recurse, Platform& platform, ErrorReporter& reporter,
                           PathStyle style) {
    Walk walk{platform, reporter, style, {}, {}, nullptr};
    WalkLevel(folders, recurse, walk);
}

void AppendFolderTree(ErrorTrap& trap, int firstStep, const std::string& folder, const std::string& pattern,
                      FileList& list, Platform& platform, ErrorReporter& reporter, PathStyle style) {
    std::vector<std::string> folders;
    trap.Step(firstStep, [&] { folders.push_back(folder + SeparatorOf(style)); });
    FileListings listings{pattern, {}};
    trap.Step(firstStep + 2, [&] {
        Walk walk{platform, reporter, style, {}, {}, &listings};
        WalkLevel(folders, true, walk);
    });
    for (const std::string& entry : folders) {
        const std::string v = entry.substr(0, entry.size() - 1);
        // A folder the walk did not list (not walked, or its listing failed) is listed here.
        const auto listed = listings.byFolder.find(entry);
        std::vector<FolderEntry> unlisted;
        if (listed == listings.byFolder.end()) {
            trap.Step(firstStep + 4, [&] { unlisted = ListMatchingFiles(platform.files, v, pattern, style); });
        }
        for (const FolderEntry& file : listed != listings.byFolder.end() ? listed->second : unlisted) {
            if (file.name.front() == '~' || file.attributes == kHiddenArchiveFile) {
                continue;
            }
            // The join also turns "C:\\name" (and POSIX "//name") after a root into a single separator.
            trap.Step(firstStep + 6, [&] { list.Append(JoinFolderAndName(v, file.name, style)); });
        }
    }
}

void PushButton3_Click(MainWindow& window, FileList& list, Platform& platform, ErrorReporter& reporter,
                       const std::string& applicationTitle, PathStyle style) {
    ErrorTrap trap(reporter, "Form1", "PushButton3_Click");
    std::string answer;
    trap.Step(100, [&] {
        answer = platform.boxes.InputBox(kExtensionPrompt, applicationTitle,
                                         platform.settings.GetSetting(SettingKey::kExtension, "*"));
    });
    if (answer.empty()) {
        return;
    }
    trap.Step(102, [&] { platform.settings.SaveSetting(SettingKey::kExtension, answer); });
    std::string chosen;
    trap.Step(104, [&] {
        chosen = platform.folderPicker.BrowseForFolder(kAddFolderPickerTitle,
                                                       platform.settings.GetSetting(SettingKey::kLastFolder, ""));
    });
    if (chosen.empty()) {
        return;
    }
    trap.Step(106, [&] { platform.settings.SaveSetting(SettingKey::kLastFolder, chosen); });
    // The busy state is the one pointer value a run shows as well: a scan inside a run must not end it.
    bool runShowsHourglass = false;
    trap.Step(108, [&] {
        runShowsHourglass = window.Pointer() == MousePointer::Hourglass;
        window.SetPointer(MousePointer::Hourglass);
    });
    AppendFolderTree(trap, 110, chosen, "*." + answer, list, platform, reporter, style);
    trap.Step(118, [&] {
        if (!runShowsHourglass) {
            window.SetPointer(MousePointer::Default);
        }
    });
}

}  // namespace tabulane
