#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPushButton>
#include <QTreeView>
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "ui/qt/Form1Harness.h"

namespace tabulane {
namespace {

using test::Click;
using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

// The real window with the file list, add files, clear, removal and the run plugged in as the program does.
class FileListWiringTest : public ::testing::Test {
protected:
    FileListWiringTest() { harness.Start(); }

    Form1& Form() { return *harness.form; }
    Form1Logic& Logic() { return harness.Logic(); }

    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& box : harness.fake.boxes.shown) {
            texts.push_back(box.text);
        }
        return texts;
    }

    test::Form1Harness harness;
    test::FakeFilePicker& picker = harness.fake.filePicker;
    TempDir dir;
};

TEST_F(FileListWiringTest, StartConvertingConvertsThreeFilesOnTheRealWindow) {
    std::filesystem::create_directory(dir.Path() / "out");
    WriteFileBytes(dir.File("a.txt"), "1\t2\n3\t4\n");
    WriteFileBytes(dir.File("b.txt"), "x\t\ty\r\n");
    WriteFileBytes(dir.File("c.txt"), "no tabs");
    picker.answers.push_back({dir.File("a.txt"), dir.File("b.txt"), dir.File("c.txt")});
    Click(harness.Button(1));
    ASSERT_EQ(harness.ListView1()->model()->rowCount(), 3);
    EXPECT_EQ(harness.ListView1()->model()->data(harness.ListView1()->model()->index(1, 0)).toString().toStdString(),
              dir.File("b.txt"));
    EXPECT_EQ(harness.ListView1()->header()->model()->headerData(0, Qt::Horizontal).toString().toStdString(),
              "File(s)");

    Logic().SetOption1Selected(true);
    Logic().SetText1Text(dir.File("out"));
    Logic().SetComboText("Tabs To Commas");
    Click(harness.Button(2));

    EXPECT_EQ(ReadFileBytes(dir.File("out/a.csv")), "1,2\r\n3,4\r\n");
    EXPECT_EQ(ReadFileBytes(dir.File("out/b.csv")), "x,,y\r\n");
    EXPECT_EQ(ReadFileBytes(dir.File("out/c.csv")), "no tabs\r\n");
    EXPECT_EQ(Messages(), std::vector<std::string>{"Done."});
    EXPECT_EQ(harness.fake.boxes.shown[0].caption, Logic().ApplicationTitle());
    EXPECT_EQ(Logic().Pointer(), MousePointer::Default);
    EXPECT_EQ(harness.fake.eventLoop.yields, 6);
}

TEST_F(FileListWiringTest, ClosingTheWindowDuringARunLeavesNoTemporaryFile) {
    std::filesystem::create_directory(dir.Path() / "out");
    std::string big;
    for (int i = 0; i < 200000; ++i) {
        big += "field\tfield\tfield\n";
    }
    WriteFileBytes(dir.File("a.txt"), big);
    WriteFileBytes(dir.File("b.txt"), big);
    picker.answers.push_back({dir.File("a.txt"), dir.File("b.txt")});
    Click(harness.Button(1));
    Logic().SetOption1Selected(true);
    Logic().SetText1Text(dir.File("out"));
    Logic().SetComboText("Tabs To Commas");

    // The user closes the window while the run yields before its second file; the program would end right there.
    std::vector<std::string> namesAtEnd;
    harness.fake.eventLoop.onYield = [&](int yield) {
        if (yield == 3) {
            Form().close();
            for (const auto& entry : std::filesystem::directory_iterator(dir.Path() / "out")) {
                namesAtEnd.push_back(entry.path().filename().string());
            }
        }
    };
    Click(harness.Button(2));
    EXPECT_EQ(harness.endProgramCalls, 1);
    EXPECT_EQ(namesAtEnd, std::vector<std::string>{"a.csv"});
}

TEST_F(FileListWiringTest, TheViewRemovesItsSelectedEntryAndClearListEmptiesIt) {
    for (const char* name : {"/d/a", "/d/b", "/d/c"}) {
        Logic().List().Append(name);
    }
    harness.ListView1()->setCurrentIndex(harness.ListView1()->model()->index(1, 0));
    test::PressKey(harness.ListView1(), Qt::Key_Delete);
    ASSERT_EQ(Logic().List().Count(), 2);
    EXPECT_EQ(Logic().List().EntryText(2), "/d/c");

    Logic().SetPointer(MousePointer::Hourglass);
    Click(harness.Button(6));
    EXPECT_EQ(harness.ListView1()->model()->rowCount(), 2);
    Logic().SetPointer(MousePointer::Default);
    Click(harness.Button(6));
    EXPECT_EQ(harness.ListView1()->model()->rowCount(), 0);
    EXPECT_TRUE(harness.fake.boxes.shown.empty());
}

TEST_F(FileListWiringTest, ADoubleClickOnTheEmptyPartOfTheListRemovesTheSelectedEntry) {
    for (const char* name : {"/d/a", "/d/b"}) {
        Logic().List().Append(name);
    }
    harness.ListView1()->setCurrentIndex(harness.ListView1()->model()->index(0, 0));
    QWidget* viewport = harness.ListView1()->viewport();
    const QPointF below(viewport->width() / 2.0, viewport->height() - 5.0);  // under the last row
    ASSERT_FALSE(harness.ListView1()->indexAt(below.toPoint()).isValid());
    QMouseEvent twice(QEvent::MouseButtonDblClick, below, viewport->mapToGlobal(below), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(viewport, &twice);
    ASSERT_EQ(Logic().List().Count(), 1);
    EXPECT_EQ(Logic().List().EntryText(1), "/d/b");
}

// Only regular files are converted in the window: a FIFO without a writer, a device and a socket are each reported
// and skipped, and the files around them are converted.
TEST_F(FileListWiringTest, InputsThatAreNotRegularFilesAreReportedAndSkipped) {
    std::filesystem::create_directory(dir.Path() / "out");
    WriteFileBytes(dir.File("a.txt"), "1\t2\n");
    WriteFileBytes(dir.File("b.txt"), "3\t4\n");
    ASSERT_EQ(::mkfifo(dir.File("fifo.txt").c_str(), 0600), 0);
    const std::string socketPath = dir.File("s.txt");
    const int listener = test::BindUnixSocket(socketPath);
    ASSERT_GE(listener, 0);
    for (const std::string& path :
         {dir.File("a.txt"), dir.File("fifo.txt"), std::string("/dev/zero"), socketPath, dir.File("b.txt")}) {
        Logic().List().Append(path);
    }
    Logic().SetOption1Selected(true);
    Logic().SetText1Text(dir.File("out"));
    Click(harness.Button(2));
    ::close(listener);

    EXPECT_EQ(ReadFileBytes(dir.File("out/a.csv")), "1,2\r\n");
    EXPECT_EQ(ReadFileBytes(dir.File("out/b.csv")), "3,4\r\n");
    EXPECT_FALSE(std::filesystem::exists(dir.File("out/fifo.csv")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("out/zero.csv")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("out/s.csv")));
    const auto errors = harness.fake.boxes.ErrorTexts();
    for (const char* kind : {"named pipe", "character device", "socket"}) {
        EXPECT_EQ(std::count_if(errors.begin(), errors.end(),
                                [&](const std::string& text) {
                                    return text.find(std::string("is a ") + kind) != std::string::npos;
                                }),
                  2)
            << kind;  // reported by the mark test and by the opening step, as any input that cannot be opened
    }
    EXPECT_EQ(Messages().back(), "Done.");
}

}  // namespace
}  // namespace tabulane
