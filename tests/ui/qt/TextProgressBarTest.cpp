#include "ui/qt/TextProgressBar.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QObject>
#include <QString>

namespace tabulane {
namespace {

// Counts the paints of a widget and remembers the text it showed at the last one.
class PaintCounter final : public QObject {
public:
    explicit PaintCounter(TextProgressBar& bar) : m_bar(bar) { bar.installEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &m_bar && event->type() == QEvent::Paint) {
            ++paints;
            lastPaintedText = m_bar.text();
        }
        return false;
    }

    int paints = 0;
    QString lastPaintedText;

private:
    TextProgressBar& m_bar;
};

TEST(TextProgressBar, AFastRunRepaintsSeldomButAlwaysShowsTheLastText) {
    TextProgressBar bar;
    bar.resize(520, 27);
    bar.show();
    QCoreApplication::processEvents();
    PaintCounter counter(bar);

    // A run over many small files: a new text and a yield to the message loop for every file.
    constexpr int kFiles = 2000;
    for (int i = 1; i <= kFiles; ++i) {
        bar.SetText(QStringLiteral("Processing: file%1.txt").arg(i));
        QCoreApplication::processEvents();
    }
    EXPECT_LT(counter.paints, kFiles / 2);

    // Shortly after, the screen shows the text of the last file, not a stale one.
    const QString last = QStringLiteral("Processing: file%1.txt").arg(kFiles);
    QDeadlineTimer deadline(5000);
    while (counter.lastPaintedText != last && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    EXPECT_EQ(counter.lastPaintedText, last);
    EXPECT_EQ(bar.text(), last);
}

}  // namespace
}  // namespace tabulane
