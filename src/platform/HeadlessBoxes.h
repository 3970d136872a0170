#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

#include "platform/MessageBoxes.h"

namespace tabulane {

// The text with each line break (CR LF, lone CR or LF) as one '\n'.
std::string NormaliseLineBreaks(std::string_view text);

// Writes a box as a headless run shows it: the caption (when there is one) and the text, each line break of the
// text (CR LF, lone CR or LF) as one new line.
void WriteHeadlessBox(std::ostream& out, const std::string& caption, const std::string& text);

// Boxes for a run without a screen: each is written to the error stream and answered at once, as nobody is there
// to answer it: OK for OK boxes, No for questions, "" for input boxes.
class HeadlessBoxes final : public MessageBoxes {
public:
    explicit HeadlessBoxes(std::ostream& errors) : m_errors(errors) {}

    BoxAnswer ShowMessage(const std::string& text, const std::string& caption, BoxIcon icon,
                          BoxButtons buttons) override;
    std::string InputBox(const std::string& prompt, const std::string& title, const std::string& preset) override;

private:
    std::ostream& m_errors;
};

}  // namespace tabulane
