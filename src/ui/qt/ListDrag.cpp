#include "ui/qt/ListDrag.h"

#include <QByteArray>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QEvent>
#include <QMimeData>
#include <QUrl>

namespace tabulane {

namespace {

// The local path of a file address as the bytes the address names: QUrl::toLocalFile goes through text and turns
// bytes that are not UTF-8 into replacement characters, naming a file that does not exist.
std::string LocalPathBytes(const QUrl& url) {
    QByteArray path = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    if (!url.host().isEmpty()) {
        path.prepend(QByteArray("//") + url.host(QUrl::FullyEncoded).toLatin1());
    }
    // A folder may come as "dir/": the walk adds its own separator.
    while (path.size() > 1 && path.endsWith('/')) {
        path.chop(1);
    }
    return path.toStdString();
}

}  // namespace

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
        data.paths.push_back(LocalPathBytes(url));
    }
    data.offersFileList = true;
    return data;
}

bool HandleListDrag(QEvent& event, std::string_view control, Form1Logic& logic) {
    const QEvent::Type type = event.type();
    if (type == QEvent::DragEnter || type == QEvent::DragMove) {
        auto& drag = static_cast<QDragMoveEvent&>(event);
        // Qt numbers copy, move and link as the platform's drop effects do.
        const int effect =
            logic.DragOver(control, DragDataFrom(drag.mimeData()), static_cast<int>(drag.proposedAction()));
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
        if (!dropped.offersFileList) {
            drop.ignore();
            return true;
        }
        drop.acceptProposedAction();
        logic.Drop(control, dropped);
        return true;
    }
    return false;
}

}  // namespace tabulane
