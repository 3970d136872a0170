#pragma once

#include <string_view>
#include <vector>

#include "platform/SkinnableWindow.h"

class QAbstractItemModel;
class QComboBox;
class QLineEdit;
class QTreeView;
class QWidget;

namespace tabulane {

class TextProgressBar;

// Twips of the design in pixels at 96 dots per inch.
int Pixels(int twips);

// The controls of the main window, built from the design table and named as it names them (also their object
// names). The window owns them.
struct Form1Controls {
    QWidget* window = nullptr;
    std::vector<QWidget*> inDesignOrder;  // one for each row of kForm1Controls, in its order

    // The window itself by its design name, or a control of it; null for a name the design does not hold.
    QWidget* Find(std::string_view name) const;
    template <typename Control>
    Control* Get(std::string_view name) const {
        return static_cast<Control*>(Find(name));
    }

    // The ones the window's own code works with.
    QTreeView* ListView1 = nullptr;
    QComboBox* Combo1 = nullptr;
    QLineEdit* Text1 = nullptr;
    TextProgressBar* ProgressBar1 = nullptr;
};

// Lays the design out in window: its size, font, colours and icon, and every control in its place with its caption
// and the design's tab order. The list shows listModel, which the window does not own.
Form1Controls BuildForm1Design(QWidget& window, QAbstractItemModel* listModel);

// Colours the background of the window or of one of its controls.
void SetDesignControlBackColor(QWidget& control, OleColor color);

}  // namespace tabulane
