#include "ui/qt/FileListModel.h"

namespace tabulane {

// Passes the list's notices to the model's protected begin/end calls. List positions are 1-based, rows 0-based.
class FileListModel::Relay final : public FileListObserver {
public:
    explicit Relay(FileListModel& model) : m_model(model) {}

    void EntriesAboutToBeAppended(int first, int last) override {
        m_model.beginInsertRows(QModelIndex(), first - 1, last - 1);
    }
    void EntriesAppended() override { m_model.endInsertRows(); }
    void EntryAboutToBeRemoved(int position) override {
        m_model.beginRemoveRows(QModelIndex(), position - 1, position - 1);
    }
    void EntryRemoved() override { m_model.endRemoveRows(); }
    void AboutToClear() override { m_model.beginResetModel(); }
    void Cleared() override { m_model.endResetModel(); }

private:
    FileListModel& m_model;
};

FileListModel::FileListModel(FileList& list, QObject* parent)
    : QAbstractTableModel(parent), m_list(list), m_relay(std::make_unique<Relay>(*this)) {
    m_list.SetObserver(m_relay.get());
}

FileListModel::~FileListModel() {
    m_list.SetObserver(nullptr);
}

int FileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_list.Count();
}

int FileListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 1;
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.column() != 0 || index.row() >= m_list.Count() || role != Qt::DisplayRole) {
        return {};
    }
    const std::string_view text = m_list.EntryView(index.row() + 1);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && section == 0 && role == Qt::DisplayRole) {
        return m_header;
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool FileListModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant& value, int role) {
    if (orientation != Qt::Horizontal || section != 0 || (role != Qt::EditRole && role != Qt::DisplayRole)) {
        return false;
    }
    m_header = value.toString();
    Q_EMIT headerDataChanged(orientation, section, section);
    return true;
}

}  // namespace tabulane
