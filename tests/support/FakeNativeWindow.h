#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/PlatformError.h"
#include "ui/NativeWindow.h"

namespace tabulane::test {

// A native window as plain state that behaves as the toolkits' controls do where the logic must make up for them:
// the first entry added to an empty mode box selects itself and shows its text, and selecting an entry shows its
// text (none shows nothing).
class FakeNativeWindow final : public NativeWindow {
public:
    std::string ControlText(std::string_view control) const override {
        const auto it = texts.find(std::string(control));
        return it == texts.end() ? std::string() : it->second;
    }
    void SetControlText(std::string_view control, const std::string& text) override {
        texts[std::string(control)] = text;
    }
    bool IsChecked(std::string_view control) const override { return checked.count(std::string(control)) != 0; }
    void SetChecked(std::string_view control, bool on) override {
        if (on) {
            checked.emplace(control, true);
        } else {
            checked.erase(std::string(control));
        }
    }
    void SetEnabled(std::string_view control, bool enabled) override {
        if (enabled) {
            disabled.erase(std::string(control));
        } else {
            disabled.emplace(control, true);
        }
    }
    void AddComboItem(std::string_view, const std::string& text) override {
        comboItems.push_back(text);
        if (comboItems.size() == 1) {
            SetComboSelection("Combo1", 0);
        }
    }
    int ComboSelection(std::string_view) const override { return comboSelection; }
    void SetComboSelection(std::string_view, int index) override {
        comboSelection = index;
        texts["Combo1"] = index < 0 ? std::string() : comboItems.at(static_cast<std::size_t>(index));
    }
    void SetListColumn(const std::string& header, int widthTwips) override {
        listHeader = header;
        listWidthTwips = widthTwips;
    }
    int SelectedListRow() const override { return selectedRow; }
    void SetProgressValue(int value) override { progressValue = value; }
    void LoadPointerImage(const std::string& path) override {
        if (path.find("broken") != std::string::npos) {
            throw PlatformError(481, "Invalid picture");
        }
        pointerImage = path;
    }
    void ShowPointer(MousePointer pointer) override { shownPointer = pointer; }
    std::int32_t WindowHandle() override { return 0x1234; }
    void SetBackColor(std::string_view control, OleColor color) override { backColors[std::string(control)] = color; }

    std::map<std::string, std::string> texts;
    std::map<std::string, bool> checked{{"Option1", true}};  // as designed
    std::map<std::string, bool> disabled;
    std::vector<std::string> comboItems;
    int comboSelection = -1;
    std::string listHeader;
    int listWidthTwips = 0;
    int selectedRow = 0;
    int progressValue = 0;
    std::string pointerImage;
    MousePointer shownPointer = MousePointer::Default;
    std::map<std::string, OleColor> backColors;
};

}  // namespace tabulane::test
