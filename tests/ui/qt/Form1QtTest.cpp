// What only the Qt window can show: the cursors it sets, the list's own parts, the drop data Qt hands over. The
// window's behaviour is in tests/ui/scenarios, run here through the Qt driver.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QTreeView>
#include <QUrl>
#include <filesystem>
#include <string>
#include <vector>

#include "ui/qt/Form1Harness.h"

namespace tabulane {
namespace {

using test::MoveMouseOver;

class Form1QtTest : public ::testing::Test {
protected:
    Form1& Form() { return *harness.form; }
    Form1Logic& Logic() { return harness.Logic(); }

    // Sends a drag entering the list with mime; true when the list accepts it.
    bool DragOver(QMimeData* mime) {
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction | Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
        enter.setAccepted(true);
        QApplication::sendEvent(harness.ListView1()->viewport(), &enter);
        delete mime;
        return enter.isAccepted();
    }
    void Drop(QMimeData* mime) {
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(harness.ListView1()->viewport(), &enter);
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(harness.ListView1()->viewport(), &drop);
        delete mime;
    }

    test::Form1Harness harness;
    test::TempDir dir;
};

TEST_F(Form1QtTest, TheHourglassShowsOverEveryControlAndTheTextFieldsKeepTheirIBeamOtherwise) {
    harness.Start();
    Logic().SetPointer(MousePointer::Hourglass);
    EXPECT_EQ(Form().cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(harness.Text1()->cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(harness.Combo1()->lineEdit()->cursor().shape(), Qt::WaitCursor);
    Logic().SetPointer(MousePointer::Default);
    EXPECT_EQ(Form().cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(harness.Text1()->cursor().shape(), Qt::IBeamCursor);
}

TEST_F(Form1QtTest, TheHandIsTheCursorFileBesideTheProgramOrElseTheArrow) {
    {
        test::Form1Harness withoutFile;
        withoutFile.Start();
        MoveMouseOver(withoutFile.Button(1));
        EXPECT_EQ(withoutFile.Logic().Pointer(), MousePointer::Custom);
        EXPECT_EQ(withoutFile.form->cursor().shape(), Qt::ArrowCursor);
        EXPECT_TRUE(withoutFile.fake.boxes.shown.empty());
    }
    std::filesystem::copy_file(TABULANE_BINARY_DIR "/HAND-M.CUR", harness.programFolder.File("HAND-M.CUR"));
    harness.Start();
    EXPECT_TRUE(harness.fake.boxes.shown.empty());
    MoveMouseOver(harness.Button(1));
    const QCursor hand = Form().cursor();
    EXPECT_EQ(hand.shape(), Qt::BitmapCursor);
    EXPECT_EQ(hand.pixmap().size(), QSize(32, 32));
    EXPECT_EQ(hand.hotSpot(), QPoint(6, 0));
    EXPECT_EQ(harness.Combo1()->lineEdit()->cursor().shape(), Qt::BitmapCursor);  // the hand shows over every control
    MoveMouseOver(harness.Text1());
    EXPECT_EQ(Form().cursor().shape(), Qt::ArrowCursor);
}

TEST_F(Form1QtTest, TheListsHeaderCountsAsTheList) {
    harness.Start();
    MoveMouseOver(harness.Button(3));
    MoveMouseOver(harness.ListView1()->header()->viewport());
    EXPECT_EQ(Logic().Pointer(), MousePointer::Default);
    MoveMouseOver(harness.Button(3));
    MoveMouseOver(harness.ListView1()->header());
    EXPECT_EQ(Logic().Pointer(), MousePointer::Default);
}

TEST_F(Form1QtTest, OnlyAListOfLocalFilesMayBeDropped) {
    test::WriteFileBytes(dir.File("a.txt"), "a\tb\n");
    harness.Start();
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
    auto* local = new QMimeData;
    local->setUrls({QUrl::fromLocalFile(QString::fromStdString(dir.File("a.txt")))});
    EXPECT_TRUE(DragOver(local));

    auto* refused = new QMimeData;
    refused->setUrls({QUrl(QStringLiteral("https://example.com/a.txt"))});
    Drop(refused);
    EXPECT_EQ(Logic().List().Count(), 0);
    EXPECT_TRUE(harness.fake.boxes.shown.empty());
}

// A file browser writes a name that is not UTF-8 percent-encoded byte by byte; the drop must name that very file.
TEST_F(Form1QtTest, ADroppedFileWhoseNameIsNotUtf8IsConvertedAsItIs) {
    const std::string name = "caf\xff-list.txt";
    std::filesystem::create_directory(dir.Path() / "in");
    test::WriteFileBytes(dir.File("in/" + name), "1\t2\n");
    harness.Start();
    auto* mime = new QMimeData;
    mime->setData(QStringLiteral("text/uri-list"),
                  "file://" + QByteArray::fromStdString(dir.File("in/" + name)).toPercentEncoding("/") + "\r\n");
    Drop(mime);
    ASSERT_EQ(Logic().List().Count(), 1);
    test::Click(harness.Option(2));
    test::Click(harness.Button(2));
    EXPECT_EQ(harness.fake.boxes.ErrorTexts(), std::vector<std::string>{});
    EXPECT_EQ(test::ReadFileBytes(dir.File("in/caf\xff-list.csv")), "1,2\r\n");
}

}  // namespace
}  // namespace tabulane
