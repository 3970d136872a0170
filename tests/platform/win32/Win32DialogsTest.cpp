#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

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

// The folder dialog's answer when it is confirmed as it opened: the start folder it selected.
std::string ConfirmFolderDialog(const std::string& startFolder, std::vector<std::string>* texts = nullptr) {
    const test::OwnerWindow window;
    Win32FolderPicker picker(window.Owner());
    std::string chosen = "untouched";
    WithRobot([&] { chosen = picker.BrowseForFolder("Please select folder:", startFolder); },
              [&] {
                  if (HWND dialog = WaitForDialogOwnedBy(window.Get())) {
                      if (texts != nullptr) {
                          *texts = TextsOf(dialog, "Static");
                      }
                      // The selection follows the start folder once the tree has opened it.
                      ::Sleep(500);
                      ClickButton(dialog, "OK");
                  }
              });
    return chosen;
}

TEST(Win32FolderPicker, OpensAtTheStartFolderAndGivesItWithoutATrailingBackslash) {
    const test::TempDir temp;
    const std::string folder = temp.File("Ωmega-日本");
    std::filesystem::create_directory(test::PathFromText(folder));

    std::vector<std::string> texts;
    EXPECT_EQ(ConfirmFolderDialog(folder + "\\", &texts), folder);
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Please select folder:"), texts.end());
}

TEST(Win32FolderPicker, ADriveRootKeepsItsBackslash) {
    const char* drive = std::getenv("TABULANE_TEST_DIALOG_DRIVE");
    if (drive == nullptr) {
        GTEST_SKIP() << "TABULANE_TEST_DIALOG_DRIVE names no drive of the test's own (test-windows.sh sets one)";
    }
    EXPECT_EQ(ConfirmFolderDialog(std::string(drive) + "\\"), std::string(drive) + "\\");
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
    const char* drive = std::getenv("TABULANE_TEST_DIALOG_DRIVE");
    if (drive == nullptr) {
        GTEST_SKIP() << "TABULANE_TEST_DIALOG_DRIVE names no drive of the test's own (test-windows.sh sets one)";
    }
    const std::string root = std::string(drive) + "\\";
    WriteEmptyFiles(drive, {"x.txt", "y.txt"});

    EXPECT_EQ(PickInFolder(root, "\"x.txt\" \"y.txt\""), (std::vector<std::string>{root + "x.txt", root + "y.txt"}));
    std::filesystem::remove(test::PathFromText(root + "x.txt"));
    std::filesystem::remove(test::PathFromText(root + "y.txt"));
}

TEST(Win32FilePicker, TheAnswerBufferReadsAsFullPaths) {
    using namespace std::string_literals;
    EXPECT_EQ(PathsFromOpenFileBuffer(L"C:\\in\\a.txt\0\0"s), std::vector<std::string>{"C:\\in\\a.txt"});
    EXPECT_EQ(PathsFromOpenFileBuffer(L"C:\\in\0a.txt\0\u03A9.txt\0\0"s),
              (std::vector<std::string>{"C:\\in\\a.txt", "C:\\in\\Ω.txt"}));
    EXPECT_EQ(PathsFromOpenFileBuffer(L"E:\\\0x.txt\0y.txt\0\0"s),
              (std::vector<std::string>{"E:\\x.txt", "E:\\y.txt"}));
    EXPECT_EQ(PathsFromOpenFileBuffer(L"\0\0"s), std::vector<std::string>{});
}

}  // namespace
}  // namespace tabulane
