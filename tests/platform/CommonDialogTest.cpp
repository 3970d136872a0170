#include "platform/CommonDialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/PlatformError.h"
#include "support/FakeFilePicker.h"

namespace tabulane {
namespace {

using namespace std::string_literals;
using test::FakeFilePicker;

TEST(CommonDialog, ShowOpenGivesOnePathOrTheFolderAndNamesSeparatedByNul) {
    struct Case {
        const char* name;
        char separator;
        std::vector<std::string> picked;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"one file", '\\', {"D:\\Data\\a.txt"}, "D:\\Data\\a.txt"},
        {"three files",
         '\\',
         {"D:\\Data\\a.txt", "D:\\Data\\b.txt", "D:\\Data\\c.txt"},
         "D:\\Data\0a.txt\0b.txt\0c.txt"s},
        {"a drive root keeps its separator", '\\', {"E:\\x.txt", "E:\\y.txt"}, "E:\\\0x.txt\0y.txt"s},
        {"POSIX folder", '/', {"/home/u/a", "/home/u/b"}, "/home/u\0a\0b"s},
        {"the POSIX root stays /", '/', {"/x", "/y"}, "/\0x\0y"s},
        {"files from two folders name the shared one", '/', {"/d/e/a", "/d/f/b"}, "/d\0e/a\0f/b"s},
        {"cancel", '/', {}, ""},
    };
    for (const auto& c : cases) {
        FakeFilePicker picker;
        CommonDialog dialog(picker, c.separator);
        dialog.FileName = "left over";
        picker.answers.push_back(c.picked);
        dialog.ShowOpen();
        EXPECT_EQ(dialog.FileName, c.expected) << c.name;
    }
}

// The answer and its terminating NUL characters (one for a single file, two for several) must fit the buffer.
TEST(CommonDialog, FailsWithBufferTooSmallWhenTheAnswerDoesNotFit) {
    struct Case {
        const char* name;
        std::vector<std::string> picked;  // answer lengths: "/abcd" 5; "/d\0ab\0c" 7
        int maxFileSize;
        bool fits;
    };
    const std::vector<Case> cases = {
        {"one file, exactly full", {"/abcd"}, 6, true},
        {"one file, one character short", {"/abcd"}, 5, false},
        {"several, exactly full", {"/d/ab", "/d/c"}, 9, true},
        {"several, one character short", {"/d/ab", "/d/c"}, 8, false},
        {"characters, not bytes", {"/äöüß"}, 6, true},
        {"the default buffer", {"/" + std::string(29998, 'x')}, 30000, true},
        {"one past the default buffer", {"/" + std::string(29999, 'x')}, 30000, false},
    };
    for (const auto& c : cases) {
        FakeFilePicker picker;
        CommonDialog dialog(picker, '/');
        if (c.maxFileSize != 30000) {
            dialog.MaxFileSize = c.maxFileSize;
        }
        picker.answers.push_back(c.picked);
        if (c.fits) {
            EXPECT_NO_THROW(dialog.ShowOpen()) << c.name;
            EXPECT_FALSE(dialog.FileName.empty()) << c.name;
            continue;
        }
        try {
            dialog.ShowOpen();
            ADD_FAILURE() << c.name << ": no error";
        } catch (const PlatformError& error) {
            EXPECT_EQ(error.Number(), 20476) << c.name;
        }
        EXPECT_EQ(dialog.FileName, "") << c.name;
    }
}

}  // namespace
}  // namespace tabulane
