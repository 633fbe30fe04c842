#pragma once

#include <functional>

#include <QPoint>
#include <QString>

class QMenu;

namespace catalogue {
class GameCatalogue;
}
namespace ui {
class Dialogs;
class Form1;
} // namespace ui

namespace emulator {

class Launcher;

// A game's menu, opened on its row by a right click, the Menu key or
// Shift+F10: the versions whose archives are in the ROM folder, each as its
// version and set ("Japan (mgtrkbad)"); choosing one starts it. A version
// that cannot start from its archive, as the archive check tells, is
// disabled and says why ("Japan, Revision A (vf3a) — needs vf3.zip beside
// it, which is missing"). Returns the menu, shown at `globalPos`; it deletes
// itself once closed. With `openSettings`, the menu ends with "Settings of
// this game", which calls it (offered only with the emulator's game list).
// With `linkedPlay`, a row whose version to start (the first present) has
// a net board, as the emulator's game list says, offers "Linked play" of it
// with 2, 3 or 4 cabinets, which calls it with that version's archive, set
// and the number.
using LinkedPlayChosen =
    std::function<void(const QString& archivePath, const QString& set, int cabinets)>;
QMenu* ShowVersionMenu(ui::Form1& form, catalogue::GameCatalogue& catalogue, Launcher& launcher,
                       ui::Dialogs& dialogs, const QPoint& globalPos,
                       const std::function<void()>& openSettings = {},
                       const LinkedPlayChosen& linkedPlay = {});

} // namespace emulator
