// The POSIX file system; NativeFileSystemWin.cpp holds the Windows one.
#ifndef _WIN32

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/FileSystem.h"
#include "platform/PlatformError.h"

namespace tabulane {
namespace {

int CurrentUmask() {
    // Read once: new outputs get the permissions an ordinary file creation would give them.
    static const int mask = [] {
        const mode_t old = ::umask(022);
        ::umask(old);
        return static_cast<int>(old);
    }();
    return mask;
}

class FileReader final : public ByteReader {
public:
    FileReader(int fd, std::string path) : m_fd(fd), m_path(std::move(path)) {}
    ~FileReader() override { ::close(m_fd); }

    std::size_t Read(char* buffer, std::size_t size) override {
        for (;;) {
            const ssize_t n = ::read(m_fd, buffer, size);
            if (n >= 0) {
                return static_cast<std::size_t>(n);
            }
            if (errno != EINTR) {
                throw ErrorFromErrno(errno, m_path);
            }
        }
    }

private:
    int m_fd;
    std::string m_path;
};

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file that writing to path really changes: symbolic links are followed one by one, also to a target that
// does not exist yet, so the links themselves stay in place.
std::string FollowLinks(const std::string& path) {
    constexpr int kMaxLinks = 40;  // as the kernel allows before ELOOP
    std::string target = path;
    for (int hops = 0; hops < kMaxLinks; ++hops) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            return target;
        }
        std::string destination(PATH_MAX, '\0');
        const ssize_t length = ::readlink(target.c_str(), destination.data(), destination.size());
        if (length < 0) {
            throw ErrorFromErrno(errno, path);
        }
        destination.resize(static_cast<std::size_t>(length));
        target = destination.front() == '/' ? destination : FolderOf(target) + "/" + destination;
    }
    throw ErrorFromErrno(ELOOP, path);
}

// The target's name as part of the temporary name, shortened so that "." + stem + ".XXXXXX" still fits
// NAME_MAX, cut at a UTF-8 character boundary.
std::string TempStem(const std::string& name) {
    constexpr std::size_t kMaxStem = NAME_MAX - 8;
    if (name.size() <= kMaxStem) {
        return name;
    }
    std::size_t end = kMaxStem;
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) {
        --end;
    }
    return name.substr(0, end);
}

void WriteAll(int fd, const char* data, std::size_t size, const std::string& path) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw ErrorFromErrno(errno, path);
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
}

// Writes to an open descriptor; Commit closes it (and, in the replacing writer, moves the result into place).
class DescriptorWriter : public ByteWriter {
public:
    DescriptorWriter(std::string target, int fd) : m_target(std::move(target)), m_fd(fd) {}
    ~DescriptorWriter() override {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }

    void Write(const char* data, std::size_t size) override { WriteAll(m_fd, data, size, m_target); }

    void Commit() override {
        const int fd = m_fd;
        m_fd = -1;
        if (::close(fd) != 0) {
            throw ErrorFromErrno(errno, m_target);
        }
    }

protected:
    const std::string& Target() const { return m_target; }

private:
    std::string m_target;
    int m_fd;
};

// Writes straight to a target that is not a regular file.
class DirectWriter final : public DescriptorWriter {
public:
    using DescriptorWriter::DescriptorWriter;
};

// Writes to a hidden temporary file beside the target and renames it over the target on Commit,
// so a failed or abandoned conversion never leaves half a file and converting a file onto itself works.
class ReplacingWriter final : public DescriptorWriter {
public:
    ReplacingWriter(std::string target, std::string temp, int fd)
        : DescriptorWriter(std::move(target), fd), m_temp(std::move(temp)) {}

    ~ReplacingWriter() override {
        if (!m_committed) {
            ::unlink(m_temp.c_str());
        }
    }

    void Commit() override {
        DescriptorWriter::Commit();
        if (::rename(m_temp.c_str(), Target().c_str()) != 0) {
            throw ErrorFromErrno(errno, Target());
        }
        m_committed = true;
    }

private:
    std::string m_temp;
    bool m_committed = false;
};

}  // namespace

bool NativeFileSystem::Exists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

namespace {
int AttributesAt(int folderFd, const char* entry, const std::string& name, bool* regularFile);
}  // namespace

int NativeFileSystem::GetAttributes(const std::string& path) {
    if (path.empty()) {
        throw ErrorFromErrno(ENOENT, path);
    }
    return AttributesAt(AT_FDCWD, path.c_str(), NameOf(path), nullptr);
}

std::unique_ptr<ByteReader> NativeFileSystem::OpenRead(const std::string& path) {
    if (path.empty()) {
        throw PlatformError(ErrorNumber::kBadFileName, "Bad file name or number");
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        throw ErrorFromErrno(errno, path);
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        throw PlatformError(ErrorNumber::kPermissionDenied, "Permission denied: " + path);
    }
#ifdef POSIX_FADV_SEQUENTIAL
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
    return std::make_unique<FileReader>(fd, path);
}

std::unique_ptr<ByteWriter> NativeFileSystem::CreateReplacing(const std::string& path) {
    if (path.empty()) {
        throw PlatformError(ErrorNumber::kBadFileName, "Bad file name or number");
    }
    const std::string target = FollowLinks(path);
    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists) {
        if (S_ISDIR(st.st_mode)) {
            throw PlatformError(ErrorNumber::kPermissionDenied, "Permission denied: " + path + " is a folder");
        }
        if (!S_ISREG(st.st_mode)) {
            // A device or pipe (/dev/stdout, a FIFO) is written to as it is: renaming over it would replace the node.
            const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
            if (fd < 0) {
                throw ErrorFromErrno(errno, path);
            }
            return std::make_unique<DirectWriter>(target, fd);
        }
        // A file without any write permission bit is read-only, for the superuser too (as the attribute is on Windows).
        if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
            throw PlatformError(ErrorNumber::kPermissionDenied, "Permission denied: " + path);
        }
        if (::access(target.c_str(), W_OK) != 0) {
            throw ErrorFromErrno(errno, path);
        }
    }
    std::string temp = FolderOf(target) + "/." + TempStem(NameOf(target)) + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        if (err == ENOENT) {
            throw PlatformError(ErrorNumber::kPathNotFound, "Path not found: " + path);
        }
        throw ErrorFromErrno(err, path);
    }
    if (exists) {
        // The replacement keeps the old file's owner where allowed (it matters when run by the superuser),
        // then its permission bits; chown first, as it clears set-id bits.
        [[maybe_unused]] const int ignored = ::fchown(fd, st.st_uid, st.st_gid);
        ::fchmod(fd, st.st_mode & 07777);
    } else {
        ::fchmod(fd, static_cast<mode_t>(0666 & ~CurrentUmask()));
    }
    return std::make_unique<ReplacingWriter>(target, temp, fd);
}

namespace {

// Folder calls name a missing folder "Path not found", as the folder walk expects.
PlatformError FolderError(int errnoValue, const std::string& path) {
    if (errnoValue == ENOENT || errnoValue == ENOTDIR) {
        return PlatformError(ErrorNumber::kPathNotFound, "Path not found: " + path);
    }
    return ErrorFromErrno(errnoValue, path);
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
    if (!name.empty() && name[0] == '.' && name != "." && name != "..") {
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

std::vector<FolderEntry> NativeFileSystem::ListFolder(const std::string& path) {
    return List(path, false);
}

std::vector<FolderEntry> NativeFileSystem::ListSubFolders(const std::string& path) {
    return List(path, true);
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
        // The entry's type comes with the listing on most file systems: a plain file needs no look of its own.
        if (foldersOnly && entry->d_type != DT_DIR && entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN) {
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
