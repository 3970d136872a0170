#include "filelist/AddFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/FakeFilePicker.h"
#include "support/FakePlatform.h"
#include "support/ListEntries.h"

namespace tabulane {
namespace {

using test::EntriesOf;
using test::FakeFilePicker;
using test::FakePlatform;

constexpr const char* kTitle = "Tabulane";

class AddFilesTest : public ::testing::Test {
protected:
    void Click() { PushButton1_Click(m_dialog, m_list, m_fake.platform, m_reporter, kTitle); }

    FakePlatform m_fake;
    ErrorReporter m_reporter{m_fake.boxes};
    FakeFilePicker m_picker;
    CommonDialog m_dialog{m_picker, '\\'};
    FileList m_list;
};

TEST_F(AddFilesTest, AppendsEachPickedFileAsAFullPath) {
    struct Case {
        const char* name;
        char separator;
        std::vector<std::string> picked;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"one file", '\\', {"D:\\Data\\a.txt"}, {"D:\\Data\\a.txt"}},
        {"three files in the dialog's order",
         '\\',
         {"D:\\Data\\c.txt", "D:\\Data\\a.txt", "D:\\Data\\b.txt"},
         {"D:\\Data\\c.txt", "D:\\Data\\a.txt", "D:\\Data\\b.txt"}},
        {"a drive root", '\\', {"E:\\x.txt", "E:\\y.txt"}, {"E:\\x.txt", "E:\\y.txt"}},
        {"a share", '\\', {"\\\\srv\\s\\x.txt", "\\\\srv\\s\\y"}, {"\\\\srv\\s\\x.txt", "\\\\srv\\s\\y"}},
        {"POSIX folder", '/', {"/home/u/a.txt", "/home/u/b b.txt"}, {"/home/u/a.txt", "/home/u/b b.txt"}},
        {"POSIX root", '/', {"/x.txt", "/y.txt"}, {"/x.txt", "/y.txt"}},
        {"the same file twice", '/', {"/d/a.txt", "/d/a.txt"}, {"/d/a.txt", "/d/a.txt"}},
        {"cancel", '/', {}, {}},
    };
    for (const auto& c : cases) {
        FakeFilePicker picker;
        CommonDialog dialog(picker, c.separator);
        dialog.FileNames = {"left over"};
        FileList list;
        picker.answers.push_back(c.picked);
        PushButton1_Click(dialog, list, m_fake.platform, m_reporter, kTitle);
        EXPECT_EQ(EntriesOf(list), c.expected) << c.name;
        ASSERT_EQ(picker.opened.size(), 1U) << c.name;
        EXPECT_EQ(picker.opened[0].title, "Add File(s) - Hold Ctrl or Shift to select multiple files");
        EXPECT_EQ(picker.opened[0].filter, "All Files (*.*)|*.*|");
        EXPECT_TRUE(picker.opened[0].multiSelect);
        EXPECT_EQ(dialog.Flags, 0x280201U);
    }
    EXPECT_TRUE(m_fake.boxes.shown.empty());
}

TEST_F(AddFilesTest, ASelectionTooLongForTheBufferAddsNothingAndSaysSo) {
    m_list.Append("D:\\kept.txt");
    std::vector<std::string> picked;
    for (int i = 0; i < 400; ++i) {
        picked.push_back("D:\\Data\\" + std::string(80, 'n') + std::to_string(i) + ".txt");
    }
    m_picker.answers.push_back(picked);
    Click();

    EXPECT_EQ(EntriesOf(m_list), (std::vector<std::string>{"D:\\kept.txt"}));
    ASSERT_EQ(m_fake.boxes.shown.size(), 1U);
    const auto& box = m_fake.boxes.shown[0];
    EXPECT_EQ(box.text, "You've selected too many files to add.\r\rPlease try adding via the \"Add All\" button.");
    EXPECT_EQ(box.caption, kTitle);
    EXPECT_EQ(box.icon, BoxIcon::None);
    EXPECT_EQ(box.buttons, BoxButtons::Ok);
}

TEST_F(AddFilesTest, AnyOtherDialogFailureTakesTheErrorTrap) {
    m_picker.failWith = ErrorNumber::kDeviceIoError;
    Click();
    EXPECT_EQ(m_list.Count(), 0);
    const auto errors = m_fake.boxes.ErrorTexts();
    ASSERT_EQ(errors.size(), 1U);
    EXPECT_NE(errors[0].find("in Tabulane2021/08/31.Form1.PushButton1_Click at line 108\r\r"), std::string::npos)
        << errors[0];

    // The next click works normally.
    m_picker.answers.push_back({"D:\\a.txt"});
    Click();
    EXPECT_EQ(EntriesOf(m_list), (std::vector<std::string>{"D:\\a.txt"}));
}

}  // namespace
}  // namespace tabulane
