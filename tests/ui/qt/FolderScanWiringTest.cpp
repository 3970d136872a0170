#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QTreeView>
#include <QUrl>
#include <filesystem>
#include <string>
#include <vector>

#include "ui/qt/Form1Harness.h"

namespace tabulane {
namespace {

namespace fs = std::filesystem;
using test::Click;
using test::TempDir;
using test::WriteFileBytes;
using Entries = std::vector<std::string>;

QMimeData* LocalFiles(const std::vector<std::string>& paths) {
    auto* mime = new QMimeData;
    QList<QUrl> urls;
    for (const auto& path : paths) {
        urls.push_back(QUrl::fromLocalFile(QString::fromStdString(path)));
    }
    mime->setUrls(urls);
    return mime;
}

// Adding a folder, loading the samples and dropping on the real window, wired as the program wires it.
class FolderScanWiringTest : public ::testing::Test {
protected:
    FolderScanWiringTest() { harness.Start(); }

    Form1& Form() { return *harness.form; }
    Form1Logic& Logic() { return harness.Logic(); }
    Entries Rows() {
        Entries rows;
        QAbstractItemModel* model = harness.ListView1()->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            rows.push_back(model->data(model->index(row, 0)).toString().toStdString());
        }
        return rows;
    }
    // Sends a drag entering the list with mime; true when the list accepts it.
    bool DragOver(QMimeData* mime) {
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction | Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
        enter.setAccepted(true);
        QApplication::sendEvent(harness.ListView1()->viewport(), &enter);
        delete mime;
        return enter.isAccepted();
    }
    // A release over the list, after the drag entered it as a real drag does.
    void Drop(QMimeData* mime) {
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(harness.ListView1()->viewport(), &enter);
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(harness.ListView1()->viewport(), &drop);
        delete mime;
    }
    void Tree(const std::vector<std::string>& files) {
        for (const auto& file : files) {
            fs::create_directories(fs::path(dir.File(file)).parent_path());
            WriteFileBytes(dir.File(file), "a\tb\n");
        }
    }

    test::Form1Harness harness;
    TempDir dir;
};

TEST_F(FolderScanWiringTest, OnlyAListOfLocalFilesMayBeDropped) {
    Tree({"a.txt"});
    auto* text = new QMimeData;
    text->setText(QString::fromStdString(dir.File("a.txt")));
    EXPECT_FALSE(DragOver(text));
    auto* remote = new QMimeData;
    remote->setUrls({QUrl(QStringLiteral("https://example.com/a.txt"))});
    EXPECT_FALSE(DragOver(remote));
    auto* mixed = new QMimeData;
    mixed->setUrls({QUrl::fromLocalFile(QString::fromStdString(dir.File("a.txt"))),
                    QUrl(QStringLiteral("https://example.com/b.txt"))});
    EXPECT_FALSE(DragOver(mixed));
    EXPECT_TRUE(DragOver(LocalFiles({dir.File("a.txt")})));

    auto* refused = new QMimeData;
    refused->setUrls({QUrl(QStringLiteral("https://example.com/a.txt"))});
    Drop(refused);
    EXPECT_TRUE(Rows().empty());
    EXPECT_TRUE(harness.fake.boxes.shown.empty());
}

TEST_F(FolderScanWiringTest, ADropAppendsFilesAndEachFolderTreeInTheDeliveredOrder) {
    Tree({"A/a1.txt", "A/sub/a2.txt", "A/~skip.txt", "B/b1.txt", "loose/~kept.txt", "loose/.hidden"});
    Logic().SetPointer(MousePointer::Hourglass);  // a drop is taken during a run and changes no pointer
    Drop(LocalFiles({dir.File("A"), dir.File("loose/~kept.txt"), dir.File("gone.txt"), dir.File("B") + "/",
                     dir.File("loose/.hidden")}));
    EXPECT_EQ(Rows(), (Entries{dir.File("A/a1.txt"), dir.File("A/sub/a2.txt"), dir.File("loose/~kept.txt"),
                               dir.File("B/b1.txt"), dir.File("loose/.hidden")}));
    // The vanished path is reported once and the rest of the drop went on.
    ASSERT_EQ(harness.fake.boxes.ErrorTexts().size(), 1u);
    EXPECT_NE(harness.fake.boxes.ErrorTexts()[0].find("in Tabulane2021/08/31.Form1.DropOnList at line 100"),
              std::string::npos);
    EXPECT_EQ(Logic().Pointer(), MousePointer::Hourglass);
}

TEST_F(FolderScanWiringTest, TheAddButtonsFillTheListAndASamplesAnswerOpensTheFolder) {
    Tree({"docs/a.txt", "docs/b.csv"});
    fs::create_directories(harness.programFolder.File("Samples"));
    WriteFileBytes(harness.programFolder.File("Samples/example.txt"), "x\ty\n");
    harness.fake.boxes.inputs.push_back("txt");
    harness.fake.folderPicker.answers.push_back(dir.File("docs"));
    Click(harness.Button(3));
    harness.fake.boxes.answers.push_back(BoxAnswer::Yes);
    Click(harness.Button(7));
    EXPECT_EQ(Rows(), (Entries{dir.File("docs/a.txt"), harness.programFolder.File("Samples/example.txt")}));
    EXPECT_EQ(harness.fake.shell.opened, Entries{harness.programFolder.File("Samples/")});
    EXPECT_EQ(Logic().Pointer(), MousePointer::Default);
}

TEST_F(FolderScanWiringTest, AScanDuringARunLeavesTheRunBusy) {
    Tree({"run/1.txt", "run/2.txt", "more/3.txt"});
    for (const char* file : {"run/1.txt", "run/2.txt"}) {
        Logic().List().Append(dir.File(file));
    }
    Logic().SetOption2Selected(true);
    Logic().SetComboText("Tabs To Commas");
    MousePointer afterScan = MousePointer::Default;
    int rowsAfterDoubleClick = 0;
    harness.fake.eventLoop.onYield = [&](int yield) {
        if (yield != 3) {  // the second file's first yield: the hourglass is up
            return;
        }
        harness.fake.boxes.inputs.push_back("*");
        harness.fake.folderPicker.answers.push_back(dir.File("more"));
        Click(harness.Button(3));
        afterScan = Logic().Pointer();
        harness.ListView1()->setCurrentIndex(harness.ListView1()->model()->index(0, 0));
        emit harness.ListView1()->doubleClicked(harness.ListView1()->model()->index(0, 0));
        rowsAfterDoubleClick = harness.ListView1()->model()->rowCount();
    };
    Click(harness.Button(2));
    EXPECT_EQ(afterScan, MousePointer::Hourglass);
    EXPECT_EQ(rowsAfterDoubleClick, 3);  // removal stayed locked
    EXPECT_EQ(Rows(), (Entries{dir.File("run/1.txt"), dir.File("run/2.txt"), dir.File("more/3.txt")}));
    EXPECT_TRUE(fs::exists(dir.File("run/2.csv")));
    EXPECT_FALSE(fs::exists(dir.File("more/3.csv")));  // appended during the run: left for the next one
    EXPECT_EQ(Logic().Pointer(), MousePointer::Default);
}

}  // namespace
}  // namespace tabulane
