#pragma once

#include <QStringList>
#include <array>
#include <string_view>

namespace catalogue {

// The built-in game table: sixteen records in a fixed order. A game's index
// is its identity everywhere: its row in the list, its record and its
// snapshot picture (107 + index). Each record is stored as one text of eight
// fields, each followed by ";", and split whenever it is used.
constexpr int kGameCount = 16;

enum GameField {
    RomSet = 0,
    Title = 1,
    Status = 2,
    SoundFlag = 3,
    ControlsFlag = 4,
    Profile = 7,
};

// clang-format off
constexpr std::array<std::string_view, kGameCount> kGameRecords{
    "vf3;Virtua Fighter 3;Numerous geometry glitches.;N/A;Yes;;;1;",
    "lemans24;Le Mans 24;Mostly good, isolated problems.;N/A;Yes;;;2;",
    "scud;Scud Race;Good.;N/A;Yes;;;3;",
    "scudp;Scud Race Plus;Good.;N/A;Yes;;;3;",
    "lostwsga;The Lost World;Mostly good, isolated problems.;N/A;Yes;;;4;",
    "von2;Virtual On Oratorio Tangram;Texture problems, encrypted 2D graphics.;N/A;Yes;;;5;",
    "vs298;Virtua Striker 2 '98;Good.;N/A;Yes;;;7;",
    "srally2;Sega Rally 2;Numerous geometry glitches.;N/A;Yes;;;3;",
    "daytona2;Daytona USA 2;Mostly good, isolated problems.;N/A;Yes;;;3;",
    "dayto2pe;Daytona USA 2 Power Edition;Mostly good, isolated problems.;N/A;Yes;;;3;",
    "fvipers2;Fighting Vipers 2;Some texture problems.;N/A;Yes;;;7;",
    "harley;Harley Davidson & L.A. Riders;Severe problems.;N/A;No;;;x;",
    "lamachin;L.A. Machineguns;Severe problems.;N/A;No;;;x;",
    "oceanhun;The Ocean Hunter;Severe problems.;N/A;No;;;x;",
    "swtrilgy;Star Wars Trilogy;Mostly good with some large problems.;N/A;Yes;;;8;",
    "eca;Emergency Car Ambulance;Severe problems.;N/A;No;;;x;",
};
// clang-format on

// Record `index` split on ";": nine pieces, the last one always empty. An
// index outside the table gives an empty list.
QStringList gameRecord(int index);

// Number of the snapshot picture of game `index`.
constexpr int snapshotPicture(int index) {
    return 107 + index;
}

} // namespace catalogue
