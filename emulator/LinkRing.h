#pragma once

#include "emulator/SettingResolution.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace emulator {

class ConfigDocument;

// Linked play: two to four copies of the emulator on this machine, each a
// cabinet of one game, joined over TCP in a ring. Each listens on its
// PortIn and connects to AddressOut:PortOut, the next cabinet's PortIn.
// Cabinet 1 runs with the player's own file, which the front-end does not
// change for it; the others get their ports from it.

inline constexpr int kFewestCabinets = 2;
inline constexpr int kMostCabinets = 4;

// The address every cabinet sends to: they all run here.
inline constexpr char kRingAddress[] = "127.0.0.1";

// Below it a port needs the administrator's rights to listen on.
inline constexpr int kLowestRingPort = 1024;

struct CabinetPorts {
    int in = 0;
    int out = 0;
    bool operator==(const CabinetPorts&) const = default;
};

// What cabinet 1 gets for the ring's settings when it starts the set.
struct RingSettings {
    ResolvedSetting portIn;
    ResolvedSetting portOut;
    ResolvedSetting addressOut;
};
RingSettings ringSettings(const ConfigDocument& document, const QByteArray& set);

// The ring of `cabinets` cabinets (kFewestCabinets to kMostCabinets) from
// cabinet 1's settings: cabinet k listens on PortIn + k - 1 and sends to
// the next one's port, the last one to PortIn. Cabinet 1's PortOut must
// be PortIn + 1 and its AddressOut this machine (a 127.x.x.x address or
// "localhost"), and every port a number from kLowestRingPort to 65535;
// otherwise `problem` says which setting to change, and where it stands,
// and `cabinets` is empty.
struct Ring {
    QList<CabinetPorts> cabinets; // cabinet 1 first
    QString problem;
};
Ring linkRing(int cabinets, const RingSettings& settings, const QByteArray& set);

// Whether an address names this machine as the emulator resolves it.
bool isLoopback(QByteArrayView address);

} // namespace emulator
