#include "platform/HeadlessBoxes.h"

#include <ostream>

namespace tabulane {

std::string NormaliseLineBreaks(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            result += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            result += text[i];
        }
    }
    return result;
}

void WriteHeadlessBox(std::ostream& out, const std::string& caption, const std::string& text) {
    if (!caption.empty()) {
        out << caption << '\n';
    }
    out << NormaliseLineBreaks(text) << '\n';
    out.flush();
}

BoxAnswer HeadlessBoxes::ShowMessage(const std::string& text, const std::string& caption, BoxIcon, BoxButtons buttons) {
    WriteHeadlessBox(m_errors, caption, text);
    return buttons == BoxButtons::Ok ? BoxAnswer::Ok : BoxAnswer::No;
}

std::string HeadlessBoxes::InputBox(const std::string& prompt, const std::string& title, const std::string&) {
    WriteHeadlessBox(m_errors, title, prompt);
    return {};
}

}  // namespace tabulane
