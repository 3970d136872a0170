#pragma once

#include "convert/BatchRun.h"
#include "filelist/FileList.h"
#include "platform/CommonDialog.h"
#include "platform/FilePicker.h"
#include "ui/FileListModel.h"
#include "ui/Form1.h"

namespace tabulane {

// The file list with the handlers that fill, empty and convert it, plugged into the window the way the
// program runs it. Outlives nothing it is given: create it after the window and destroy it before.
class FileListSession final {
public:
    FileListSession(Form1& form, FilePicker& filePicker);
    FileListSession(const FileListSession&) = delete;
    FileListSession& operator=(const FileListSession&) = delete;

    // Fills the handlers of the buttons that fill, empty and convert the list, its removal events and drops.
    void Wire(Form1Events& events);

    FileList& List() { return m_list; }
    BatchRun& Batch() { return m_batchRun; }

private:
    Form1& m_form;
    FileList m_list;
    FileListModel m_model;
    CommonDialog m_commonDialog1;
    BatchRun m_batchRun;
};

}  // namespace tabulane
