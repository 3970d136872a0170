#pragma once

#include <string>
#include <vector>

#include "platform/SkinnableWindow.h"

class QAbstractItemModel;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeView;
class QWidget;

namespace tabulane {

class TextProgressBar;

// Twips of the design in pixels at 96 dots per inch.
int Pixels(int twips);

// The controls of the main window, named as the design names them (also their object names). The window owns them.
struct Form1Controls {
    QPushButton* PushButton5;
    QTreeView* ListView1;
    QPushButton* PushButton1;
    QPushButton* PushButton3;
    QPushButton* PushButton6;
    QPushButton* PushButton7;
    QGroupBox* Frame1;
    QComboBox* Combo1;
    QGroupBox* Frame5;
    QRadioButton* Option1;
    QGroupBox* Frame3;
    QLineEdit* Text1;
    QPushButton* PushButton8;
    QRadioButton* Option2;
    QPushButton* PushButton2;
    QGroupBox* Frame2;
    QPushButton* PushButton4;
    TextProgressBar* ProgressBar1;

    // Every control, inner ones included, in the design's order.
    std::vector<QWidget*> InDesignOrder() const;
};

// Lays the design out in window: its size, font, colours and icon, and every control in its place with its caption
// and the design's tab order. The list shows listModel, which the window does not own.
Form1Controls BuildForm1Design(QWidget& window, QAbstractItemModel* listModel);

// Every control with its kind, as a skin sees them.
std::vector<WindowControl> DescribeControls(const Form1Controls& controls);

// Colours the background of the named control; throws PlatformError 424 "Object required" for a name of none.
void SetDesignControlBackColor(const Form1Controls& controls, const std::string& name, OleColor color);

}  // namespace tabulane
