// The POSIX file system: status, reading and the writers; NativeFolders.cpp holds the attributes and folder
// listings, TemporaryNames.cpp the names of temporary files and their removal on signals, NativeFileSystemWin.cpp
// the Windows file system. The reader and the three writers stay together: they share the rules for descriptors the
// program already holds, which are easiest to check side by side.
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
#include "platform/TemporaryNames.h"

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

// The descriptor a path names when it stands for one the program already holds (/dev/stdout, /dev/fd/3,
// /proc/self/fd/1), else -1. Opening those anew would start a pipe or socket over, or replace the file the shell
// opened for ">>" instead of appending to it.
int HeldDescriptor(const std::string& path) {
    if (path == "/dev/stdin") {
        return 0;
    }
    if (path == "/dev/stdout") {
        return 1;
    }
    if (path == "/dev/stderr") {
        return 2;
    }
    for (const std::string prefix : {"/dev/fd/", "/proc/self/fd/"}) {
        if (path.size() > prefix.size() && path.size() <= prefix.size() + 9 && path.starts_with(prefix) &&
            path.find_first_not_of("0123456789", prefix.size()) == std::string::npos) {
            return std::atoi(path.c_str() + prefix.size());
        }
    }
    return -1;
}

// A descriptor of our own for a held one, so closing it leaves the original open.
int DuplicateHeld(int held, const std::string& path) {
    const int fd = ::fcntl(held, F_DUPFD_CLOEXEC, 3);
    if (fd < 0) {
        throw ErrorFromErrno(errno, path);
    }
    return fd;
}

const char* KindOfEntry(mode_t mode) {
    if (S_ISFIFO(mode)) {
        return "a named pipe (FIFO)";
    }
    if (S_ISCHR(mode)) {
        return "a character device";
    }
    if (S_ISBLK(mode)) {
        return "a block device";
    }
    if (S_ISSOCK(mode)) {
        return "a socket";
    }
    return "not a file";
}

PlatformError NotRegularFile(const std::string& path, mode_t mode) {
    return PlatformError(ErrorNumber::kPathFileAccess,
                         "Path/File access error: " + path + " is " + KindOfEntry(mode) + ", not a regular file");
}

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
        // A held descriptor's link may name a pipe ("pipe:[123]"), not a path: it is written through the descriptor.
        if (HeldDescriptor(target) >= 0 || ::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
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

// Writes straight to a target that is not a regular file, or through a descriptor the program holds.
class DirectWriter final : public DescriptorWriter {
public:
    using DescriptorWriter::DescriptorWriter;
};

// Writes to a hidden temporary file beside the target and renames it over the target on Commit,
// so a failed or abandoned conversion never leaves half a file and converting a file onto itself works.
class ReplacingWriter final : public DescriptorWriter {
public:
    ReplacingWriter(std::string target, std::string temp, int fd)
        : DescriptorWriter(std::move(target), fd), m_temp(std::move(temp)), m_slot(RegisterTemporaryName(m_temp)) {}

    ~ReplacingWriter() override {
        if (!m_committed) {
            ::unlink(m_temp.c_str());
        }
        ReleaseTemporaryName(m_slot);
    }

    void Commit() override {
        DescriptorWriter::Commit();
        if (::rename(m_temp.c_str(), Target().c_str()) != 0) {
            throw ErrorFromErrno(errno, Target());
        }
        m_committed = true;
        // The name is free again and may be another writer's next: it must not be removed at exit.
        ReleaseTemporaryName(m_slot);
        m_slot = -1;
    }

private:
    std::string m_temp;
    int m_slot;
    bool m_committed = false;
};

// Writes to an unnamed file in the target's folder and names it only on Commit: linked under a hidden temporary
// name, then renamed over the target (a link cannot replace a file). Until then the file has no name to leave.
class UnnamedWriter final : public DescriptorWriter {
public:
    UnnamedWriter(std::string target, int fd) : DescriptorWriter(std::move(target), fd), m_fd(fd) {}

    void Commit() override {
        const std::string self = "/proc/self/fd/" + std::to_string(m_fd);
        std::string temp = TemporaryName(FolderOf(Target()), NameOf(Target()));
        int linked = -1;
        for (int attempt = 0; attempt < 100 && linked != 0; ++attempt) {
            FillRandomSuffix(temp);
            linked = ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temp.c_str(), AT_SYMLINK_FOLLOW);
            if (linked != 0 && errno != EEXIST) {
                break;
            }
        }
        if (linked != 0) {
            throw ErrorFromErrno(errno, Target());
        }
        const int slot = RegisterTemporaryName(temp);
        const int renamed = ::rename(temp.c_str(), Target().c_str());
        const int renameError = errno;
        if (renamed != 0) {
            ::unlink(temp.c_str());
        }
        ReleaseTemporaryName(slot);
        if (renamed != 0) {
            throw ErrorFromErrno(renameError, Target());
        }
        DescriptorWriter::Commit();
    }

private:
    int m_fd;
};

// An unnamed file in folder, or -1 where the file system or kernel cannot make one, or /proc (needed to name it
// at commit) is not mounted.
int OpenUnnamedFile(const std::string& folder) {
#ifdef O_TMPFILE
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0) {
        return -1;
    }
    struct stat st {};
    if (::stat(("/proc/self/fd/" + std::to_string(fd)).c_str(), &st) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
#else
    static_cast<void>(folder);
    return -1;
#endif
}

}  // namespace

bool NativeFileSystem::Exists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

std::unique_ptr<ByteReader> NativeFileSystem::OpenRead(const std::string& path, InputKind kind) {
    if (path.empty()) {
        throw PlatformError(ErrorNumber::kBadFileName, "Bad file name or number");
    }
    const bool regularOnly = kind == InputKind::RegularFile;
    if (!regularOnly && HeldDescriptor(path) >= 0) {
        return std::make_unique<FileReader>(DuplicateHeld(HeldDescriptor(path), path), path);
    }
    struct stat st {};
    if (regularOnly && ::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) {
        throw NotRegularFile(path, st.st_mode);  // refused before opening: a FIFO without a writer would block
    }
    // Non-blocking, in case the entry changed into a FIFO since it was looked at; the mode is checked again below.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | (regularOnly ? O_NONBLOCK : 0));
    if (fd < 0) {
        throw ErrorFromErrno(errno, path);
    }
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        throw PlatformError(ErrorNumber::kPermissionDenied, "Permission denied: " + path);
    }
    if (regularOnly) {
        if (!S_ISREG(st.st_mode)) {
            ::close(fd);
            throw NotRegularFile(path, st.st_mode);
        }
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
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
    if (const int held = HeldDescriptor(target); held >= 0) {
        // Written in place at the descriptor's own position: a pipe works, ">>" appends, ">" was truncated.
        const int fd = DuplicateHeld(held, path);
        if ((::fcntl(fd, F_GETFL) & O_ACCMODE) == O_RDONLY) {
            ::close(fd);
            throw PlatformError(ErrorNumber::kPermissionDenied,
                                "Permission denied: " + path + " is open for reading only");
        }
        return std::make_unique<DirectWriter>(target, fd);
    }
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
    std::string temp = TemporaryName(FolderOf(target), NameOf(target));
    const int unnamed = m_temporaries == TemporaryFiles::Unnamed ? OpenUnnamedFile(FolderOf(target)) : -1;
    const int fd = unnamed >= 0 ? unnamed : ::mkostemp(temp.data(), O_CLOEXEC);
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
    if (unnamed >= 0) {
        return std::make_unique<UnnamedWriter>(target, fd);
    }
    return std::make_unique<ReplacingWriter>(target, temp, fd);
}

}  // namespace tabulane

#endif  // _WIN32
