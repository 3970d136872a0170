// The scenarios' driver over the real Qt window: controls found by their object names (the design's names), real
// mouse and key events through QTest.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QProgressBar>
#include <QTest>
#include <QTreeView>
#include <QUrl>
#include <memory>

#include "support/TempDir.h"
#include "ui/WindowDriver.h"
#include "ui/qt/Form1.h"

namespace tabulane::test {
namespace {

Qt::Key QtKeyOf(int virtualKey) {
    switch (virtualKey) {
        case WindowDriver::kDelete:
            return Qt::Key_Delete;
        case WindowDriver::kDown:
            return Qt::Key_Down;
        case WindowDriver::kBackspace:
            return Qt::Key_Backspace;
        case WindowDriver::kReturn:
            return Qt::Key_Return;
        default:
            break;
    }
    ADD_FAILURE() << "no Qt key for virtual key " << virtualKey;
    return Qt::Key_unknown;
}

// A file address for a local path, percent-encoding every byte that is not plain, as a file browser writes it.
QByteArray FileAddress(const std::string& path) {
    return "file://" + QByteArray::fromStdString(path).toPercentEncoding("/");
}

class QtWindowDriver final : public WindowDriver {
public:
    QtWindowDriver() {
        m_fake.environment.programFolder = m_programFolder.Path().string();
        m_form = std::make_unique<Form1>(m_fake.platform, [this] { ++m_endProgramCalls; });
    }

    FakePlatform& Fake() override { return m_fake; }
    std::string ProgramFolder() const override { return m_programFolder.Path().string(); }

    StartupResult Start(const std::string& argumentText) override {
        const StartupResult result = m_form->Load(argumentText);
        if (!result.commandLineRan) {
            m_form->ShowCentred();
        }
        return result;
    }
    bool Visible() override { return m_form->isVisible(); }
    void Close() override { m_form->close(); }
    int EndProgramCalls() override { return m_endProgramCalls; }

    void Click(const std::string& control) override {
        QWidget* widget = Find(control);
        if (widget == nullptr) {
            return;
        }
        EXPECT_TRUE(widget->isEnabled()) << control << " is not enabled";
        QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
    }

    void TypeInto(const std::string& control, const std::string& text) override {
        QWidget* box = EditOf(control);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_End);
        QTest::keyClicks(box, QString::fromStdString(text));
    }

    void ClearText(const std::string& control) override {
        QWidget* box = EditOf(control);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Delete);
    }

    void PressKey(const std::string& control, int virtualKey) override {
        QWidget* widget = control == "Combo1" ? Find(control) : EditOrControl(control);
        widget->setFocus();
        QTest::keyClick(widget, QtKeyOf(virtualKey));
    }

    void ClickListRow(int row) override {
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, Qt::NoModifier, RowPoint(row));
    }

    void DoubleClickList(int row) override {
        // What the window system delivers for a double-click: press, release, double-click, release. QTest's
        // own double-click sends the third alone.
        QWidget* viewport = List()->viewport();
        const QPoint at = RowPoint(row);
        QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, at);
    }

    void MoveMouseOver(const std::string& control) override {
        QWidget* widget = Find(control);
        if (auto* list = qobject_cast<QTreeView*>(widget)) {
            widget = list->viewport();
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            widget = combo->lineEdit();
        }
        // A move with no button held, as the window system sends it to the widget under the pointer.
        const QPointF local = QRectF(widget->rect()).center();
        QMouseEvent move(QEvent::MouseMove, local, widget->mapToGlobal(local), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
    }

    void Drop(const std::vector<std::string>& paths) override {
        QByteArray addresses;
        for (const std::string& path : paths) {
            addresses += FileAddress(path) + "\r\n";
        }
        QMimeData mime;
        mime.setData(QStringLiteral("text/uri-list"), addresses);
        QWidget* viewport = List()->viewport();
        const QPoint at(10, 10);
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &enter);
        QDragMoveEvent move(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
        if (!move.isAccepted()) {
            return;  // the pointer shows no-drop and the release drops nothing
        }
        QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &drop);
    }

    std::vector<std::string> ListRows() override {
        std::vector<std::string> rows;
        QAbstractItemModel* model = List()->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            rows.push_back(model->data(model->index(row, 0)).toString().toStdString());
        }
        return rows;
    }
    std::string ListHeader() override {
        return List()->model()->headerData(0, Qt::Horizontal).toString().toStdString();
    }

    std::string Text(const std::string& control) override {
        QWidget* widget = Find(control);
        if (widget == m_form.get()) {
            return m_form->windowTitle().toStdString();
        }
        if (auto* box = qobject_cast<QLineEdit*>(widget)) {
            return box->text().toStdString();
        }
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            return combo->currentText().toStdString();
        }
        if (auto* bar = qobject_cast<QProgressBar*>(widget)) {
            return bar->text().toStdString();
        }
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            return button->text().toStdString();
        }
        if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
            return frame->title().toStdString();
        }
        return {};
    }
    std::vector<std::string> ComboItems() override {
        std::vector<std::string> items;
        auto* combo = Get<QComboBox>("Combo1");
        for (int i = 0; i < combo->count(); ++i) {
            items.push_back(combo->itemText(i).toStdString());
        }
        return items;
    }
    int ComboSelection() override { return Get<QComboBox>("Combo1")->currentIndex(); }
    bool IsChecked(const std::string& control) override { return Get<QAbstractButton>(control)->isChecked(); }
    bool IsEnabled(const std::string& control) override { return Find(control)->isEnabled(); }
    int ProgressValue() override { return Get<QProgressBar>("ProgressBar1")->value(); }
    MousePointer Pointer() override { return m_form->Logic().Pointer(); }

private:
    QWidget* Find(const std::string& control) {
        if (control == "Form1") {
            return m_form.get();
        }
        auto* widget = m_form->findChild<QWidget*>(QString::fromStdString(control));
        if (widget == nullptr) {
            ADD_FAILURE() << "the window has no control " << control;
        }
        return widget;
    }
    template <typename Control>
    Control* Get(const std::string& control) {
        auto* widget = qobject_cast<Control*>(Find(control));
        if (widget == nullptr) {
            ADD_FAILURE() << control << " is not of the kind asked for";
        }
        return widget;
    }
    // Where a control takes its typing: the mode box through its edit field.
    QWidget* EditOf(const std::string& control) {
        QWidget* widget = EditOrControl(control);
        EXPECT_TRUE(widget->isEnabled()) << control << " is not enabled";
        return widget;
    }
    QWidget* EditOrControl(const std::string& control) {
        QWidget* widget = Find(control);
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            return combo->lineEdit();
        }
        return widget;
    }
    QTreeView* List() { return Get<QTreeView>("ListView1"); }
    // The middle of a row, or a point of the empty part below the rows.
    QPoint RowPoint(int row) {
        QTreeView* list = List();
        if (row <= 0) {
            const QPoint below(list->viewport()->width() / 2, list->viewport()->height() - 5);
            EXPECT_FALSE(list->indexAt(below).isValid()) << "the list has no empty part left";
            return below;
        }
        return list->visualRect(list->model()->index(row - 1, 0)).center();
    }

    TempDir m_programFolder;
    FakePlatform m_fake;
    int m_endProgramCalls = 0;
    std::unique_ptr<Form1> m_form;
};

}  // namespace

std::unique_ptr<WindowDriver> MakeWindowDriver() {
    return std::make_unique<QtWindowDriver>();
}

}  // namespace tabulane::test
