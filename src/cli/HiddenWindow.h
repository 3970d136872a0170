#pragma once

#include <string>
#include <vector>

#include "platform/MainWindow.h"

namespace tabulane {

// The main window's state without a window: what the load step sets when the program converts from the
// command line with no display, where building real widgets would only cost start-up time.
class HiddenWindow final : public MainWindow {
public:
    bool Option1Selected() const override { return m_option1; }
    bool Option2Selected() const override { return m_option2; }
    std::string Text1Text() const override { return m_text1; }

    void SetCaption(const std::string& caption) override { m_caption = caption; }
    void LoadCustomCursor(const std::string& path) override { m_cursorFile = path; }
    void AddListColumn(const std::string& header, int widthTwips) override;

    void AddComboItem(const std::string& caption) override { m_comboItems.push_back(caption); }
    std::string ComboText() const override { return m_comboText; }
    void SetComboText(const std::string& text) override { m_comboText = text; }

    void SetOption1Selected(bool selected) override { m_option1 = selected; }
    void SetOption2Selected(bool selected) override { m_option2 = selected; }
    void SetText1Text(const std::string& text) override { m_text1 = text; }
    void SetFrame3Enabled(bool enabled) override { m_frame3Enabled = enabled; }

    MousePointer Pointer() const override { return m_pointer; }
    void SetPointer(MousePointer pointer) override { m_pointer = pointer; }
    void SetProgressValue(double percent) override { m_progressValue = percent; }
    void SetProgressText(const std::string& text) override { m_progressText = text; }

    int SelectedListPosition() const override { return 0; }

    const std::string& Caption() const { return m_caption; }
    const std::vector<std::string>& ComboItems() const { return m_comboItems; }

private:
    std::string m_caption = "Form1";
    std::string m_cursorFile;
    std::string m_columnHeader;
    int m_columnWidth = 0;
    std::vector<std::string> m_comboItems;
    std::string m_comboText;
    bool m_option1 = true;
    bool m_option2 = false;
    std::string m_text1;
    bool m_frame3Enabled = true;
    MousePointer m_pointer = MousePointer::Default;
    double m_progressValue = 0;
    std::string m_progressText = "Progress Bar";
};

}  // namespace tabulane
