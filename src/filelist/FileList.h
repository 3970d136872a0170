#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tabulane {

// Told about every change of a FileList, before and after it, so a view can keep its rows in step
// (a Qt model brackets the change with beginInsertRows/endInsertRows and the like).
class FileListObserver {
public:
    virtual ~FileListObserver() = default;

    // Positions first..last (1-based) are about to be added at the end.
    virtual void EntriesAboutToBeAppended(int first, int last) = 0;
    virtual void EntriesAppended() = 0;
    virtual void EntryAboutToBeRemoved(int position) = 0;
    virtual void EntryRemoved() = 0;
    virtual void AboutToClear() = 0;
    virtual void Cleared() = 0;
};

// The input files of a batch run, in insertion order, duplicates allowed. Positions run from 1 to Count().
// All texts share one character buffer, so a long list costs its path text plus a few bytes per entry.
class FileList {
public:
    FileList() = default;
    FileList(const FileList&) = delete;
    FileList& operator=(const FileList&) = delete;

    // Adds one entry at the end (amortised constant time). Throws PlatformError when the list is full.
    void Append(std::string_view text);
    int Count() const { return static_cast<int>(m_ends.size()); }
    // The text at position 1..Count(); throws PlatformError (ErrorNumber::kIndexOutOfBounds) for any other position.
    std::string EntryText(int position) const;
    // The same text without a copy; valid only until the list next changes.
    std::string_view EntryView(int position) const;
    // Removes the entry at 1..Count(); later entries move up by one. Throws for any other position.
    void RemoveAt(int position);
    // Removes every entry and gives their memory back.
    void Clear();

    // At most one observer; nullptr detaches it. The observer must outlive its attachment.
    void SetObserver(FileListObserver* observer) { m_observer = observer; }

private:
    void CheckPosition(int position) const;
    std::size_t BeginOf(std::size_t index) const { return index == 0 ? 0 : m_ends[index - 1]; }

    std::string m_text;                 // every entry's text, one after the other
    std::vector<std::uint64_t> m_ends;  // m_ends[i]: offset just past entry i+1 in m_text
    FileListObserver* m_observer = nullptr;
};

// True when some entry's text equals text exactly: whole text, case-sensitive, no normalisation.
bool IsInFileList(const FileList& list, std::string_view text);

}  // namespace tabulane
