#include "ui/qt/FileListSession.h"

#include "filelist/AddFiles.h"
#include "filelist/AddFolder.h"
#include "filelist/DragDrop.h"
#include "filelist/ListEditing.h"
#include "filelist/SampleFiles.h"
#include "platform/CommonDialog.h"

namespace tabulane {

FileListSession::FileListSession() : m_model(m_list) {}

Form1Events FileListSession::Events() {
    Form1Events events;
    events.PushButton1_Click = [this](Form1& form) {
        // The window's file dialog component, set up afresh at every click.
        CommonDialog commonDialog1(form.GetPlatform().filePicker);
        PushButton1_Click(commonDialog1, m_list, form.GetPlatform(), form.Reporter(), form.ApplicationTitle());
    };
    events.PushButton2_Click = [this](Form1& form) {
        m_batchRun.PushButton2_Click(form, form.GetPlatform(), m_list, form.Reporter(), form.ApplicationTitle());
    };
    events.PushButton3_Click = [this](Form1& form) {
        PushButton3_Click(form, m_list, form.GetPlatform(), form.Reporter(), form.ApplicationTitle());
    };
    events.PushButton7_Click = [this](Form1& form) {
        PushButton7_Click(m_list, form.GetPlatform(), form.Reporter(), form.ApplicationTitle());
    };
    events.DragOverList = [](const DragData& data, int& effect) { DragOverList(data, effect); };
    events.DropOnList = [this](Form1& form, const DragData& data) {
        DropOnList(data, m_list, form.GetPlatform(), form.Reporter());
    };
    events.PushButton6_Click = [this](Form1& form) { PushButton6_Click(form, m_list, form.Reporter()); };
    events.ListView1_DblClick = [this](Form1& form) { ListView1_DblClick(form, m_list); };
    events.ListView1_KeyDown = [this](Form1& form, int qtKey) {
        ListView1_KeyDown(form, m_list, qtKey == Qt::Key_Delete ? kDeleteKeyCode : 0);
    };
    return events;
}

}  // namespace tabulane
