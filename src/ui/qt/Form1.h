#pragma once

#include <QCursor>
#include <QWidget>
#include <functional>
#include <string>
#include <string_view>

#include "platform/Platform.h"
#include "shell/Startup.h"
#include "ui/Form1Logic.h"
#include "ui/NativeWindow.h"
#include "ui/qt/DesignBuilder.h"
#include "ui/qt/FileListModel.h"

namespace tabulane {

// The main window in Qt: the design's controls built from the table, their events handed to the window's logic by
// design name, and the primitives the logic sets them through. Every rule of the window lives in Form1Logic.
class Form1 final : public QWidget, public NativeWindow {
public:
    // endProgram is what closing the window does; the program passes one that ends the process at once.
    Form1(Platform& platform, std::function<void()> endProgram);
    ~Form1() override;
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // The load step. With a non-empty argument text the command line runs and the window must not be shown.
    StartupResult Load(const std::string& argumentText, bool argumentsFitText = true) {
        return m_logic.Load(argumentText, argumentsFitText);
    }
    // Shows the window centred on its screen, the list holding the focus.
    void ShowCentred();

    Form1Logic& Logic() { return m_logic; }

    // NativeWindow
    std::string ControlText(std::string_view control) const override;
    void SetControlText(std::string_view control, const std::string& text) override;
    bool IsChecked(std::string_view control) const override;
    void SetChecked(std::string_view control, bool checked) override;
    void SetEnabled(std::string_view control, bool enabled) override;
    void AddComboItem(std::string_view control, const std::string& text) override;
    int ComboSelection(std::string_view control) const override;
    void SetComboSelection(std::string_view control, int index) override;
    void SetListColumn(const std::string& header, int widthTwips) override;
    int SelectedListRow() const override;
    void SetProgressValue(int value) override;
    void LoadPointerImage(const std::string& path) override;
    void ShowPointer(MousePointer pointer) override;
    std::int32_t WindowHandle() override;
    void SetBackColor(std::string_view control, OleColor color) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ConnectEvents();
    QWidget& Control(std::string_view name) const;

    Form1Logic m_logic;
    FileListModel m_listModel;
    Form1Controls m_controls;
    QCursor m_customCursor{Qt::ArrowCursor};  // the arrow until a hand pointer is loaded
    QObject* m_pointerWatch = nullptr;
};

}  // namespace tabulane
