#include "bindings/BindingChart.h"

#include "bindings/Latin1.h"
#include "bindings/SlotTable.h"
#include "ui/Twips.h"

#include <QApplication>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <vector>

namespace bindings {

namespace {

struct Group {
    const char* heading;
    int left; // frame edges, in chart pixels
    int right;
    std::vector<int> slots;            // in the order the rows stand
    const char* fixedRow;              // a first row that is not a slot, or null
    std::vector<int> blockStarts = {}; // slots that open a new block
};

const std::vector<Group>& groups() {
    static const std::vector<Group> list{
        {"All", 3, 164, {0, 1, 2, 3, 4, 5, 6, 7}, nullptr},
        {"Digital joystick", 3, 164, {8, 9, 10, 11}, nullptr},
        {"Fighting games", 3, 164, {12, 13, 14, 15}, nullptr},
        {"Virtua Striker 2", 3, 164, {30, 31, 32}, nullptr},
        {"Sega Rally 2", 3, 164, {28, 29}, nullptr},
        {"Analog joystick", 3, 176, {45, 46}, "Motion"},
        {"Racing games",
         167,
         358,
         {16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27},
         nullptr,
         {20, 24}},
        {"Virtual On Oratorio Tangram",
         167,
         358,
         {33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44},
         nullptr},
        {"Lightgun", 180, 358, {47, 48}, "Aim"},
    };
    return list;
}

constexpr int kRowStep = 15;

void drawRow(QPainter& p, const QFont& font, int columnLeft, const QString& caption, QRect box) {
    p.setFont(font);
    p.setPen(QColor(20, 20, 20));
    const QRect captionRect(columnLeft + 6, box.top() - 1, box.left() - columnLeft - 10,
                            box.height() + 2);
    p.drawText(captionRect, Qt::AlignLeft | Qt::AlignVCenter, caption);
    const int captionEnd = columnLeft + 6 + QFontMetrics(font).horizontalAdvance(caption) + 3;
    const int y = box.center().y();
    if (captionEnd < box.left() - 2) {
        p.setPen(QPen(QColor(120, 120, 140), 1, Qt::DotLine));
        p.drawLine(captionEnd, y, box.left() - 2, y);
    }
}

} // namespace

QRect chartSlotBox(int slot) {
    const InputSlot& s = kSlots[std::size_t(slot)];
    return ui::toPixels(ui::TwipsRect{s.left, s.top, s.width, s.height});
}

QPixmap bindingChart(qreal devicePixelRatio) {
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    QPixmap chart(QSize(int(std::ceil(kChartSize.width() * ratio)),
                        int(std::ceil(kChartSize.height() * ratio))));
    chart.setDevicePixelRatio(ratio);
    chart.fill(Qt::white);

    QPainter p(&chart);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, true);

    QFont rowFont = QApplication::font();
    rowFont.setPixelSize(10);
    QFont headingFont = rowFont;
    headingFont.setBold(true);
    headingFont.setPixelSize(11);

    for (const Group& g : groups()) {
        const int left = g.left;
        const int right = g.right;
        int top = chartSlotBox(g.slots.front()).top();
        int bottom = 0;
        for (int slot : g.slots)
            bottom = std::max(bottom, chartSlotBox(slot).bottom());
        if (g.fixedRow)
            top -= kRowStep;
        const int headingTop = top - 15;

        // Frame and heading band.
        p.setPen(QColor(90, 100, 130));
        p.setBrush(QColor(246, 247, 252));
        p.drawRect(QRect(QPoint(left, headingTop - 2), QPoint(right, bottom + 4)));
        p.setBrush(QColor(70, 84, 130));
        p.setPen(Qt::NoPen);
        p.drawRect(QRect(QPoint(left + 1, headingTop - 1), QPoint(right - 1, headingTop + 11)));
        p.setFont(headingFont);
        p.setPen(Qt::white);
        p.drawText(QRect(left + 5, headingTop - 1, right - left - 8, 13),
                   Qt::AlignLeft | Qt::AlignVCenter, QString::fromLatin1(g.heading));

        if (g.fixedRow) {
            // A row that is not a slot: the mouse drives it and nothing binds it.
            const QRect firstBox = chartSlotBox(g.slots.front());
            const QRect mouseBox = firstBox.translated(0, -kRowStep);
            drawRow(p, rowFont, left, QString::fromLatin1(g.fixedRow), mouseBox);
            p.setPen(QColor(120, 110, 170));
            p.setBrush(QColor(220, 210, 250));
            p.drawRect(mouseBox.adjusted(0, 0, -1, -1));
            p.setPen(QColor(40, 30, 90));
            p.drawText(mouseBox, Qt::AlignCenter, QStringLiteral("Mouse"));
        }

        for (int slot : g.slots) {
            const QRect box = chartSlotBox(slot);
            if (std::find(g.blockStarts.begin(), g.blockStarts.end(), slot) !=
                g.blockStarts.end()) {
                p.setPen(QPen(QColor(190, 195, 215), 1));
                p.drawLine(left + 4, box.top() - 3, right - 4, box.top() - 3);
            }
            drawRow(p, rowFont, left, latin1(kSlots[std::size_t(slot)].rowCaption), box);
            // The empty box that the slot's label covers exactly.
            p.setPen(QColor(110, 110, 110));
            p.setBrush(Qt::white);
            p.drawRect(box.adjusted(0, 0, -1, -1));
        }
    }
    return chart;
}

} // namespace bindings
