#pragma once

#include <iosfwd>
#include <memory>
#include <string>

#include "platform/HeadlessBoxes.h"
#include "platform/MessageBoxes.h"

namespace tabulane {

// The module beside the program that shows boxes on the screen with Qt, and its entry point: it starts Qt for the
// process on its first call and returns boxes that live as long as the process.
inline constexpr const char* kScreenBoxesModule = "tabulane-boxes.so";
inline constexpr const char* kScreenBoxesEntry = "TabulaneScreenBoxes";
using ScreenBoxesEntry = MessageBoxes* (*)(int* argc, char** argv);

// Boxes on the screen for a program that does not link Qt: the module is loaded at the first box, so a run that
// shows none never loads Qt. If the module cannot be loaded the boxes go to the error stream, after one line that
// says why.
class OnDemandScreenBoxes final : public MessageBoxes {
public:
    // argc and argv are handed to Qt and must outlive the boxes.
    OnDemandScreenBoxes(std::string modulePath, int& argc, char** argv, std::ostream& errors);

    BoxAnswer ShowMessage(const std::string& text, const std::string& caption, BoxIcon icon,
                          BoxButtons buttons) override;
    std::string InputBox(const std::string& prompt, const std::string& title, const std::string& preset) override;

private:
    MessageBoxes& Boxes();

    std::string m_modulePath;
    int& m_argc;
    char** m_argv;
    std::ostream& m_errors;
    HeadlessBoxes m_fallback;
    MessageBoxes* m_screen = nullptr;
    bool m_tried = false;
};

}  // namespace tabulane
