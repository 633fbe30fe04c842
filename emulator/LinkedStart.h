#pragma once

#include "emulator/CabinetTiles.h"
#include "emulator/CommandLine.h"
#include "emulator/LinkRing.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace emulator {

// Everything a linked start does before the first cabinet runs, without a
// window: what the front-end reads from the screen and the row comes in,
// the cabinets' command lines and folders come out.

struct LinkedRequest {
    QString programFolder; // cabinet 1's folder
    GameLaunch launch;     // the game as the window would start it
    QString set;           // the set the emulator loads from the archive
    QStringList inputTypes;
    int cabinets = kFewestCabinets;
    QList<Tile> tiles; // one per cabinet, in device pixels
    QChar quote = u'"';
};

struct LinkedStart {
    std::optional<QString> failure; // the box to show: nothing starts
    QStringList problems;           // to tell before the start, which goes on
    QList<CommandLine> lines;       // cabinet 1 first
    QStringList folders;            // each one's working folder
    QList<int> withoutNvram;        // cabinets whose link role is still to be set
};

// As an ordinary start, brings the installation's files into cabinet 1's
// folder and keeps its working copy in step; reads the ring from it
// (linkRing) and tries each cabinet's port (platform::portTaken), refusing
// on the first wrong setting or taken port; makes cabinets 2 and up ready
// (prepareCabinet); brings cabinet 1's NVRAM and save states as an
// ordinary start does. Nothing is written into cabinet 1's folder for the
// link itself.
LinkedStart prepareLinkedStart(const LinkedRequest& request);

// The passing note for cabinets that have no NVRAM for the set yet; empty
// when there are none.
QString linkRoleNote(const QList<int>& cabinets, const QString& set);

} // namespace emulator
