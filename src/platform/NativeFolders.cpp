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

// The attributes of entry (a path, or a name inside the folder open as folderFd), derived from its status; a link
// adds the alias bit to its target's bits. regularFile, when given, tells whether it is (or leads to) a regular file.
int AttributesAt(int folderFd, const char* entry, const std::string& name, bool* regularFile) {
    struct stat st {};
    if (::fstatat(folderFd, entry, &st, AT_SYMLINK_NOFOLLOW) != 0) {
        throw ErrorFromErrno(errno, entry);
    }
    int attributes = 0;
    if (S_ISLNK(st.st_mode)) {
        attributes |= FileAttribute::kAlias;
        struct stat target {};
        if (::fstatat(folderFd, entry, &target, 0) == 0) {
            st = target;
        }
    }
    if (S_ISDIR(st.st_mode)) {
        attributes |= FileAttribute::kDirectory;
    } else if (S_ISREG(st.st_mode)) {
        attributes |= FileAttribute::kArchive;
    }
    if (IsHiddenName(name)) {
        attributes |= FileAttribute::kHidden;
    }
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        attributes |= FileAttribute::kReadOnly;
    }
    if (regularFile != nullptr) {
        *regularFile = S_ISREG(st.st_mode);
    }
    return attributes;
}

struct DirectoryCloser {
    void operator()(DIR* directory) const { ::closedir(directory); }
};

}  // namespace

int NativeFileSystem::GetAttributes(const std::string& path) {
    if (path.empty()) {
        throw ErrorFromErrno(ENOENT, path);
    }
    const auto slash = path.find_last_of('/');
    return AttributesAt(AT_FDCWD, path.c_str(), slash == std::string::npos ? path : path.substr(slash + 1), nullptr);
}

bool NativeFileSystem::IsRegularFile(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

FolderInfo NativeFileSystem::GetFolder(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0) {
        throw FolderError(path.empty() ? ENOENT : errno, path);
    }
    if (!S_ISDIR(st.st_mode)) {
        throw FolderError(ENOTDIR, path);
    }
    // The walk hands folders over with a trailing separator; the name decides the hidden bit.
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/') {
        trimmed.pop_back();
    }
    FolderInfo info;
    info.attributes = GetAttributes(trimmed);
    info.id = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
    struct stat root {};
    info.isRoot = ::stat("/", &root) == 0 && root.st_dev == st.st_dev && root.st_ino == st.st_ino;
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
        try {
            bool regularFile = false;
            // Relative to the open folder: no walk down the whole path for every entry.
            const int attributes = AttributesAt(::dirfd(directory.get()), entry->d_name, name, &regularFile);
            if (!foldersOnly || (attributes & FileAttribute::kDirectory) != 0) {
                entries.push_back({std::move(name), attributes, regularFile});
            }
        } catch (const PlatformError&) {
            // Removed between reading the folder and looking at the entry: it is no longer there to list.
        }
    }
    SortListing(entries);
    return entries;
}

}  // namespace tabulane

#endif  // _WIN32
