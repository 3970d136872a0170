#pragma once

#include <QElapsedTimer>
#include <QProgressBar>
#include <QString>
#include <QTimer>

namespace tabulane {

// A progress bar whose text line is shown as given: QProgressBar's own format would expand "%p" or "%v"
// inside a file name.
class TextProgressBar final : public QProgressBar {
public:
    explicit TextProgressBar(QWidget* parent = nullptr) : QProgressBar(parent) {}

    QString text() const override { return m_text; }

    // Repainting costs far more than converting a small file, so a run over many files repaints the text at most
    // once a frame; the latest text is always the one that ends up on screen.
    void SetText(const QString& text) {
        m_text = text;
        if (!m_lastRepaint.isValid() || m_lastRepaint.elapsed() >= kFrameMilliseconds) {
            m_lastRepaint.start();
            update();
        } else if (!m_repaintPending) {
            m_repaintPending = true;
            QTimer::singleShot(kFrameMilliseconds, this, [this] {
                m_repaintPending = false;
                m_lastRepaint.start();
                update();
            });
        }
    }

private:
    static constexpr int kFrameMilliseconds = 16;

    QString m_text;
    QElapsedTimer m_lastRepaint;
    bool m_repaintPending = false;
};

}  // namespace tabulane
