#pragma once

#include <QAbstractItemModel>

#include "convert/BatchRun.h"
#include "filelist/FileList.h"
#include "ui/qt/FileListModel.h"
#include "ui/qt/Form1.h"

namespace tabulane {

// The file list with the handlers that fill, empty and convert it, plugged into the window the way the
// program runs it. Create it before the window that shows it and destroy it after.
class FileListSession final {
public:
    FileListSession();
    FileListSession(const FileListSession&) = delete;
    FileListSession& operator=(const FileListSession&) = delete;

    // The handlers of the buttons that fill, empty and convert the list, of its removal events and of drops.
    Form1Events Events();

    // What the window's list shows.
    QAbstractItemModel& Model() { return m_model; }
    FileList& List() { return m_list; }
    BatchRun& Batch() { return m_batchRun; }

private:
    FileList m_list;
    FileListModel m_model;
    BatchRun m_batchRun;
};

}  // namespace tabulane
