#include "shell/ErrorReport.h"

#include "shell/Globals.h"

namespace tabulane {

std::string ComposeErrorText(const std::string& description, const std::string& location, int step) {
    return description + "\r\nin " + location + " at line " + std::to_string(step) +
           "\r\rPlease email screenshot of this message to " + kSupportAddress;
}

std::string MakeLocation(const std::string& module, const std::string& operation, const std::string& project) {
    return project + "2021/08/31." + module + "." + operation;
}

void ErrorReporter::Report(const std::string& description, const std::string& location, int step) {
    ++m_reportCount;
    m_boxes.ShowMessage(ComposeErrorText(description, location, step), kErrorBoxCaption, BoxIcon::Exclamation,
                        BoxButtons::Ok);
}

}  // namespace tabulane
