#include "platform/qt/QtCursorFile.h"

#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QString>

#include "platform/CursorFile.h"
#include "platform/PlatformError.h"

namespace tabulane {

QCursor ReadCursorFile(const std::string& path) {
    // The shared check first, so the window refuses exactly what the command line refuses.
    const CursorHotspot hotspot = CheckCursorFile(path);
    QImageReader reader(QString::fromStdString(path));
    reader.setDecideFormatFromContent(true);
    const QImage image = reader.read();
    if (image.isNull()) {
        throw PlatformError(ErrorNumber::kInvalidPicture, "Invalid picture");
    }
    return QCursor(QPixmap::fromImage(image), hotspot.x, hotspot.y);
}

}  // namespace tabulane
