#include "platform/qt/QtCursorFile.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QPoint>
#include <QString>

#include "platform/PlatformError.h"

namespace tabulane {

namespace {

// Our error number for a pointer file that cannot be read as a picture.
constexpr int kInvalidPicture = 481;

// The file header (6 bytes) and the first image's directory entry up to its hotspot (8 bytes).
constexpr qint64 kHotspotEnd = 14;
constexpr int kCursorType = 2;  // the header's type word: 1 for an icon, 2 for a cursor

// The hotspot of a cursor file: the first image's entry holds it where an icon keeps planes and bit count.
QPoint ReadHotspot(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray header = file.read(kHotspotEnd);
    if (header.size() < kHotspotEnd || static_cast<unsigned char>(header[2]) != kCursorType) {
        return {};
    }
    auto word = [&header](int at) {
        return static_cast<int>(static_cast<unsigned char>(header[at]) |
                                (static_cast<unsigned char>(header[at + 1]) << 8));
    };
    return {word(10), word(12)};
}

}  // namespace

QCursor ReadCursorFile(const std::string& path) {
    const QString file = QString::fromStdString(path);
    QImageReader reader(file);
    reader.setDecideFormatFromContent(true);
    const QImage image = reader.read();
    if (image.isNull()) {
        throw PlatformError(kInvalidPicture, "Invalid picture");
    }
    const QPoint hotspot = ReadHotspot(file);
    return QCursor(QPixmap::fromImage(image), hotspot.x(), hotspot.y());
}

}  // namespace tabulane
