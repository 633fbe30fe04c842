#include "emulator/VersionMenu.h"

#include "catalogue/FolderPaths.h"
#include "catalogue/GameCatalogue.h"
#include "catalogue/RomFolder.h"
#include "emulator/Launch.h"
#include "emulator/LinkRing.h"
#include "ui/Form1.h"

#include <QLineEdit>
#include <QMenu>

namespace emulator {

QMenu* ShowVersionMenu(ui::Form1& form, catalogue::GameCatalogue& games, Launcher& launcher,
                       ui::Dialogs& dialogs, const QPoint& globalPos,
                       const std::function<void()>& openSettings,
                       const LinkedPlayChosen& linkedPlay) {
    const catalogue::CatalogueRow* row = catalogue::selectedRow(form, games);
    if (!row)
        return nullptr;
    auto* menu = new QMenu(&form);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const catalogue::RomFolder& folder = games.romFolder(catalogue::romFolder(form));
    const QList<catalogue::PresentArchive> present =
        catalogue::presentArchives(*row, folder, catalogue::Presence::Now);
    for (const catalogue::PresentArchive& archive : present) {
        const catalogue::GameSet* set = catalogue::definedSet(games, archive.set);
        const QString version = set && !set->version.isEmpty() ? set->version : row->title;
        // A version that cannot start from its archive is shown, greyed, with why.
        const catalogue::ArchiveReport report =
            catalogue::reportArchive(games, *row, folder, archive);
        QString text = version + QLatin1String(" (") + archive.set + u')';
        if (!report.problem.isEmpty())
            text += QStringLiteral(" — ") + report.problem;
        // "&" would underline the next letter instead of showing itself.
        text.replace(u'&', QLatin1String("&&"));
        QAction* action =
            menu->addAction(text, &form, [&form, &games, &launcher, &dialogs, archive] {
                LaunchVersion(form, games, launcher, dialogs, archive.path, archive.set);
            });
        action->setEnabled(report.problem.isEmpty());
        action->setToolTip(report.line);
    }
    if (present.isEmpty())
        menu->addAction(QStringLiteral("No version of it is in the ROM folder"))->setEnabled(false);
    if (linkedPlay && !present.isEmpty()) {
        const catalogue::PresentArchive& first = present.front();
        const catalogue::GameSet* set = catalogue::definedSet(games, first.set);
        if (set && set->netBoard) {
            menu->addSeparator();
            QMenu* linked = menu->addMenu(QStringLiteral("&Linked play"));
            linked->setToolTip(
                QStringLiteral("Cabinets of %1 side by side, linked").arg(first.set));
            linked->setEnabled(
                catalogue::reportArchive(games, *row, folder, first).problem.isEmpty());
            for (int cabinets = kFewestCabinets; cabinets <= kMostCabinets; ++cabinets)
                linked->addAction(
                    QStringLiteral("&%1 cabinets").arg(cabinets), &form,
                    [linkedPlay, first, cabinets] { linkedPlay(first.path, first.set, cabinets); });
        }
    }
    // Per game needs the emulator's list, which names the game's sets.
    if (openSettings) {
        menu->addSeparator();
        QAction* settings =
            menu->addAction(QStringLiteral("Settings of this game"), &form, openSettings);
        settings->setEnabled(games.definitions.has_value());
        settings->setToolTip(settings->isEnabled()
                                 ? QStringLiteral("The emulator's settings for this game alone")
                                 : QStringLiteral("Needs the emulator's game list "
                                                  "(Config/Games.xml)"));
    }
    menu->setToolTipsVisible(true);
    menu->popup(globalPos);
    return menu;
}

} // namespace emulator
