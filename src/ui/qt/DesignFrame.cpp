#include "ui/qt/DesignFrame.h"

#include <QFontMetrics>
#include <QPainter>

namespace tabulane {

void DesignFrame::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QFontMetrics metrics(font());
    // The line sits half a text line down even without a caption; above it the frame leaves the window showing,
    // so a control that reaches into that strip (the first output option over the folder frame) stays whole.
    const int lineTop = metrics.height() / 2;
    const QRect box = rect().adjusted(0, lineTop, -1, -1);
    painter.fillRect(box, palette().brush(QPalette::Window));
    painter.setPen(QColor(0xB4, 0xB4, 0xB4));
    painter.drawRect(box);
    if (!title().isEmpty()) {
        constexpr int kTitleLeft = 6;
        constexpr int kTitlePadding = 2;
        const QRect titleRect(kTitleLeft, 0, metrics.horizontalAdvance(title()) + 2 * kTitlePadding, metrics.height());
        painter.fillRect(titleRect, palette().brush(QPalette::Window));
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
        painter.drawText(titleRect, Qt::AlignCenter, title());
    }
}

}  // namespace tabulane
