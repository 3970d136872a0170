// The POSIX attributes and folder listings of NativeFileSystem (the rest is in NativeFileSystem.cpp).
#ifndef _WIN32

#include <cerrno>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/FileSystem.h"
#include "platform/PlatformError.h"

namespace tabulane {

namespace {

// Folder calls name a missing folder "Path not found", as the folder walk expects.
PlatformError FolderError(int errnoValue, const std::string& path) {
    if (errnoValue == ENOENT || errnoValue == ENOTDIR) {
        return PlatformError(ErrorNumber::kPathNotFound, "Path not found: " + path);
    }
    return ErrorFromErrno(errnoValue, path);
}

// A name that starts with "." is hidden, as the hidden attribute would make it on Windows.
bool IsHiddenName(const std::string& name) {
    return !name.empty() && name[0] == '.' && name != "." && name != "..";
}

// An entry's own status (a link's, not followed) and that of what it leads to: the same unless it is a link
// whose target exists.
struct EntryStatus {
    struct stat own {};
    struct stat target {};
};

// The status of entry (a path, or a name inside the folder open as folderFd); false with errno set when there is none.
bool ReadStatus(int folderFd, const char* entry, EntryStatus& status) {
    if (::fstatat(folderFd, entry, &status.own, AT_SYMLINK_NOFOLLOW) != 0) {
        return false;
    }
    if (!S_ISLNK(status.own.st_mode) || ::fstatat(folderFd, entry, &status.target, 0) != 0) {
        status.target = status.own;
    }
    return true;
}

// The attribute bits of an entry named name: a link adds the alias bit to its target's bits.
int AttributesOf(const EntryStatus& status, const std::string& name) {
    int attributes = S_ISLNK(status.own.st_mode) ? FileAttribute::kAlias : 0;
    const mode_t mode = status.target.st_mode;
    if (S_ISDIR(mode)) {
        attributes |= FileAttribute::kDirectory;
    } else if (S_ISREG(mode)) {
        attributes |= FileAttribute::kArchive;
    }
    if (IsHiddenName(name)) {
        attributes |= FileAttribute::kHidden;
    }
    if ((mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        attributes |= FileAttribute::kReadOnly;
    }
    return attributes;
}

std::string NameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The root folder's identity, read once: it does not change while the program runs.
FolderId RootId() {
    static const FolderId root = [] {
        struct stat st {};
        return ::stat("/", &st) == 0
                   ? FolderId{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)}
                   : FolderId{~std::uint64_t{0}, ~std::uint64_t{0}};
    }();
    return root;
}

struct DirectoryCloser {
    void operator()(DIR* directory) const { ::closedir(directory); }
};

}  // namespace

int NativeFileSystem::GetAttributes(const std::string& path) {
    EntryStatus status;
    if (path.empty() || !ReadStatus(AT_FDCWD, path.c_str(), status)) {
        throw ErrorFromErrno(path.empty() ? ENOENT : errno, path);
    }
    return AttributesOf(status, NameOf(path));
}

bool NativeFileSystem::IsRegularFile(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

FolderInfo NativeFileSystem::GetFolder(const std::string& path) {
    // The walk hands folders over with a trailing separator; the name decides the hidden bit.
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/') {
        trimmed.pop_back();
    }
    // One look at the entry itself serves for its attributes and its identity; only a link needs a second.
    EntryStatus status;
    if (trimmed.empty() || !ReadStatus(AT_FDCWD, trimmed.c_str(), status)) {
        throw FolderError(trimmed.empty() ? ENOENT : errno, path);
    }
    if (!S_ISDIR(status.target.st_mode)) {
        throw FolderError(ENOTDIR, path);
    }
    FolderInfo info;
    info.attributes = AttributesOf(status, NameOf(trimmed));
    info.id = {static_cast<std::uint64_t>(status.target.st_dev), static_cast<std::uint64_t>(status.target.st_ino)};
    info.isRoot = info.id == RootId();
    return info;
}

std::vector<FolderEntry> NativeFileSystem::List(const std::string& path, bool foldersOnly) {
    if (path.empty()) {
        throw FolderError(ENOENT, path);
    }
    const std::unique_ptr<DIR, DirectoryCloser> directory(::opendir(path.c_str()));
    if (!directory) {
        throw FolderError(errno, path);
    }
    std::vector<FolderEntry> entries;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(directory.get());
        if (entry == nullptr) {
            if (errno != 0) {
                throw FolderError(errno, path);
            }
            break;
        }
        std::string name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        // The entry's type comes with the listing on most file systems; its status is read only where it can decide
        // something: a hidden name (read-only makes 35 of 34), a link (its target's type) or an untyped entry.
        const unsigned char type = entry->d_type;
        const bool examine = type == DT_LNK || type == DT_UNKNOWN || IsHiddenName(name);
        if (!examine) {
            if (type == DT_DIR) {
                entries.push_back({std::move(name), FileAttribute::kDirectory, false});
            } else if (!foldersOnly) {
                const bool regularFile = type == DT_REG;
                entries.push_back({std::move(name), regularFile ? FileAttribute::kArchive : 0, regularFile});
            }
            continue;
        }
        // Relative to the open folder: no walk down the whole path for every entry. An entry removed between reading
        // the folder and looking at it is no longer there to list.
        EntryStatus status;
        if (!ReadStatus(::dirfd(directory.get()), entry->d_name, status)) {
            continue;
        }
        const int attributes = AttributesOf(status, name);
        if (!foldersOnly || (attributes & FileAttribute::kDirectory) != 0) {
            entries.push_back({std::move(name), attributes, S_ISREG(status.target.st_mode) != 0});
        }
    }
    SortListing(entries);
    return entries;
}

}  // namespace tabulane

#endif  // _WIN32
