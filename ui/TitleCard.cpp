#include "ui/TitleCard.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>

namespace ui {

namespace {

// The title in at most three lines, at the largest size that fits.
QList<QString> titleLines(const QString& title, QFont& font, qreal width, qreal height) {
    for (int size = 24; size >= 9; --size) {
        font.setPixelSize(size);
        const QFontMetricsF metrics(font);
        QList<QString> lines;
        QString current;
        bool fits = true;
        for (const QString& word : title.split(u' ', Qt::SkipEmptyParts)) {
            const QString tried = current.isEmpty() ? word : current + u' ' + word;
            if (metrics.horizontalAdvance(tried) <= width) {
                current = tried;
                continue;
            }
            if (metrics.horizontalAdvance(word) > width)
                fits = false;
            if (!current.isEmpty())
                lines.append(current);
            current = word;
        }
        if (!current.isEmpty())
            lines.append(current);
        if (fits && lines.size() <= 3 && lines.size() * metrics.lineSpacing() <= height)
            return lines;
    }
    return {title};
}

void outlinedText(QPainter& painter, const QPointF& at, const QString& text, const QFont& font,
                  const QColor& fill, const QColor& outline, qreal outlineWidth) {
    QPainterPath path;
    path.addText(at, font, text);
    painter.strokePath(path,
                       QPen(outline, outlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.fillPath(path, fill);
}

} // namespace

QPixmap titleCard(QSize size, qreal devicePixelRatio, const QString& title, const QString& maker,
                  const QString& year) {
    if (size.isEmpty())
        return {};
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area(QPointF(0, 0), QSizeF(size));

    QLinearGradient night(area.topLeft(), area.bottomLeft());
    night.setColorAt(0, QColor(0x10, 0x18, 0x40));
    night.setColorAt(0.62, QColor(0x3a, 0x1c, 0x6a));
    night.setColorAt(1, QColor(0x0c, 0x0c, 0x18));
    painter.fillRect(area, night);
    // A road of light towards the horizon, as the racing snapshots have.
    const qreal horizon = area.height() * 0.64;
    painter.setPen(QPen(QColor(255, 255, 255, 60), 1));
    for (int i = -6; i <= 6; ++i)
        painter.drawLine(QPointF(area.center().x() + i * 6, horizon),
                         QPointF(area.center().x() + i * 40, area.height()));
    painter.fillRect(QRectF(0, horizon - 2, area.width(), 3), QColor(0xff, 0x9a, 0x20));
    painter.fillRect(QRectF(0, horizon + 1, area.width(), 2), QColor(0xe8, 0x1c, 0x1c));

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    const qreal margin = 10;
    const QList<QString> lines =
        titleLines(title.toUpper(), font, area.width() - 2 * margin, horizon - 2 * margin);
    const QFontMetricsF metrics(font);
    qreal y = (horizon - lines.size() * metrics.lineSpacing()) / 2 + metrics.ascent();
    for (const QString& line : lines) {
        const qreal x = (area.width() - metrics.horizontalAdvance(line)) / 2;
        outlinedText(painter, QPointF(x + 1.5, y + 2), line, font, QColor(0x1a, 0x2a, 0x4a),
                     QColor(0x1a, 0x2a, 0x4a), 3);
        outlinedText(painter, QPointF(x, y), line, font, QColor(0xff, 0xd8, 0x30), Qt::white, 3);
        y += metrics.lineSpacing();
    }

    QStringList credit;
    if (!maker.isEmpty())
        credit.append(maker.toUpper());
    if (!year.isEmpty())
        credit.append(year);
    QFont small(font);
    small.setPixelSize(11);
    const QFontMetricsF smallMetrics(small);
    const QString creditText = credit.join(QStringLiteral("  ·  "));
    const qreal creditY = horizon + 8 + smallMetrics.ascent();
    outlinedText(painter,
                 QPointF((area.width() - smallMetrics.horizontalAdvance(creditText)) / 2, creditY),
                 creditText, small, Qt::white, Qt::black, 2.5);
    // The attract screen's invitation, as on the snapshots.
    QFont start(font);
    start.setPixelSize(9);
    const QFontMetricsF startMetrics(start);
    const QString press = QStringLiteral("PRESS START");
    outlinedText(painter,
                 QPointF((area.width() - startMetrics.horizontalAdvance(press)) / 2,
                         area.height() - 4 - startMetrics.descent()),
                 press, start, Qt::white, Qt::black, 2);
    return pixmap;
}

} // namespace ui
