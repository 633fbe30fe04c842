#include "emulator/CabinetTiles.h"

#include <cmath>

namespace emulator {

namespace {

// One of Qt's coordinates on the device, scaled from the screen's origin.
int device(int logical, int origin, qreal ratio) {
    return origin + int(std::lround((logical - origin) * ratio));
}

} // namespace

QList<Tile> cabinetTiles(int cabinets, const QRect& available, const QPoint& screenOrigin,
                         qreal ratio) {
    const int left = device(available.left(), screenOrigin.x(), ratio);
    const int top = device(available.top(), screenOrigin.y(), ratio);
    const int width = device(available.left() + available.width(), screenOrigin.x(), ratio) - left;
    const int height = device(available.top() + available.height(), screenOrigin.y(), ratio) - top;
    const int rows = cabinets > 2 ? 2 : 1;
    QList<Tile> tiles;
    for (int k = 0; k < cabinets; ++k) {
        const int column = k % 2;
        const int row = k / 2;
        // Edges by whole division: each tile ends where the next begins.
        const int x0 = left + width * column / 2;
        const int x1 = left + width * (column + 1) / 2;
        const int y0 = top + height * row / rows;
        const int y1 = top + height * (row + 1) / rows;
        tiles.append({x0, y0, x1 - x0, y1 - y0});
    }
    return tiles;
}

QStringList cabinetOptions(const Tile& tile) {
    return {QStringLiteral("-window"), QStringLiteral("-borderless"),
            QStringLiteral("-window-pos=%1,%2").arg(tile.x).arg(tile.y), QStringLiteral("-net"),
            QStringLiteral("-simulate-netboard")};
}

CommandLine cabinetCommandLine(GameLaunch launch, const Tile& tile, QChar quote) {
    launch.width = QString::number(tile.width);
    launch.height = QString::number(tile.height);
    launch.fullScreen = false;
    CommandLine line = gameCommandLine(launch, quote);
    const QStringList options = cabinetOptions(tile);
    line.text += u' ' + options.join(u' ');
    line.arguments += options;
    return line;
}

} // namespace emulator
