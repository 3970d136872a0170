#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/MessageBoxes.h"

namespace tabulane::test {

// Records every box shown and answers from queues (Yes/No questions answer No, input boxes "" when empty).
class FakeMessageBoxes final : public MessageBoxes {
public:
    struct Shown {
        std::string text;
        std::string caption;
        BoxIcon icon;
        BoxButtons buttons;
    };
    struct Asked {
        std::string prompt;
        std::string title;
        std::string preset;
    };

    BoxAnswer ShowMessage(const std::string& text, const std::string& caption, BoxIcon icon,
                          BoxButtons buttons) override {
        shown.push_back({text, caption, icon, buttons});
        if (buttons == BoxButtons::Ok) {
            return BoxAnswer::Ok;
        }
        if (answers.empty()) {
            return BoxAnswer::No;
        }
        const BoxAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::string InputBox(const std::string& prompt, const std::string& title, const std::string& preset) override {
        asked.push_back({prompt, title, preset});
        if (inputs.empty()) {
            return {};
        }
        std::string answer = inputs.front();
        inputs.pop_front();
        return answer;
    }

    // The texts of the "Application Error" boxes shown so far.
    std::vector<std::string> ErrorTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : shown) {
            if (box.caption == "Application Error") {
                texts.push_back(box.text);
            }
        }
        return texts;
    }

    std::vector<Shown> shown;
    std::vector<Asked> asked;
    std::deque<BoxAnswer> answers;
    std::deque<std::string> inputs;
};

}  // namespace tabulane::test
