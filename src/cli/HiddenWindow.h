#pragma once

#include <string>

#include "platform/CursorFile.h"
#include "platform/MainWindow.h"

namespace tabulane {

// The main window without a window, for converting from the command line with no display, where building real
// widgets would only cost start-up time. It keeps what the load step and the conversion read back; what only a
// visible window would show (caption, pointer image, list column, mode entries, progress) goes nowhere. The hand
// pointer is still checked: a file the window would refuse is reported here too, by the same rule.
class HiddenWindow final : public MainWindow {
public:
    bool Option1Selected() const override { return m_option1; }
    bool Option2Selected() const override { return m_option2; }
    std::string Text1Text() const override { return m_text1; }

    void SetCaption(const std::string&) override {}
    void LoadCustomCursor(const std::string& path) override { CheckCursorFile(path); }
    void AddListColumn(const std::string&, int) override {}

    void AddComboItem(const std::string&) override {}
    std::string ComboText() const override { return m_comboText; }
    void SetComboText(const std::string& text) override { m_comboText = text; }

    void SetOption1Selected(bool selected) override { m_option1 = selected; }
    void SetOption2Selected(bool selected) override { m_option2 = selected; }
    void SetText1Text(const std::string& text) override { m_text1 = text; }
    void SetFrame3Enabled(bool) override {}

    MousePointer Pointer() const override { return m_pointer; }
    void SetPointer(MousePointer pointer) override { m_pointer = pointer; }
    void SetProgressValue(double) override {}
    void SetProgressText(const std::string&) override {}

    int SelectedListPosition() const override { return 0; }

private:
    std::string m_comboText;
    bool m_option1 = true;
    bool m_option2 = false;
    std::string m_text1;
    MousePointer m_pointer = MousePointer::Default;
};

}  // namespace tabulane
