#pragma once

#include <QLineEdit>

namespace ui {

// The capture box Text6: it types nothing itself and hands every key and
// mouse button to whoever listens. Tab, the context menu and the editing
// shortcuts are kept from acting so that every key reaches the capture.
class CaptureBox final : public QLineEdit {
    Q_OBJECT
public:
    explicit CaptureBox(QWidget* parent = nullptr);

Q_SIGNALS:
    void keyPressed(int qtKey, const QString& text, quint32 nativeScanCode);
    void mousePressed(Qt::MouseButton button);
    // The mouse moved over the box, now at `at` (the box's own pixels).
    void mouseMoved(const QPoint& at);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
};

} // namespace ui
