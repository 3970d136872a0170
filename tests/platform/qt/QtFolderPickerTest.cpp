#include "platform/qt/QtFolderPicker.h"

#include <gtest/gtest.h>

#include <string>

namespace tabulane {
namespace {

TEST(QtFolderPicker, TheDialogsAnswerKeepsOnlyARootsSeparator) {
    struct Case {
        const char* dialogAnswer;
        std::string expected;
    };
    const Case cases[] = {
        {"", ""},  // cancelled
#ifdef _WIN32
        {"C:/", "C:\\"},
        {"C:/Data", "C:\\Data"},
        {"C:/Data/", "C:\\Data"},
#else
        {"/", "/"}, {"/data", "/data"}, {"/data/", "/data"}, {"/home/user/My Files", "/home/user/My Files"},
#endif
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dialogAnswer);
        EXPECT_EQ(NormalisePickedFolder(QString::fromUtf8(c.dialogAnswer)), c.expected);
    }
}

}  // namespace
}  // namespace tabulane
