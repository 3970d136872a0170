#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/FilePicker.h"
#include "platform/PlatformError.h"

namespace tabulane::test {

// Answers the file-open dialog from a queue (an empty answer, or an empty queue, is a cancel) and records
// each opening. failWith, when non-zero, makes the next opening throw that error number instead.
class FakeFilePicker final : public FilePicker {
public:
    struct Opened {
        std::string title;
        std::string filter;
        bool multiSelect;
    };

    std::vector<std::string> PickFiles(const std::string& title, const std::string& filter, bool multiSelect) override {
        opened.push_back({title, filter, multiSelect});
        if (failWith != 0) {
            const int number = failWith;
            failWith = 0;
            throw PlatformError(number, "The dialog refused");
        }
        if (answers.empty()) {
            return {};
        }
        std::vector<std::string> answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::deque<std::vector<std::string>> answers;
    std::vector<Opened> opened;
    int failWith = 0;
};

}  // namespace tabulane::test
