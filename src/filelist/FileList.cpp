#include "filelist/FileList.h"

#include <algorithm>
#include <limits>

#include "platform/PlatformError.h"

namespace tabulane {

void FileList::Append(std::string_view text) {
    // The count is a 32-bit number; one more entry could not be addressed.
    if (m_ends.size() >= static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        throw PlatformError(ErrorNumber::kOutOfMemory, "Out of memory");
    }
    const int position = Count() + 1;
    // Reserve first so a failed allocation leaves the list and any observer as they were.
    if (m_ends.size() == m_ends.capacity()) {
        m_ends.reserve(std::max<std::size_t>(16, m_ends.capacity() * 2));
    }
    if (m_text.size() + text.size() > m_text.capacity()) {
        m_text.reserve(std::max(m_text.size() + text.size(), m_text.capacity() * 2));
    }
    if (m_observer != nullptr) {
        m_observer->EntriesAboutToBeAppended(position, position);
    }
    m_text.append(text);
    m_ends.push_back(m_text.size());
    if (m_observer != nullptr) {
        m_observer->EntriesAppended();
    }
}

void FileList::CheckPosition(int position) const {
    if (position < 1 || position > Count()) {
        throw PlatformError(ErrorNumber::kIndexOutOfBounds, "Index out of bounds");
    }
}

std::string_view FileList::EntryView(int position) const {
    CheckPosition(position);
    const auto index = static_cast<std::size_t>(position - 1);
    const std::size_t begin = BeginOf(index);
    return std::string_view(m_text).substr(begin, m_ends[index] - begin);
}

std::string FileList::EntryText(int position) const {
    return std::string(EntryView(position));
}

void FileList::RemoveAt(int position) {
    CheckPosition(position);
    if (m_observer != nullptr) {
        m_observer->EntryAboutToBeRemoved(position);
    }
    const auto index = static_cast<std::size_t>(position - 1);
    const std::size_t begin = BeginOf(index);
    const std::size_t length = m_ends[index] - begin;
    m_text.erase(begin, length);
    m_ends.erase(m_ends.begin() + static_cast<std::ptrdiff_t>(index));
    for (auto it = m_ends.begin() + static_cast<std::ptrdiff_t>(index); it != m_ends.end(); ++it) {
        *it -= length;
    }
    if (m_observer != nullptr) {
        m_observer->EntryRemoved();
    }
}

void FileList::Clear() {
    if (m_observer != nullptr) {
        m_observer->AboutToClear();
    }
    // Swapping with empty containers returns the memory; clear() would keep a million entries' worth.
    std::string().swap(m_text);
    std::vector<std::uint64_t>().swap(m_ends);
    if (m_observer != nullptr) {
        m_observer->Cleared();
    }
}

bool IsInFileList(const FileList& list, std::string_view text) {
    for (int position = 1; position <= list.Count(); ++position) {
        if (list.EntryView(position) == text) {
            return true;
        }
    }
    return false;
}

}  // namespace tabulane
