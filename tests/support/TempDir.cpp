#include "support/TempDir.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace tabulane::test {

TempDir::TempDir() {
    // create_directory fails on an existing name, so a taken name is simply tried again (Windows has no mkdtemp).
    std::random_device random;
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::path candidate = base / ("tabulane-test-" + std::to_string(random()));
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error)) {
            m_path = std::move(candidate);
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::path tree = m_path;
#ifdef _WIN32
    // The long form reaches below MAX_PATH, where some tests write; and Windows refuses to delete a read-only file.
    tree = LR"(\\?\)" + m_path.wstring();
    for (auto entry = std::filesystem::recursive_directory_iterator(tree, ignored);
         entry != std::filesystem::recursive_directory_iterator(); entry.increment(ignored)) {
        ::SetFileAttributesW(entry->path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
#endif
    std::filesystem::permissions(tree, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(tree, ignored);
}

std::string TempDir::File(const std::string& name) const {
    const std::u8string text = (m_path / PathFromText(name)).make_preferred().u8string();
    return std::string(text.begin(), text.end());
}

std::filesystem::path PathFromText(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string NativePath(const std::string& posixPath) {
#ifdef _WIN32
    std::string path = posixPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path.starts_with('\\') ? "C:" + path : path;
#else
    return posixPath;
#endif
}

bool RunningUnderWine() {
#ifdef _WIN32
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
    return false;
#endif
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(PathFromText(path), std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(PathFromText(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

#ifndef _WIN32
int BindUnixSocket(const std::string& path) {
    sockaddr_un address{};
    if (path.size() >= sizeof address.sun_path) {
        return -1;
    }
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd >= 0 && ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}
#endif

}  // namespace tabulane::test
