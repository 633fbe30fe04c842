#pragma once

#include "emulator/LinkRing.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QStringList>
#include <optional>

namespace emulator {

class ConfigDocument;

// The settings the front-end derives for a linked cabinet (2 and up) and
// writes into the cabinet's own file at each linked start, over whatever
// the merge from the player's file left there:
// - in [ Global ], its ring ports, AddressOut kRingAddress and Outputs
//   "none" (cabinet 1 alone tells the outputs), each also in the set's
//   section when the file has it there;
// - in the set's section, every input of the game's types with the value
//   the set resolves (the player's file's section, else the cabinet's
//   [ Global ], else the built-in value), its sources of pad 1 or of any
//   pad made the cabinet's pad (padSourcesFor); and each setting of pad 1
//   (InputJoy1...) that the set resolves as the same setting of the
//   cabinet's pad, whose earlier lines there go when pad 1 has none.

// One linked start of a cabinet.
struct CabinetStart {
    int cabinet = 2; // 2 to kMostCabinets
    QByteArray set;
    QStringList inputTypes; // the set's, as the definitions give them
    CabinetPorts ports;
};

// A setting written into a cabinet's file; without a value its lines go.
struct CabinetSetting {
    QByteArray section;
    QByteArray name;
    std::optional<QByteArray> value;
    bool operator==(const CabinetSetting&) const = default;
};

// What the cabinet's file gets: `player` is the player's own file (the
// program folder's working copy), `cabinetFile` the cabinet's once merged.
QList<CabinetSetting> cabinetSettings(const CabinetStart& start, const ConfigDocument& player,
                                      const ConfigDocument& cabinetFile);

// Whether the setting `name` of `section` (as a header names it) is one
// cabinetSettings writes: the merge leaves those to it.
bool isCabinetSetting(const CabinetStart& start, QByteArrayView section, QByteArrayView name);

// Writes the settings into the file, changing only those whose value
// differs.
void writeCabinetSettings(ConfigDocument& file, const QList<CabinetSetting>& settings);

} // namespace emulator
