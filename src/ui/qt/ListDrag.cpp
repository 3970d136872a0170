#include "ui/qt/ListDrag.h"

#include <QDir>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QEvent>
#include <QMimeData>
#include <QUrl>

namespace tabulane {

DragData DragDataFrom(const QMimeData* mime) {
    DragData data;
    if (mime == nullptr || !mime->hasUrls() || mime->urls().isEmpty()) {
        return data;
    }
    for (const QUrl& url : mime->urls()) {
        if (!url.isLocalFile()) {
            data.paths.clear();
            return data;
        }
        QString path = QDir::toNativeSeparators(url.toLocalFile());
        // A folder may come as "dir/": the walk adds its own separator.
        while (path.size() > 1 && path.endsWith(QDir::separator()) && !path.endsWith(QStringLiteral(":\\"))) {
            path.chop(1);
        }
        data.paths.push_back(path.toStdString());
    }
    data.offersFileList = true;
    return data;
}

bool HandleListDrag(QEvent& event, const Form1Events& events, Form1& form, const TrappedRun& run) {
    const QEvent::Type type = event.type();
    if (type == QEvent::DragEnter || type == QEvent::DragMove) {
        auto& drag = static_cast<QDragMoveEvent&>(event);
        // Qt numbers copy, move and link as the platform's drop effects do.
        int effect = kDropEffectNone;
        if (events.DragOverList) {
            effect = static_cast<int>(drag.proposedAction());
            run("DragOverList", [&] { events.DragOverList(DragDataFrom(drag.mimeData()), effect); });
        }
        if (effect == kDropEffectNone) {
            drag.ignore();  // the platform shows its no-drop pointer
        } else {
            drag.setDropAction(static_cast<Qt::DropAction>(effect));
            drag.accept();
        }
        return true;
    }
    if (type == QEvent::Drop) {
        auto& drop = static_cast<QDropEvent&>(event);
        const DragData dropped = DragDataFrom(drop.mimeData());
        if (!dropped.offersFileList || !events.DropOnList) {
            drop.ignore();
            return true;
        }
        drop.acceptProposedAction();
        run("DropOnList", [&] { events.DropOnList(form, dropped); });
        return true;
    }
    return false;
}

}  // namespace tabulane
