#pragma once

#include <QString>

#include "platform/FilePicker.h"

namespace tabulane {

// The file picker as the platform's open-file dialog, opened over the active window, as the message boxes are.
class QtFilePicker final : public FilePicker {
public:
    std::vector<std::string> PickFiles(const std::string& title, const std::string& filter, bool multiSelect) override;
};

// A filter in the component's form, "description|patterns|..." with ";" between patterns, in Qt's form,
// "description (patterns);;...". "*.*" means every file, as on Windows, so it becomes "*".
QString ConvertFilterToQt(const std::string& filter);

}  // namespace tabulane
