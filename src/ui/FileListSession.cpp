#include "ui/FileListSession.h"

#include "filelist/AddFiles.h"
#include "filelist/AddFolder.h"
#include "filelist/DragDrop.h"
#include "filelist/ListEditing.h"
#include "filelist/SampleFiles.h"

namespace tabulane {

FileListSession::FileListSession(Form1& form, FilePicker& filePicker)
    : m_form(form), m_model(m_list), m_commonDialog1(filePicker) {
    m_form.SetListModel(&m_model);
}

void FileListSession::Wire(Form1Events& events) {
    events.PushButton1_Click = [this] {
        PushButton1_Click(m_commonDialog1, m_list, m_form.GetPlatform(), m_form.Reporter(), m_form.ApplicationTitle());
    };
    events.PushButton2_Click = [this] {
        m_batchRun.PushButton2_Click(m_form, m_form.GetPlatform(), m_list, m_form.Reporter(),
                                     m_form.ApplicationTitle());
    };
    events.PushButton3_Click = [this] {
        PushButton3_Click(m_form, m_list, m_form.GetPlatform(), m_form.Reporter(), m_form.ApplicationTitle());
    };
    events.PushButton7_Click = [this] {
        PushButton7_Click(m_list, m_form.GetPlatform(), m_form.Reporter(), m_form.ApplicationTitle());
    };
    events.DragOverList = [](const DragData& data, int& effect) { DragOverList(data, effect); };
    events.DropOnList = [this](const DragData& data) {
        DropOnList(data, m_list, m_form.GetPlatform(), m_form.Reporter());
    };
    events.PushButton6_Click = [this] { PushButton6_Click(m_form, m_list, m_form.Reporter()); };
    events.ListView1_DblClick = [this] { ListView1_DblClick(m_form, m_list); };
    events.ListView1_KeyDown = [this](int qtKey) {
        ListView1_KeyDown(m_form, m_list, qtKey == Qt::Key_Delete ? kDeleteKeyCode : 0);
    };
}

}  // namespace tabulane
