#include "ui/TextFit.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <algorithm>
#include <cmath>

namespace ui {

namespace {

// 6 pt at 96 dpi: the smallest size the window's own design uses.
constexpr int kFallbackSmallestPixels = 8;

int pixelsOf(const QFont& font) {
    return QFontInfo(font).pixelSize();
}

// In fractions of a pixel, rounded up: the whole-pixel metrics round the
// ascent and descent each, and a rounded-down half pixel is a cut one.
int fullHeight(const QFont& font, const QString& text) {
    const QFontMetricsF metrics(font);
    qreal below = metrics.descent();
    if (!text.isEmpty())
        below = std::max(below, metrics.boundingRect(text).bottom());
    if (font.underline())
        below = std::max(below, metrics.underlinePos() + metrics.lineWidth());
    return int(std::ceil(metrics.ascent() + below));
}

} // namespace

int smallestPixels() {
    static const int pixels = [] {
        const int readable =
            pixelsOf(QFontDatabase::systemFont(QFontDatabase::SmallestReadableFont));
        const int general = pixelsOf(QApplication::font());
        // Some platforms answer every font role with their general font.
        return readable > 0 && readable < general ? readable : kFallbackSmallestPixels;
    }();
    return pixels;
}

bool fitsWhole(const QFont& font, const QString& text, QSize room) {
    return QFontMetricsF(font).horizontalAdvance(text) <= room.width() &&
           fullHeight(font, text) <= room.height();
}

QFont fitted(QFont font, const QString& text, QSize room, int maxPixels, const QFont& probe) {
    const int smallest = std::min(smallestPixels(), maxPixels);
    const int probeAdvance = std::max(QFontMetrics(probe).horizontalAdvance(text), 1);
    const int probeHeight = std::max(fullHeight(probe, text), 1);
    const int byWidth = probe.pixelSize() * room.width() / probeAdvance;
    const int byHeight = probe.pixelSize() * room.height() / probeHeight;
    int size = std::clamp(std::min(byWidth, byHeight) + 1, smallest, maxPixels);
    font.setPixelSize(size);
    while (size > smallest && !fitsWhole(font, text, room))
        font.setPixelSize(--size);
    return font;
}

QString lowestGlyphs() {
    return QStringLiteral("_gjpqy");
}

int editTextHeight(int height) {
    // QLineEdit's fixed vertical margin.
    return height - 2;
}

} // namespace ui
