#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "platform/FilePicker.h"

namespace tabulane {

// The file picker as the platform's open-file dialog, opened over the active window, as the message boxes are.
// It opens in the folder the user last picked files in, also after a restart, as the Windows dialog does: that
// folder is window state, kept in FileDialogStateFile(), never among the settings.
class QtFilePicker final : public FilePicker {
public:
    // Shows the dialog in folder ("" for Qt's default) and returns the picked paths; empty when cancelled.
    using OpenDialog = std::function<QStringList(const QString& title, const QString& folder, const QString& filter,
                                                 bool multiSelect)>;

    // The real dialog (QFileDialog), or the given one in its place (tests).
    explicit QtFilePicker(OpenDialog openDialog = {});

    std::vector<std::string> PickFiles(const std::string& title, const std::string& filter, bool multiSelect) override;

private:
    OpenDialog m_openDialog;
};

// A filter in the component's form, "description|patterns|..." with ";" between patterns, in Qt's form,
// "description (patterns);;...". "*.*" means every file, as on Windows, so it becomes "*".
QString ConvertFilterToQt(const std::string& filter);

// Where the window keeps its state between runs: $XDG_STATE_HOME/Quillfen/Tabulane.ini, or under
// ~/.local/state when XDG_STATE_HOME is unset or not an absolute path.
QString WindowStateFile();

}  // namespace tabulane
