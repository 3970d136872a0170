#include "platform/qt/QtFilePicker.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/ScopedVariable.h"
#include "support/TempDir.h"

namespace tabulane {
namespace {

TEST(QtFilePicker, ConvertsTheComponentFilterToQtsForm) {
    struct Case {
        const char* filter;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"All Files (*.*)|*.*|", "All Files (*)"},
        {"All Files (*.*)|*.*", "All Files (*)"},
        {"Text (*.txt;*.csv)|*.txt;*.csv|All Files|*.*|", "Text (*.txt *.csv);;All Files (*)"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ConvertFilterToQt(c.filter).toStdString(), c.expected) << c.filter;
    }
}

// A dialog that records the folder it was opened in and answers with the given paths.
struct RecordingDialog {
    QStringList answer;
    std::vector<std::string> openedIn;

    QtFilePicker::OpenDialog Open() {
        return [this](const QString&, const QString& folder, const QString&, bool) {
            openedIn.push_back(folder.toStdString());
            return answer;
        };
    }
};

// Each picker stands for one run of the program: the folder survives into the next run through the state folder
// alone, and the settings file is never written.
TEST(QtFilePicker, TheDialogOpensWhereFilesWereLastPickedAlsoAfterARestart) {
    test::TempDir state;
    test::TempDir data;
    test::TempDir config;
    test::ScopedVariable stateHome("XDG_STATE_HOME", state.Path().string());
    test::ScopedVariable configHome("XDG_CONFIG_HOME", config.Path().string());
    std::filesystem::create_directories(data.File("first/second"));

    RecordingDialog dialog;
    dialog.answer = {QString::fromStdString(data.File("first/a.txt")),
                     QString::fromStdString(data.File("first/b.txt"))};
    EXPECT_EQ(QtFilePicker(dialog.Open()).PickFiles("Add", "All Files (*.*)|*.*|", true).size(), 2U);

    dialog.answer = {};  // cancelled: the folder stays
    QtFilePicker(dialog.Open()).PickFiles("Add", "All Files (*.*)|*.*|", true);

    dialog.answer = {QString::fromStdString(data.File("first/second/c.txt"))};
    QtFilePicker(dialog.Open()).PickFiles("Add", "All Files (*.*)|*.*|", false);
    QtFilePicker(dialog.Open()).PickFiles("Add", "All Files (*.*)|*.*|", true);

    std::filesystem::remove_all(data.File("first"));  // a folder that has gone is not offered
    QtFilePicker(dialog.Open()).PickFiles("Add", "All Files (*.*)|*.*|", true);

    EXPECT_EQ(dialog.openedIn,
              (std::vector<std::string>{"", data.File("first"), data.File("first"), data.File("first/second"), ""}));
    EXPECT_EQ(WindowStateFile().toStdString(), state.File("Quillfen/Tabulane.ini"));
    EXPECT_TRUE(std::filesystem::exists(state.File("Quillfen/Tabulane.ini")));
    EXPECT_TRUE(std::filesystem::is_empty(config.Path()));
}

TEST(QtFilePicker, TheStateFolderFallsBackToTheHomeFolderWhenXdgStateHomeIsUnsetOrRelative) {
    test::TempDir home;
    test::ScopedVariable homeVariable("HOME", home.Path().string());
    for (const std::optional<std::string>& value : {std::optional<std::string>(), std::optional<std::string>("rel")}) {
        test::ScopedVariable stateHome("XDG_STATE_HOME", value);
        EXPECT_EQ(WindowStateFile().toStdString(), home.File(".local/state/Quillfen/Tabulane.ini"));
    }
}

}  // namespace
}  // namespace tabulane
