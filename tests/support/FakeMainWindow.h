#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/MainWindow.h"
#include "platform/PlatformError.h"

namespace tabulane::test {

// The window's controls as plain state. Every call that changes something is logged by name (e.g.
// "SetText1Text"); a name in failOn makes that call throw, as a refusing platform call would.
class FakeMainWindow final : public MainWindow {
public:
    void SetCaption(const std::string& text) override {
        Enter("SetCaption");
        caption = text;
    }
    void LoadCustomCursor(const std::string& path) override {
        Enter("LoadCustomCursor");
        cursorPath = path;
    }
    void AddListColumn(const std::string& header, int widthTwips) override {
        Enter("AddListColumn");
        columns.emplace_back(header, widthTwips);
    }
    void AddComboItem(const std::string& text) override {
        Enter("AddComboItem");
        comboItems.push_back(text);
    }
    std::string ComboText() const override { return comboText; }
    void SetComboText(const std::string& text) override {
        Enter("SetComboText");
        comboText = text;
    }

    // The two options form one group: selecting one clears the other; clearing one leaves the other alone.
    void SetOption1Selected(bool selected) override {
        Enter("SetOption1Selected");
        option1 = selected;
        option2 = selected ? false : option2;
    }
    void SetOption2Selected(bool selected) override {
        Enter("SetOption2Selected");
        option2 = selected;
        option1 = selected ? false : option1;
    }
    void SetText1Text(const std::string& text) override {
        Enter("SetText1Text");
        text1 = text;
    }
    void SetFrame3Enabled(bool enabled) override {
        Enter("SetFrame3Enabled");
        frame3Enabled = enabled;
    }
    bool Option1Selected() const override { return option1; }
    bool Option2Selected() const override { return option2; }
    std::string Text1Text() const override { return text1; }

    MousePointer Pointer() const override { return pointer; }
    void SetPointer(MousePointer value) override {
        Enter("SetPointer");
        pointer = value;
    }
    void SetProgressValue(double percent) override {
        Enter("SetProgressValue");
        progressValue = percent;
    }
    void SetProgressText(const std::string& text) override {
        Enter("SetProgressText");
        progressText = text;
    }
    int SelectedListPosition() const override { return selectedListPosition; }

    // Passes when each name was called and every call of it came after every call of the name before it: the order
    // steps must keep, whatever else (and however often) was called around them.
    ::testing::AssertionResult CalledInOrder(const std::vector<std::string>& names) const {
        std::size_t lastOfPrevious = 0;
        for (std::size_t n = 0; n < names.size(); ++n) {
            const auto first = std::find(calls.begin(), calls.end(), names[n]);
            if (first == calls.end()) {
                return ::testing::AssertionFailure() << names[n] << " was never called; calls: " << Log();
            }
            const auto firstAt = static_cast<std::size_t>(first - calls.begin());
            if (n > 0 && firstAt < lastOfPrevious) {
                return ::testing::AssertionFailure()
                       << names[n] << " came before " << names[n - 1] << "; calls: " << Log();
            }
            lastOfPrevious = static_cast<std::size_t>(calls.rend() - std::find(calls.rbegin(), calls.rend(), names[n]));
        }
        return ::testing::AssertionSuccess();
    }

    std::vector<std::string> calls;
    std::set<std::string> failOn;

    std::string caption = "Form1";
    std::string cursorPath;
    std::vector<std::pair<std::string, int>> columns;
    std::vector<std::string> comboItems;
    std::string comboText;
    bool option1 = true;  // as designed: the first option selected, the folder controls enabled
    bool option2 = false;
    std::string text1;
    bool frame3Enabled = true;
    MousePointer pointer = MousePointer::Default;
    double progressValue = 0;
    std::string progressText = "Progress Bar";
    int selectedListPosition = 0;

private:
    std::string Log() const {
        std::string log;
        for (const std::string& call : calls) {
            log += (log.empty() ? "" : " ") + call;
        }
        return log;
    }
    void Enter(const std::string& name) {
        calls.push_back(name);
        if (failOn.count(name) != 0) {
            throw PlatformError(5, name + " refused");
        }
    }
};

}  // namespace tabulane::test
