#pragma once

#include <QRect>

namespace ui {

// The layout is designed in twips: 15 twips to the pixel at 96 dpi. Every
// rectangle is converted here, once; Qt's HiDPI scaling does the rest.
constexpr int kTwipsPerPixel = 15;

constexpr int toPixels(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

struct TwipsRect {
    int left;
    int top;
    int width;
    int height;
};

constexpr QRect toPixels(TwipsRect r) {
    return QRect(toPixels(r.left), toPixels(r.top), toPixels(r.width), toPixels(r.height));
}

} // namespace ui
