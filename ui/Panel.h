#pragma once

#include <QPixmap>
#include <QWidget>
#include <functional>

namespace ui {

// A framed panel (Picture1, Picture2, Picture3). Its client area is the whole
// widget, so children sit at their designed rectangles; the frame line is
// painted over the edge. It may show a background picture at its top left.
class Panel final : public QWidget {
    Q_OBJECT
public:
    explicit Panel(QWidget* parent = nullptr);

    // The background is drawn by `source` at the panel's device pixel ratio
    // the first time the panel is painted, and again if that ratio changes.
    void setBackgroundSource(std::function<QPixmap(qreal)> source);
    const QPixmap& background() const { return m_background; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::function<QPixmap(qreal)> m_source;
    QPixmap m_background;
};

} // namespace ui
