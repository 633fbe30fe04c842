#pragma once

#include "catalogue/Definitions.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace catalogue {

// One row of the game list: a game of the built-in table, of the emulator's
// definitions, or both. Rows 0-15 are the built-in table's, in its order:
// they never move. Further rows come only from the definitions.
struct CatalogueRow {
    int builtIn = -1;    // index into the built-in table, or -1
    int definition = -1; // the row's own set in the definitions, or -1
    QString title;       // the row text
    QStringList sets;    // its own set first, then the rest in definitions order
};

} // namespace catalogue

Q_DECLARE_TYPEINFO(catalogue::CatalogueRow, Q_RELOCATABLE_TYPE);

namespace catalogue {

// The rows: the built-in table's sixteen, each standing for its own set, the
// sets the definitions title like that set (or, when they lack it, like the
// row), then one row per further title, sorted by title, standing for the
// sets of that title. Without definitions, the sixteen alone.
QList<CatalogueRow> buildCatalogue(const Definitions* definitions);

} // namespace catalogue
