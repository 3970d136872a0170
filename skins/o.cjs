/* Tabulane "Slate": a skin for the main window, a Qt style sheet in UTF-8.
   To use it, copy it to x/o.cjs in the program's folder and start the program. */

QWidget#Form1,
QGroupBox,
QRadioButton {
    background-color: #e4e9f0;
    color: #1d2b3a;
}

QPushButton {
    color: #ffffff;
    background-color: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 #5482b3, stop: 1 #325b87);
    border: 1px solid #264668;
    border-radius: 4px;
}
QPushButton:hover {
    background-color: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 #6592c2, stop: 1 #3c6896);
}
QPushButton:pressed {
    background-color: #264a70;
}
QPushButton:focus {
    border: 1px solid #f0b429;
}
QPushButton:disabled {
    color: #d3dbe4;
    background-color: #93a6ba;
    border-color: #7f93a8;
}

QTreeView {
    background-color: #ffffff;
    border: 1px solid #93a3b5;
    selection-background-color: #325b87;
    selection-color: #ffffff;
}
QHeaderView::section {
    background-color: #d2dbe5;
    color: #1d2b3a;
    border: none;
    border-right: 1px solid #93a3b5;
    border-bottom: 1px solid #93a3b5;
    padding: 2px 4px;
}

QLineEdit,
QComboBox {
    background-color: #ffffff;
    border: 1px solid #93a3b5;
    border-radius: 3px;
}
QLineEdit:disabled {
    background-color: #eef1f5;
    color: #8795a4;
}

QProgressBar {
    background-color: #ffffff;
    border: 1px solid #93a3b5;
    border-radius: 4px;
    color: #1d2b3a;
}
QProgressBar::chunk {
    background-color: #5aa469;
    border-radius: 3px;
}

QToolTip {
    background-color: #fffbe6;
    color: #1d2b3a;
    border: 1px solid #c9b458;
}
