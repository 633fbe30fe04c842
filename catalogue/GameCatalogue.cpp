#include "catalogue/GameCatalogue.h"

#include "catalogue/RomFolder.h"
#include "platform/ZipDirectory.h"
#include "ui/Form1.h"
#include "ui/GameList.h"

#include <QFileInfo>

namespace catalogue {

namespace {

QString setName(const GameSet& set) {
    return set.version.isEmpty() ? set.title : set.title + QLatin1String(" (") + set.version + u')';
}

QString fileList(const QStringList& files) {
    QStringList shown = files.mid(0, 3);
    if (files.size() > 3)
        shown.append(QStringLiteral("…"));
    return shown.join(QLatin1String(", "));
}

std::optional<QList<ArchiveMember>> membersOf(const QString& path) {
    const auto members = platform::readZipDirectory(path);
    if (!members)
        return std::nullopt;
    QList<ArchiveMember> list;
    list.reserve(members->size());
    for (const platform::ZipMember& member : *members)
        list.append({member.name, member.crc32});
    return list;
}

} // namespace

GameCatalogue::GameCatalogue(QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("GameCatalogue"));
}

ArchiveCheck GameCatalogue::check(const QString& path) {
    if (!definitions)
        return {};
    const QFileInfo info(path);
    Cached& cached = m_checks[path];
    if (cached.size == info.size() && cached.modified == info.lastModified() &&
        cached.modified.isValid())
        return cached.check;
    const auto members = membersOf(path);
    const ArchiveCheck check = members ? checkArchive(*definitions, *members)
                                       : ArchiveCheck{ArchiveVerdict::Unreadable, -1, {}};
    cached = {info.size(), info.lastModified(), check};
    return check;
}

ArchiveCheck GameCatalogue::checkWithParent(const QString& path, const QString& parentPath,
                                            int clone) {
    const auto members = membersOf(path);
    const auto parentMembers = membersOf(parentPath);
    if (!definitions || !members || !parentMembers)
        return {ArchiveVerdict::Unreadable, clone, {}};
    return catalogue::checkWithParent(*definitions, clone, *members, *parentMembers);
}

GameCatalogue& gameCatalogue(const ui::Form1& form) {
    auto* found =
        form.findChild<GameCatalogue*>(QStringLiteral("GameCatalogue"), Qt::FindDirectChildrenOnly);
    if (!found)
        found = new GameCatalogue(const_cast<ui::Form1*>(&form));
    return *found;
}

const CatalogueRow* selectedRow(const ui::Form1& form) {
    const int row = form.List2->currentRow();
    const GameCatalogue& catalogue = gameCatalogue(form);
    if (row < 0 || row >= catalogue.rows.size())
        return nullptr;
    return &catalogue.rows[row];
}

const GameSet* definedSet(const ui::Form1& form, const QString& name) {
    const GameCatalogue& catalogue = gameCatalogue(form);
    if (!catalogue.definitions)
        return nullptr;
    const int index = catalogue.definitions->indexOf(name);
    return index < 0 ? nullptr : &catalogue.definitions->sets[index];
}

QString setInArchive(const ui::Form1& form, const QString& archivePath) {
    GameCatalogue& catalogue = gameCatalogue(form);
    if (catalogue.definitions) {
        const ArchiveCheck check = catalogue.check(archivePath);
        if (check.verdict == ArchiveVerdict::Complete || check.verdict == ArchiveVerdict::NeedsParent)
            return catalogue.definitions->sets[check.set].name;
    }
    QString name = QFileInfo(archivePath).fileName();
    if (name.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive))
        name.chop(4);
    return name;
}

QList<PresentArchive> presentArchives(const CatalogueRow& row, const RomFolder& folder) {
    QList<PresentArchive> present;
    for (const QString& set : row.sets) {
        const QString file = folder.archiveOf(set);
        if (!file.isEmpty())
            present.append({set, folder.pathOf(file)});
    }
    return present;
}

QString archiveLine(const Definitions& definitions, const CatalogueRow& row,
                    const RomFolder& folder, const PresentArchive& archive,
                    const ArchiveCheck& check, const std::optional<ArchiveCheck>& withParent) {
    const QString file = QFileInfo(archive.path).fileName();
    const GameSet* set = check.set >= 0 ? &definitions.sets[check.set] : nullptr;
    switch (check.verdict) {
    case ArchiveVerdict::Unreadable:
        return file + QStringLiteral(": unreadable");
    case ArchiveVerdict::NotKnown:
        return file + QStringLiteral(": not a Model 3 set the emulator knows");
    case ArchiveVerdict::MissingFiles:
        return QStringLiteral("%1: %2, %3 %4 missing: %5")
            .arg(file, setName(*set), QString::number(check.missing.size()),
                 check.missing.size() == 1 ? QStringLiteral("file") : QStringLiteral("files"),
                 fileList(check.missing));
    case ArchiveVerdict::Complete:
    case ArchiveVerdict::NeedsParent:
        break;
    }
    if (!row.sets.contains(set->name))
        return QStringLiteral("%1 holds another game: %2").arg(file, setName(*set));
    if (check.verdict == ArchiveVerdict::Complete)
        return QStringLiteral("%1: %2, complete").arg(file, setName(*set));

    // The emulator opens the parent's archive under its exact name, beside
    // this one.
    const QString parent = definitions.sets[set->parent].name + QLatin1String(".zip");
    const QString needs =
        QStringLiteral("%1: %2, needs %3 beside it").arg(file, setName(*set), parent);
    if (withParent && withParent->verdict == ArchiveVerdict::MissingFiles)
        return QStringLiteral("%1; with it, %2 %3 missing: %4")
            .arg(needs, QString::number(withParent->missing.size()),
                 withParent->missing.size() == 1 ? QStringLiteral("file") : QStringLiteral("files"),
                 fileList(withParent->missing));
    if (withParent)
        return needs + QStringLiteral(", which is there");
    const QString other = folder.archiveOf(definitions.sets[set->parent].name);
    if (!other.isEmpty())
        return QStringLiteral("%1; the emulator looks for %2, not %3").arg(needs, parent, other);
    return needs + QStringLiteral(", which is missing");
}

} // namespace catalogue
