#pragma once

#include <string>
#include <vector>

#include "filelist/FileList.h"

namespace tabulane::test {

// The texts of a list from the first position to the last.
inline std::vector<std::string> EntriesOf(const FileList& list) {
    std::vector<std::string> entries;
    for (int position = 1; position <= list.Count(); ++position) {
        entries.push_back(list.EntryText(position));
    }
    return entries;
}

}  // namespace tabulane::test
