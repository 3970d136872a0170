#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <memory>

#include "filelist/FileList.h"
#include "shell/Startup.h"

namespace tabulane {

// Shows a FileList in a view with one column, headed as the load step heads it. Rows are read from the list on demand,
// so a list of a million entries costs the view no item objects; the list's change notices become Qt's row signals.
class FileListModel final : public QAbstractTableModel {
public:
    explicit FileListModel(FileList& list, QObject* parent = nullptr);
    ~FileListModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // The load step names the column; until then it carries the same header.
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                       int role = Qt::EditRole) override;

private:
    class Relay;

    FileList& m_list;
    QString m_header = QString::fromUtf8(kListColumnHeader);
    std::unique_ptr<Relay> m_relay;
};

}  // namespace tabulane
