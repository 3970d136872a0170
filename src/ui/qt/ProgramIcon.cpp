#include "ui/qt/ProgramIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tabulane {

QImage DrawProgramIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 256.0, size / 256.0);  // drawn on a 256-unit square

    const QColor dark(0x1F, 0x4E, 0x2A);
    const QColor green(0x3C, 0x8D, 0x4E);
    const QColor grid(0x9B, 0xC3, 0xA4);

    // The sheet with its header row.
    const QRectF sheet(36, 14, 184, 228);
    QPainterPath outline;
    outline.addRoundedRect(sheet, 18, 18);
    painter.fillPath(outline, Qt::white);
    painter.save();
    painter.setClipPath(outline);
    painter.fillRect(QRectF(sheet.left(), sheet.top(), sheet.width(), 58), green);
    painter.restore();

    // Cells: three columns, four rows below the header.
    painter.setPen(QPen(grid, 8, Qt::SolidLine, Qt::FlatCap));
    for (const double x : {97.0, 158.0}) {
        painter.drawLine(QPointF(x, 72), QPointF(x, 240));
    }
    for (const double y : {114.0, 156.0, 198.0}) {
        painter.drawLine(QPointF(38, y), QPointF(218, y));
    }
    painter.setPen(QPen(dark, 10));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(outline);

    // The comma: a round head and a tail sweeping down to the left, set off from the sheet by a white rim.
    QPainterPath comma;
    comma.addEllipse(QPointF(186, 178), 34, 34);
    QPainterPath tail;
    tail.moveTo(206, 196);
    tail.cubicTo(216, 226, 196, 248, 162, 252);
    tail.cubicTo(182, 238, 186, 222, 178, 206);
    tail.closeSubpath();
    comma = comma.united(tail);
    painter.setPen(QPen(Qt::white, 8));
    painter.setBrush(dark);
    painter.drawPath(comma);
    painter.end();
    return image;
}

QIcon ProgramIcon() {
    QIcon icon;
    for (const int size : kProgramIconSizes) {
        icon.addPixmap(QPixmap::fromImage(DrawProgramIcon(size)));
    }
    return icon;
}

}  // namespace tabulane
