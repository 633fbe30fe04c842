#pragma once

#include <QString>

namespace ui {
class Form1;
}

namespace catalogue {

// ROM folder + set name + ".zip", joined with nothing between.
QString archivePath(const QString& romFolder, const QString& romSet);

// True when the archive exists as an ordinary file under that exact name.
bool archivePresent(const QString& romFolder, const QString& romSet);

// Lists the sixteen titles, counts the archives found under the ROM folder
// as loaded, writes the row count and selects the last row.
void startupFill(ui::Form1& form);

// "New Scan": recounts the archives after the path check, then gives the
// focus back to the game list. Nothing else changes.
void newScan(ui::Form1& form);

} // namespace catalogue
