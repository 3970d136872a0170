#pragma once

#include <QGroupBox>
#include <QString>

namespace tabulane {

// A frame as the window's design draws it: a white box with a thin line around its controls and the caption set
// into the top line, so controls placed 20 pixels down sit well inside it whatever the style does with group boxes.
class DesignFrame final : public QGroupBox {
public:
    DesignFrame(const QString& title, QWidget* parent) : QGroupBox(title, parent) {}

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace tabulane
