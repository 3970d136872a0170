#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/Win32MessageBoxes.h"
#include "support/Win32DialogRobot.h"

namespace tabulane {
namespace {

using test::ClickButton;
using test::ControlsOf;
using test::TextOf;
using test::TextsOf;
using test::TypeInto;
using test::WaitForDialog;
using test::WithRobot;

// What a reader finds in a box: its caption, its texts and its buttons, and whom it belongs to.
struct SeenBox {
    std::string caption;
    std::vector<std::string> texts;
    std::vector<std::string> buttons;
    HWND owner = nullptr;
};

SeenBox Read(HWND dialog) {
    return {TextOf(dialog), TextsOf(dialog, "Static"), TextsOf(dialog, "Button"), ::GetWindow(dialog, GW_OWNER)};
}

constexpr const char* kErrorText =
    "File not found: C:\\Ωmega-日本.txt\r\nin Tabulane2021/08/31.Form1.Form_Load at line 104\r\r"
    "Please email screenshot of this message to support@tabulane.com";

TEST(Win32MessageBoxes, ABoxShowsItsCaptionTextAndButtonsAndGivesTheButtonPressed) {
    struct Case {
        const char* name;
        BoxButtons buttons;
        const char* press;
        std::vector<std::string> expectedButtons;
        BoxAnswer expected;
    };
    const Case cases[] = {
        {"an OK box answers OK", BoxButtons::Ok, "OK", {"OK"}, BoxAnswer::Ok},
        {"a question answered Yes", BoxButtons::YesNo, "&Yes", {"&Yes", "&No"}, BoxAnswer::Yes},
        {"a question answered No", BoxButtons::YesNo, "&No", {"&Yes", "&No"}, BoxAnswer::No},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const test::OwnerWindow window;
        Win32MessageBoxes boxes(window.Owner());
        SeenBox seen;
        bool pressed = false;
        BoxAnswer answer{};
        WithRobot([&] { answer = boxes.ShowMessage(kErrorText, "Application Error", BoxIcon::Exclamation, c.buttons); },
                  [&] {
                      if (HWND box = WaitForDialog("Application Error")) {
                          seen = Read(box);
                          pressed = ClickButton(box, c.press);
                      }
                  });
        EXPECT_EQ(seen.caption, "Application Error");
        // The text as given, its CR LF and its two lone CRs included: the box breaks its lines there.
        EXPECT_EQ(seen.texts, std::vector<std::string>{kErrorText});
        EXPECT_EQ(seen.buttons, c.expectedButtons);
        EXPECT_EQ(seen.owner, window.Get());
        EXPECT_TRUE(pressed);
        EXPECT_EQ(answer, c.expected);
    }
}

TEST(Win32MessageBoxes, WithoutTheWindowABoxHasNoOwner) {
    Win32Owner none;
    Win32MessageBoxes boxes(none);
    SeenBox seen;
    seen.owner = reinterpret_cast<HWND>(1);  // anything but the answer looked for
    WithRobot([&] { boxes.ShowMessage("Done.", "Tabulane", BoxIcon::None, BoxButtons::Ok); },
              [&] {
                  if (HWND box = WaitForDialog("Tabulane")) {
                      seen = Read(box);
                      ClickButton(box, "OK");
                  }
              });
    EXPECT_EQ(seen.texts, std::vector<std::string>{"Done."});
    EXPECT_EQ(seen.owner, nullptr);
}

constexpr const char* kPrompt =
    "Enter file extension to load:\r\r(* for all files, txt for all txt files, doc for all doc files, etc.) & more";

TEST(Win32MessageBoxes, AnInputBoxShowsPromptAndPresetAndGivesTheTypedAnswerOrNothingOnCancel) {
    struct Case {
        const char* name;
        const char* type;  // nullptr: leave the preset
        const char* press;
        const char* expected;
    };
    const Case cases[] = {
        {"OK keeps the preset", nullptr, "OK", "*"},
        {"OK gives what was typed, in any script", "Ωmega-日本", "OK", "Ωmega-日本"},
        {"Cancel gives nothing, whatever was typed", "txt", "Cancel", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const test::OwnerWindow window;
        Win32MessageBoxes boxes(window.Owner());
        SeenBox seen;
        std::string preset;
        std::string answer = "untouched";
        WithRobot([&] { answer = boxes.InputBox(kPrompt, "Tabulane", "*"); },
                  [&] {
                      HWND box = WaitForDialog("Tabulane");
                      if (box == nullptr) {
                          return;
                      }
                      seen = Read(box);
                      const std::vector<HWND> edits = ControlsOf(box, "Edit");
                      if (edits.size() != 1) {
                          return;
                      }
                      preset = TextOf(edits.front());
                      if (c.type != nullptr) {
                          TypeInto(edits.front(), c.type);
                      }
                      ClickButton(box, c.press);
                  });
        EXPECT_EQ(seen.caption, "Tabulane");
        EXPECT_EQ(seen.texts, std::vector<std::string>{kPrompt});
        EXPECT_EQ(seen.buttons, (std::vector<std::string>{"OK", "Cancel"}));
        EXPECT_EQ(seen.owner, window.Get());
        EXPECT_EQ(preset, "*");
        EXPECT_EQ(answer, c.expected);
    }
}

}  // namespace
}  // namespace tabulane
