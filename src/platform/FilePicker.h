#pragma once

#include <string>
#include <vector>

namespace tabulane {

// The platform's file-open dialog, as the common dialog component drives it.
class FilePicker {
public:
    virtual ~FilePicker() = default;
    // The full paths of the picked files in the dialog's order; empty when the user cancels.
    // filter is in the component's form ("All Files (*.*)|*.*|"); multiSelect allows more than one file.
    virtual std::vector<std::string> PickFiles(const std::string& title, const std::string& filter,
                                               bool multiSelect) = 0;
};

}  // namespace tabulane
