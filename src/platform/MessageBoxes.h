#pragma once

#include <string>

namespace tabulane {

enum class BoxIcon { None, Exclamation, Information, Question, Critical };
enum class BoxButtons { Ok, YesNo };
enum class BoxAnswer { Ok, Yes, No };

// Modal message and input boxes. Cancelling an input box gives the empty text.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;

    virtual BoxAnswer ShowMessage(const std::string& text, const std::string& caption, BoxIcon icon,
                                  BoxButtons buttons) = 0;
    virtual std::string InputBox(const std::string& prompt, const std::string& title, const std::string& preset) = 0;
};

}  // namespace tabulane
