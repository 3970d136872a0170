#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include "platform/FilePicker.h"

namespace tabulane {

// The file picker as the platform's open-file dialog, opened over its owner window.
class QtFilePicker final : public FilePicker {
public:
    explicit QtFilePicker(QWidget* owner = nullptr) : m_owner(owner) {}

    // The window is built after the platform, so the owner is handed over once it exists.
    void SetOwner(QWidget* owner) { m_owner = owner; }

    std::vector<std::string> PickFiles(const std::string& title, const std::string& filter, bool multiSelect) override;

private:
    QPointer<QWidget> m_owner;
};

// A filter in the component's form, "description|patterns|..." with ";" between patterns, in Qt's form,
// "description (patterns);;...". "*.*" means every file, as on Windows, so it becomes "*".
QString ConvertFilterToQt(const std::string& filter);

}  // namespace tabulane
