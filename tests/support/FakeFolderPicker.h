#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/FolderPicker.h"

namespace tabulane::test {

// Answers the folder picker from a queue ("" = cancel once the queue is empty) and records each opening.
class FakeFolderPicker final : public FolderPicker {
public:
    struct Opened {
        std::string title;
        std::string startFolder;
    };

    std::string BrowseForFolder(const std::string& title, const std::string& startFolder) override {
        opened.push_back({title, startFolder});
        if (answers.empty()) {
            return {};
        }
        std::string answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::deque<std::string> answers;
    std::vector<Opened> opened;
};

}  // namespace tabulane::test
