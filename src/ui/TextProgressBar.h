#pragma once

#include <QProgressBar>
#include <QString>

namespace tabulane {

// A progress bar whose text line is shown as given: QProgressBar's own format would expand "%p" or "%v"
// inside a file name.
class TextProgressBar final : public QProgressBar {
public:
    explicit TextProgressBar(QWidget* parent = nullptr) : QProgressBar(parent) {}

    QString text() const override { return m_text; }
    void SetText(const QString& text) {
        m_text = text;
        update();
    }

private:
    QString m_text;
};

}  // namespace tabulane
