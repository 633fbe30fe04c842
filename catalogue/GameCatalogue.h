#pragma once

#include "catalogue/ArchiveCheck.h"
#include "catalogue/Catalogue.h"
#include "catalogue/Definitions.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <optional>

namespace ui {
class Form1;
}

namespace catalogue {

class RomFolder;

// What the catalogue knows beyond the window's controls: the emulator's
// definitions when they were found, the rows of the game list (row i of
// List2 is rows[i]) and the archive checks of this session. It lives as a
// child of the window, made on first use.
class GameCatalogue final : public QObject {
    Q_OBJECT
public:
    explicit GameCatalogue(QObject* parent);

    std::optional<Definitions> definitions;
    // Why a definitions file that was found is not used; empty otherwise.
    QString definitionsProblem;
    QList<CatalogueRow> rows = buildCatalogue(nullptr);

    // The check of an archive, read again only when its size or time changed.
    ArchiveCheck check(const QString& path);

    // A clone's check with its parent's archive beside it.
    ArchiveCheck checkWithParent(const QString& path, const QString& parentPath, int clone);

private:
    struct Cached {
        qint64 size = -1;
        QDateTime modified;
        ArchiveCheck check;
    };
    QHash<QString, Cached> m_checks;
};

GameCatalogue& gameCatalogue(const ui::Form1& form);

// The selected row, or null.
const CatalogueRow* selectedRow(const ui::Form1& form);

// The definitions' set of that name, or null.
const GameSet* definedSet(const ui::Form1& form, const QString& setName);

// The set the emulator will load from the archive, as the archive check
// tells; when it cannot tell (no definitions, nothing it would load), the
// archive's name without ".zip".
QString setInArchive(const ui::Form1& form, const QString& archivePath);

// One archive of a row that is in the ROM folder.
struct PresentArchive {
    QString set;
    QString path; // the real path, as the emulator is to open it
};

// The row's archives present in the folder, its own set first, then the
// others in the definitions' order.
QList<PresentArchive> presentArchives(const CatalogueRow& row, const RomFolder& folder);

// The line that tells what the archive holds ("vf3a.zip: Virtua Fighter 3
// (Japan, Revision A), complete").
QString archiveLine(const Definitions& definitions, const CatalogueRow& row,
                    const RomFolder& folder, const PresentArchive& archive,
                    const ArchiveCheck& check,
                    const std::optional<ArchiveCheck>& withParent = std::nullopt);

} // namespace catalogue
