#include "shell/CommandLineHelp.h"

namespace tabulane {

void PushButton4_Click(ErrorReporter& reporter, MessageBoxes& boxes, const std::string& applicationTitle,
                       const std::function<std::string()>& usageText) {
    ErrorTrap trap(reporter, "Form1", "PushButton4_Click");
    trap.Step(100, [&] { boxes.ShowMessage(usageText(), applicationTitle, BoxIcon::None, BoxButtons::Ok); });
}

}  // namespace tabulane
