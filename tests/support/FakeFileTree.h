#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/PlatformError.h"

namespace tabulane::test {

// An in-memory tree of Windows-style paths with any attributes, for what a POSIX file system cannot make (system
// folders, drive roots) and for listings that fail with a chosen error. Doubled separators read as one.
class FakeFileTree final : public FileSystem {
public:
    struct Node {
        int attributes = 0;
        bool isRoot = false;
        int listError = 0;  // ListFolder throws this error number when not 0
        std::uint64_t id = 0;
    };

    void AddRoot(const std::string& path, int attributes = FileAttribute::kDirectory) {
        Add(path, {attributes, true, 0, 0});
    }
    void AddFolder(const std::string& path, int attributes = FileAttribute::kDirectory, int listError = 0) {
        Add(path, {attributes, false, listError, 0});
    }
    void AddFile(const std::string& path, int attributes = FileAttribute::kArchive) {
        Add(path, {attributes, false, 0, 0});
    }

    bool Exists(const std::string& path) override { return m_nodes.count(Key(path)) != 0; }
    int GetAttributes(const std::string& path) override { return Find(path, ErrorNumber::kFileNotFound).attributes; }
    std::unique_ptr<ByteReader> OpenRead(const std::string&, InputKind) override {
        throw PlatformError(70, "not in the fake");
    }
    std::unique_ptr<ByteWriter> CreateReplacing(const std::string&) override {
        throw PlatformError(70, "not in the fake");
    }
    bool IsRegularFile(const std::string& path) override {
        const auto node = m_nodes.find(Key(path));
        return node != m_nodes.end() && (node->second.attributes & FileAttribute::kDirectory) == 0 &&
               goneAfterListing.count(Key(path)) == 0;
    }
    // GetFolder on path throws errorNumber from now on (the folder test still passes).
    void FailGetFolder(const std::string& path, int errorNumber) { m_folderErrors[Key(path)] = errorNumber; }

    FolderInfo GetFolder(const std::string& path) override {
        if (const auto error = m_folderErrors.find(Key(path)); error != m_folderErrors.end()) {
            throw PlatformError(error->second, "refused: " + path);
        }
        const Node& node = Folder(path);
        return {node.attributes, node.isRoot, {1, node.id}};
    }
    std::vector<FolderEntry> ListFolder(const std::string& path) override {
        ++listings[Key(path)];
        const Node& node = Folder(path);
        if (node.listError != 0) {
            throw PlatformError(node.listError, "listing refused: " + path);
        }
        std::vector<FolderEntry> entries;
        const std::string prefix = Key(path).back() == '\\' ? Key(path) : Key(path) + '\\';
        for (const auto& [key, child] : m_nodes) {
            if (key.size() > prefix.size() && key.compare(0, prefix.size(), prefix) == 0 &&
                key.find('\\', prefix.size()) == std::string::npos) {
                entries.push_back(
                    {key.substr(prefix.size()), child.attributes, (child.attributes & FileAttribute::kDirectory) == 0});
            }
        }
        SortListing(entries);
        return entries;
    }

    std::vector<FolderEntry> ListSubFolders(const std::string& path) override {
        std::vector<FolderEntry> folders = ListFolder(path);
        std::erase_if(folders,
                      [](const FolderEntry& entry) { return (entry.attributes & FileAttribute::kDirectory) == 0; });
        return folders;
    }

    std::map<std::string, int> listings;  // how often each folder was listed
    // Files a listing still shows but that are gone when asked by path (removed in between).
    std::set<std::string> goneAfterListing;

private:
    // "C:\\Sub\" and "C:\Sub" name the same folder; a drive root keeps its separator ("C:\").
    static std::string Key(const std::string& path) {
        std::string key;
        for (const char c : path) {
            if (!(c == '\\' && !key.empty() && key.back() == '\\')) {
                key += c;
            }
        }
        if (key.size() > 1 && key.back() == '\\' && key[key.size() - 2] != ':') {
            key.pop_back();
        }
        return key;
    }
    void Add(const std::string& path, Node node) {
        node.id = m_nodes.size() + 1;
        m_nodes[Key(path)] = node;
    }
    const Node& Find(const std::string& path, int missingError) const {
        const auto node = m_nodes.find(Key(path));
        if (node == m_nodes.end()) {
            throw PlatformError(missingError, "not found: " + path);
        }
        return node->second;
    }
    const Node& Folder(const std::string& path) const {
        const Node& node = Find(path, ErrorNumber::kPathNotFound);
        if ((node.attributes & FileAttribute::kDirectory) == 0) {
            throw PlatformError(ErrorNumber::kPathNotFound, "no folder: " + path);
        }
        return node;
    }

    std::map<std::string, Node> m_nodes;
    std::map<std::string, int> m_folderErrors;
};

}  // namespace tabulane::test
