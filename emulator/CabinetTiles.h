#pragma once

#include "emulator/CommandLine.h"

#include <QList>
#include <QPoint>
#include <QRect>
#include <QStringList>

namespace emulator {

// Where linked cabinets' windows go: together they tile the available area
// of one screen, two side by side, three or four in its quarters (cabinet
// 1 top left, 2 top right, 3 bottom left, 4 bottom right).

// A window's place and size in device pixels, as the emulator takes them.
struct Tile {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Tile&) const = default;
};

// The tiles of `cabinets` cabinets over `available`, the screen's available
// area as Qt gives it (in its pixels), on a screen whose whole area begins
// at `screenOrigin` and has `ratio` device pixels to one of Qt's. Qt keeps
// a screen's origin where the device has it and scales the rest from
// there; the tiles meet without a gap or an overlap.
QList<Tile> cabinetTiles(int cabinets, const QRect& available, const QPoint& screenOrigin,
                         qreal ratio);

// What a cabinet's command line adds to a game's: its own window on its
// tile, without a border, and the net board on.
QStringList cabinetOptions(const Tile& tile);

// A cabinet's command line: the game's, with the tile's size for the
// resolution boxes', never full screen, and cabinetOptions after it.
CommandLine cabinetCommandLine(GameLaunch launch, const Tile& tile, QChar quote);

} // namespace emulator
