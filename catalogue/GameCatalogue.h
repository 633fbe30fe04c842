#pragma once

#include "catalogue/ArchiveCheck.h"
#include "catalogue/Catalogue.h"
#include "catalogue/Definitions.h"
#include "catalogue/RomFolder.h"

#include <QDateTime>
#include <QHash>
#include <optional>

namespace ui {
class Form1;
}

namespace catalogue {

// What the catalogue knows beyond the window's controls: the emulator's
// definitions when they were found, the rows of the game list (row i of
// List2 is rows[i]) and the archive checks of this session. The front-end
// owns it and hands it to the handlers that use it.
class GameCatalogue final {
public:
    std::optional<Definitions> definitions;
    // Why a definitions file that was found is not used; empty otherwise.
    QString definitionsProblem;
    QList<CatalogueRow> rows = buildCatalogue(nullptr);
    // Tells the same definitions read again (DefinitionsRead::digest).
    size_t definitionsDigest = 0;

    // The check of an archive, read again only when its size or time changed.
    ArchiveCheck check(const QString& path);

    // A clone's check with the archive the emulator opens as its parent's
    // (parentArchivePath), read again only when the size or time of either
    // changed; nothing when no regular file is there.
    std::optional<ParentCheck> checkWithParent(const QString& path, int clone);

    // The checks stand for these definitions: new ones drop them all.
    void forgetChecks();

    // The ROM folder as the last scan listed it, listed again only when it
    // never was or the Rom Path's text changed since.
    const RomFolder& romFolder(const QString& romFolderText);
    // Lists the ROM folder anew (start-up, New Scan).
    const RomFolder& listRomFolder(const QString& romFolderText);

    // The row whose item carries the selected game's archive line, or -1.
    int describedRow = -1;

private:
    struct Stamp {
        qint64 size = -1;
        QDateTime modified;
        bool operator==(const Stamp&) const = default;
        bool valid() const { return modified.isValid(); }
    };
    static Stamp stampOf(const QString& path);
    struct Cached {
        Stamp stamp;
        ArchiveCheck check;
    };
    struct CachedWithParent {
        Stamp stamp;
        Stamp parentStamp;
        ParentCheck check;
    };
    QHash<QString, Cached> m_checks;
    QHash<QString, CachedWithParent> m_withParent;
    std::optional<RomFolder> m_folder;
    QString m_folderText;
};

// The selected row, or null.
const CatalogueRow* selectedRow(const ui::Form1& form, const GameCatalogue& catalogue);

// The definitions' set of that name, or null.
const GameSet* definedSet(const GameCatalogue& catalogue, const QString& setName);

// The sets of `row` that the definitions list, in the row's order: the
// sections a setting "for this game" goes into.
QStringList definedSets(const CatalogueRow& row, const GameCatalogue& catalogue);

// The set the emulator will load from the archive, as the archive check
// tells; when it cannot tell (no definitions, nothing it would load), the
// archive's name without ".zip".
QString setInArchive(GameCatalogue& catalogue, const QString& archivePath);

// One archive of a row that is in the ROM folder.
struct PresentArchive {
    QString set;
    QString path; // the real path, as the emulator is to open it
};

// The row's archives present in the folder, its own set first, then the
// others in the definitions' order: as listed, or as they are now.
enum class Presence { Listed, Now };
QList<PresentArchive> presentArchives(const CatalogueRow& row, const RomFolder& folder,
                                      Presence presence = Presence::Listed);

// Where the emulator opens a clone's parent archive: the clone archive's
// folder, the parent's set name and ".zip", exactly so.
QString parentArchivePath(const QString& archivePath, const QString& parentSet);

// What an archive holds, in the line that tells it ("vf3a.zip: Virtua
// Fighter 3 (Japan, Revision A), complete"), and why the row's version does
// not start from it ("needs vf3.zip beside it, which is missing"), empty
// when it does or when the check cannot tell. For a clone, `parent` is the
// check with the archive the emulator opens as its parent's, nothing when no
// file is there, and `parentInOtherCase` an archive of the folder named so
// but for the case of its letters.
struct ArchiveReport {
    QString line;
    QString problem;
};
ArchiveReport reportArchive(const Definitions& definitions, const CatalogueRow& row,
                            const QString& fileName, const ArchiveCheck& check,
                            const std::optional<ParentCheck>& parent = std::nullopt,
                            const QString& parentInOtherCase = {});

// The same for an archive of the row present in the folder, from the
// catalogue's checks; empty without definitions.
ArchiveReport reportArchive(GameCatalogue& catalogue, const CatalogueRow& row,
                            const RomFolder& folder, const PresentArchive& archive);

} // namespace catalogue
