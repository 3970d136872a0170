#pragma once

#include <string>

#include "platform/OutputControls.h"

namespace tabulane {

// The window's mouse pointer. Hourglass is the busy state that list editing and hover handlers test.
enum class MousePointer { Default = 0, Hourglass = 11, Custom = 99 };

// The main window's controls as the logic reads and sets them. Form1 implements it; tests use a fake.
class MainWindow : public OutputControls {
public:
    // Start-up.
    virtual void SetCaption(const std::string& caption) = 0;
    // Loads a cursor file as the custom pointer; throws PlatformError when it cannot be loaded.
    virtual void LoadCustomCursor(const std::string& path) = 0;
    virtual void AddListColumn(const std::string& header, int widthTwips) = 0;

    // Conversion modes (Combo1): an editable box whose text may be none of its entries.
    virtual void AddComboItem(const std::string& caption) = 0;
    virtual std::string ComboText() const = 0;
    virtual void SetComboText(const std::string& text) = 0;

    // Output destination.
    virtual void SetOption1Selected(bool selected) = 0;
    virtual void SetOption2Selected(bool selected) = 0;
    virtual void SetText1Text(const std::string& text) = 0;
    virtual void SetFrame3Enabled(bool enabled) = 0;

    // Pointer and progress.
    virtual MousePointer Pointer() const = 0;
    virtual void SetPointer(MousePointer pointer) = 0;
    virtual void SetProgressValue(double percent) = 0;
    virtual void SetProgressText(const std::string& text) = 0;

    // The position (1..count) of the list's selected entry, 0 when none is selected.
    virtual int SelectedListPosition() const = 0;
};

}  // namespace tabulane
