#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/CommonDialog.h"
#include "platform/TextCodes.h"
#include "platform/win32/Win32FilePicker.h"
#include "platform/win32/Win32FolderPicker.h"
#include "support/TempDir.h"
#include "support/Win32DialogRobot.h"

namespace tabulane {
namespace {

// The robot's helpers read as what a robot does.
using namespace test;

// A dialog of this process owned by the window: the shell names its dialogs itself, in the system's language.
HWND WaitForDialogOwnedBy(HWND owner) {
    return WaitForDialog([owner](HWND dialog) { return ::GetWindow(dialog, GW_OWNER) == owner; });
}

// The text of the folder tree's selected item, as a screen reader reads it; "" when none is selected.
std::string SelectedTreeItem(HWND dialog) {
    const std::vector<HWND> trees = ControlsOf(dialog, "SysTreeView32");
    if (trees.empty()) {
        return {};
    }
    auto* item = reinterpret_cast<HTREEITEM>(::SendMessageW(trees.front(), TVM_GETNEXTITEM, TVGN_CARET, 0));
    wchar_t text[MAX_PATH] = {};
    TVITEMW request = {};
    request.mask = TVIF_TEXT;
    request.hItem = item;
    request.pszText = text;
    request.cchTextMax = MAX_PATH;
    if (item == nullptr || !::SendMessageW(trees.front(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&request))) {
        return {};
    }
    return Utf8FromWide(text);
}

// What the folder dialog showed selected as it opened, and its answer when confirmed so.
struct ConfirmedFolder {
    std::vector<std::string> texts;
    std::string selected;
    std::string chosen = "untouched";
};

ConfirmedFolder ConfirmFolderDialog(const std::string& startFolder) {
    const test::OwnerWindow window;
    Win32FolderPicker picker(window.Owner());
    ConfirmedFolder seen;
    WithRobot([&] { seen.chosen = picker.BrowseForFolder("Please select folder:", startFolder); },
              [&] {
                  HWND dialog = WaitForDialogOwnedBy(window.Get());
                  if (dialog == nullptr) {
                      return;
                  }
                  seen.texts = TextsOf(dialog, "Static");
                  seen.selected = SelectedTreeItem(dialog);
                  ClickButton(dialog, "OK");
              });
    return seen;
}

// The drive of the dialog tests' own, or nothing (then the test is skipped).
const char* DialogDrive() {
    return std::getenv("TABULANE_TEST_DIALOG_DRIVE");
}

constexpr const char* kNoDialogDrive =
    "TABULANE_TEST_DIALOG_DRIVE names no drive of the test's own (test-windows.sh sets one)";

// A start folder on the dialogs' drive rather than in the temporary folder: Wine's folder tree often fails to
// select a folder deep in the user's profile, which Windows does not.
TEST(Win32FolderPicker, OpensAtTheStartFolderAndGivesItWithoutATrailingBackslash) {
    if (DialogDrive() == nullptr) {
        GTEST_SKIP() << kNoDialogDrive;
    }
    const std::string folder = std::string(DialogDrive()) + "\\Ωmega-日本";
    std::filesystem::create_directory(test::PathFromText(folder));

    const ConfirmedFolder seen = ConfirmFolderDialog(folder + "\\");
    EXPECT_NE(std::find(seen.texts.begin(), seen.texts.end(), "Please select folder:"), seen.texts.end());
    EXPECT_EQ(seen.selected, "Ωmega-日本");
    EXPECT_EQ(seen.chosen, folder);
    std::filesystem::remove(test::PathFromText(folder));
}

TEST(Win32FolderPicker, ADriveRootKeepsItsBackslash) {
    if (DialogDrive() == nullptr) {
        GTEST_SKIP() << kNoDialogDrive;
    }
    const std::string root = std::string(DialogDrive()) + "\\";
    EXPECT_EQ(ConfirmFolderDialog(root).chosen, root);
}

TEST(Win32FolderPicker, CancelGivesNothing) {
    const test::OwnerWindow window;
    Win32FolderPicker picker(window.Owner());
    std::string chosen = "untouched";
    WithRobot([&] { chosen = picker.BrowseForFolder("Please select folder:", "C:\\windows"); },
              [&] {
                  if (HWND dialog = WaitForDialogOwnedBy(window.Get())) {
                      ClickButton(dialog, "Cancel");
                  }
              });
    EXPECT_EQ(chosen, "");
}

// The file name box of the open dialog: in the explorer style, the edit of its extended combo box.
HWND FileNameBox(HWND dialog) {
    const std::vector<HWND> boxes = ControlsOf(dialog, "ComboBoxEx32");
    return boxes.empty() ? nullptr : reinterpret_cast<HWND>(::SendMessageW(boxes.front(), CBEM_GETEDITCONTROL, 0, 0));
}

constexpr const char* kAddFilesTitle = "Add File(s) - Hold Ctrl or Shift to select multiple files";

// Picks names in a folder as a user does with the keyboard: the folder typed into the name box and opened, then
// the names, each in double quotes, and Open.
std::vector<std::string> PickInFolder(const std::string& folder, const std::string& names) {
    const test::OwnerWindow window;
    Win32FilePicker picker(window.Owner());
    CommonDialog commonDialog1(picker, '\\');
    commonDialog1.Flags =
        OpenFlag::kReadOnly | OpenFlag::kAllowMultiSelect | OpenFlag::kExplorer | OpenFlag::kLongNames;
    commonDialog1.DialogTitle = kAddFilesTitle;
    commonDialog1.Filter = "All Files (*.*)|*.*|";
    WithRobot([&] { commonDialog1.ShowOpen(); },
              [&] {
                  HWND dialog = WaitForDialog(kAddFilesTitle);
                  HWND nameBox = dialog != nullptr ? FileNameBox(dialog) : nullptr;
                  if (nameBox == nullptr) {
                      return;
                  }
                  TypeInto(nameBox, folder);
                  ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
                  ::Sleep(500);
                  TypeInto(nameBox, names);
                  ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
              });
    return commonDialog1.FileNames;
}

void WriteEmptyFiles(const std::string& folder, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        test::WriteFileBytes(folder + "\\" + name, "");
    }
}

TEST(Win32FilePicker, AMultipleSelectionGivesEachFullPathInTheDialogsOrder) {
    const test::TempDir temp;
    const std::string folder = temp.File("in");
    std::filesystem::create_directory(test::PathFromText(folder));
    WriteEmptyFiles(folder, {"a.txt", "b.txt", "Ωmega-日本.txt"});

    EXPECT_EQ(PickInFolder(folder, "\"b.txt\" \"Ωmega-日本.txt\""),
              (std::vector<std::string>{folder + "\\b.txt", folder + "\\Ωmega-日本.txt"}));
    EXPECT_EQ(PickInFolder(folder, "\"Ωmega-日本.txt\""), std::vector<std::string>{folder + "\\Ωmega-日本.txt"});
}

TEST(Win32FilePicker, FilesInADriveRootHaveOneBackslashAfterTheColon) {
    if (DialogDrive() == nullptr) {
        GTEST_SKIP() << kNoDialogDrive;
    }
    const std::string root = std::string(DialogDrive()) + "\\";
    WriteEmptyFiles(DialogDrive(), {"x.txt", "y.txt"});

    EXPECT_EQ(PickInFolder(root, "\"x.txt\" \"y.txt\""), (std::vector<std::string>{root + "x.txt", root + "y.txt"}));
    std::filesystem::remove(test::PathFromText(root + "x.txt"));
    std::filesystem::remove(test::PathFromText(root + "y.txt"));
}

}  // namespace
}  // namespace tabulane
