#include "platform/CommonDialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/PlatformError.h"
#include "support/FakeFilePicker.h"

namespace tabulane {
namespace {

using test::FakeFilePicker;

// The component's buffer holds the folder once and then each name: a selection fits exactly at its length and fails
// one character below it, for every shape of folder.
TEST(CommonDialog, ASelectionNeedsTheFolderOnceAndEachNameWithTheirNulCharacters) {
    struct Case {
        const char* name;
        char separator;
        std::vector<std::string> picked;
        int needed;  // the buffer as the component fills it, its NUL characters included
    };
    const std::vector<Case> cases = {
        {"one file", '\\', {"D:\\Data\\a.txt"}, 14},                                           // "D:\Data\a.txt" NUL
        {"three files", '\\', {"D:\\Data\\a.txt", "D:\\Data\\b.txt", "D:\\Data\\c.txt"}, 27},  // "D:\Data" a b c
        {"a drive root keeps its separator", '\\', {"E:\\x.txt", "E:\\y.txt"}, 17},            // "E:\" x y
        {"POSIX folder", '/', {"/home/u/a", "/home/u/b"}, 13},                                 // "/home/u" a b
        {"the POSIX root stays /", '/', {"/x", "/y"}, 7},                                      // "/" x y
        {"files from two folders name the shared one", '/', {"/d/e/a", "/d/f/b"}, 12},         // "/d" e/a f/b
    };
    for (const auto& c : cases) {
        for (const int size : {c.needed, c.needed - 1}) {
            FakeFilePicker picker;
            CommonDialog dialog(picker, c.separator);
            dialog.MaxFileSize = size;
            dialog.FileNames = {"left over"};
            picker.answers.push_back(c.picked);
            const bool fits = size == c.needed;
            try {
                dialog.ShowOpen();
                EXPECT_TRUE(fits) << c.name << ": no error at " << size;
            } catch (const PlatformError& error) {
                EXPECT_FALSE(fits) << c.name;
                EXPECT_EQ(error.Number(), 20476) << c.name;
            }
            EXPECT_EQ(dialog.FileNames, fits ? c.picked : std::vector<std::string>{}) << c.name;
        }
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
            EXPECT_EQ(dialog.FileNames, c.picked) << c.name;
            continue;
        }
        try {
            dialog.ShowOpen();
            ADD_FAILURE() << c.name << ": no error";
        } catch (const PlatformError& error) {
            EXPECT_EQ(error.Number(), 20476) << c.name;
        }
        EXPECT_TRUE(dialog.FileNames.empty()) << c.name;
    }
}

}  // namespace
}  // namespace tabulane
