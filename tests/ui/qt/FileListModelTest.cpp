#include "ui/qt/FileListModel.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace tabulane {
namespace {

// Records the model's row signals with the row count the model reports at that moment, as a view sees them.
class Recorder {
public:
    explicit Recorder(FileListModel& model) : m_model(model) {
        const auto note = [this](const std::string& what) {
            events.push_back(what + " @" + std::to_string(m_model.rowCount()));
        };
        QObject::connect(&model, &QAbstractItemModel::rowsAboutToBeInserted, &model,
                         [note](const QModelIndex&, int first, int last) {
                             note("about to insert " + std::to_string(first) + ".." + std::to_string(last));
                         });
        QObject::connect(&model, &QAbstractItemModel::rowsInserted, &model,
                         [note](const QModelIndex&, int, int) { note("inserted"); });
        QObject::connect(
            &model, &QAbstractItemModel::rowsAboutToBeRemoved, &model,
            [note](const QModelIndex&, int first, int) { note("about to remove " + std::to_string(first)); });
        QObject::connect(&model, &QAbstractItemModel::rowsRemoved, &model,
                         [note](const QModelIndex&, int, int) { note("removed"); });
        QObject::connect(&model, &QAbstractItemModel::modelAboutToBeReset, &model, [note] { note("about to reset"); });
        QObject::connect(&model, &QAbstractItemModel::modelReset, &model, [note] { note("reset"); });
    }

    std::vector<std::string> events;

private:
    FileListModel& m_model;
};

TEST(FileListModel, ShowsTheEntriesInOneColumn) {
    FileList list;
    list.Append("/in/a.txt");
    FileListModel model(list);
    list.Append("/in/Grüße.txt");
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.columnCount(), 1);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString().toStdString(), "File(s)");
    EXPECT_EQ(model.data(model.index(0, 0)).toString().toStdString(), "/in/a.txt");
    EXPECT_EQ(model.data(model.index(1, 0)).toString(), QStringLiteral(u"/in/Grüße.txt"));
    EXPECT_FALSE(model.data(model.index(2, 0)).isValid());
    EXPECT_EQ(model.rowCount(model.index(0, 0)), 0);  // a flat list: entries have no children

    // The window's load step names the column.
    EXPECT_TRUE(model.setHeaderData(0, Qt::Horizontal, QStringLiteral("Files")));
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Files"));
    EXPECT_FALSE(model.setHeaderData(1, Qt::Horizontal, QStringLiteral("Other")));
}

TEST(FileListModel, TurnsListChangesIntoRowSignals) {
    FileList list;
    list.Append("a");
    FileListModel model(list);
    Recorder recorder(model);
    list.Append("b");
    list.Append("c");
    list.RemoveAt(2);
    list.Clear();
    EXPECT_EQ(recorder.events, (std::vector<std::string>{
                                   "about to insert 1..1 @1", "inserted @2", "about to insert 2..2 @2", "inserted @3",
                                   "about to remove 1 @3", "removed @2", "about to reset @2", "reset @0"}));
}

TEST(FileListModel, LeavesTheListAloneOnceDestroyed) {
    FileList list;
    {
        FileListModel model(list);
        list.Append("a");
    }
    list.Append("b");  // would reach a destroyed model if it were still attached
    list.RemoveAt(1);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.EntryText(1), "b");
}

}  // namespace
}  // namespace tabulane
