#include "catalogue/GameCatalogue.h"

#include "catalogue/RomFolder.h"
#include "platform/ZipDirectory.h"
#include "ui/Form1.h"
#include "ui/GameList.h"

#include <QFileInfo>
#include <QLocale>

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

std::optional<QList<ArchiveMember>> membersOf(const QString& path,
                                              platform::ZipProblem* problem = nullptr) {
    const auto members = platform::readZipDirectory(path, problem);
    if (!members)
        return std::nullopt;
    QList<ArchiveMember> list;
    list.reserve(members->size());
    for (const platform::ZipMember& member : *members)
        list.append({member.name, member.crc32});
    return list;
}

ArchiveVerdict unread(platform::ZipProblem problem) {
    switch (problem) {
    case platform::ZipProblem::TooManyMembers:
        return ArchiveVerdict::TooManyFiles;
    case platform::ZipProblem::LongName:
        return ArchiveVerdict::LongName;
    default:
        return ArchiveVerdict::Unreadable;
    }
}

// Why an archive was not read, after its name ("…: " or ", which is ").
QString whyNotRead(ArchiveVerdict verdict) {
    switch (verdict) {
    case ArchiveVerdict::TooManyFiles:
        return QStringLiteral("not read: it has more than %1 files")
            .arg(QLocale(QLocale::English).toString(platform::kZipMemberLimit));
    case ArchiveVerdict::LongName:
        return QStringLiteral("not read: a file name in it is over 1 KiB");
    default:
        return QStringLiteral("unreadable");
    }
}

QString files(const QStringList& missing) {
    return QStringLiteral("%1 %2 missing: %3")
        .arg(QString::number(missing.size()),
             missing.size() == 1 ? QStringLiteral("file") : QStringLiteral("files"),
             fileList(missing));
}

} // namespace

GameCatalogue::Stamp GameCatalogue::stampOf(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile())
        return {};
    return {info.size(), info.lastModified()};
}

ArchiveCheck GameCatalogue::check(const QString& path) {
    if (!definitions)
        return {};
    const Stamp stamp = stampOf(path);
    Cached& cached = m_checks[path];
    if (stamp.valid() && cached.stamp == stamp)
        return cached.check;
    platform::ZipProblem problem;
    const auto members = membersOf(path, &problem);
    const ArchiveCheck check =
        members ? checkArchive(*definitions, *members) : ArchiveCheck{unread(problem), -1, {}};
    cached = {stamp, check};
    return check;
}

std::optional<ParentCheck> GameCatalogue::checkWithParent(const QString& path, int clone) {
    if (!definitions || clone < 0 || definitions->sets[clone].parent < 0)
        return std::nullopt;
    const QString parentPath =
        parentArchivePath(path, definitions->sets[definitions->sets[clone].parent].name);
    const Stamp stamp = stampOf(path);
    const Stamp parentStamp = stampOf(parentPath);
    const QString key = path + u'\n' + parentPath;
    if (const auto cached = m_withParent.constFind(key);
        cached != m_withParent.constEnd() && stamp.valid() && parentStamp.valid() &&
        cached->stamp == stamp && cached->parentStamp == parentStamp)
        return cached->check;

    // Opened as the emulator opens it, whatever the folder's listing says.
    platform::ZipProblem problem;
    const auto parentMembers = membersOf(parentPath, &problem);
    if (!parentMembers && problem == platform::ZipProblem::NotAFile)
        return std::nullopt;
    ParentCheck check{false, {unread(problem), -1, {}}};
    if (parentMembers) {
        // A clone archive that can no longer be read counts as empty here:
        // its own line says so at the next look.
        const auto members = membersOf(path).value_or(QList<ArchiveMember>());
        check = catalogue::checkWithParent(*definitions, clone, members, *parentMembers);
    }
    m_withParent.insert(key, {stamp, parentStamp, check});
    return check;
}

void GameCatalogue::forgetChecks() {
    m_checks.clear();
    m_withParent.clear();
}

const RomFolder& GameCatalogue::romFolder(const QString& romFolderText) {
    if (!m_folder || romFolderText != m_folderText)
        return listRomFolder(romFolderText);
    return *m_folder;
}

const RomFolder& GameCatalogue::listRomFolder(const QString& romFolderText) {
    m_folderText = romFolderText;
    m_folder.emplace(romFolderText);
    return *m_folder;
}

const CatalogueRow* selectedRow(const ui::Form1& form, const GameCatalogue& catalogue) {
    const int row = form.List2->currentRow();
    if (row < 0 || row >= catalogue.rows.size())
        return nullptr;
    return &catalogue.rows[row];
}

const GameSet* definedSet(const GameCatalogue& catalogue, const QString& name) {
    if (!catalogue.definitions)
        return nullptr;
    const int index = catalogue.definitions->indexOf(name);
    return index < 0 ? nullptr : &catalogue.definitions->sets[index];
}

QString setInArchive(GameCatalogue& catalogue, const QString& archivePath) {
    if (catalogue.definitions) {
        const ArchiveCheck check = catalogue.check(archivePath);
        if (check.verdict == ArchiveVerdict::Complete ||
            check.verdict == ArchiveVerdict::NeedsParent)
            return catalogue.definitions->sets[check.set].name;
    }
    QString name = QFileInfo(archivePath).fileName();
    if (name.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive))
        name.chop(4);
    return name;
}

QList<PresentArchive> presentArchives(const CatalogueRow& row, const RomFolder& folder,
                                      Presence presence) {
    QList<PresentArchive> present;
    for (const QString& set : row.sets) {
        const QString file =
            presence == Presence::Now ? folder.archiveNow(set) : folder.archiveOf(set);
        if (!file.isEmpty())
            present.append({set, folder.pathOf(file)});
    }
    return present;
}

QString parentArchivePath(const QString& archivePath, const QString& parentSet) {
    return archivePath.left(archivePath.lastIndexOf(u'/') + 1) + parentSet + QLatin1String(".zip");
}

ArchiveReport reportArchive(const Definitions& definitions, const CatalogueRow& row,
                            const QString& file, const ArchiveCheck& check,
                            const std::optional<ParentCheck>& parent,
                            const QString& parentInOtherCase) {
    const GameSet* set = check.set >= 0 ? &definitions.sets[check.set] : nullptr;
    switch (check.verdict) {
    case ArchiveVerdict::Unreadable:
        return {file + QStringLiteral(": unreadable"), QStringLiteral("unreadable")};
    case ArchiveVerdict::TooManyFiles:
    case ArchiveVerdict::LongName:
        // The emulator may well read it: it is for the start to tell.
        return {file + QStringLiteral(": ") + whyNotRead(check.verdict), {}};
    case ArchiveVerdict::NotKnown: {
        const QString what = QStringLiteral("not a Model 3 set the emulator knows");
        return {file + QStringLiteral(": ") + what, what};
    }
    case ArchiveVerdict::MissingFiles: {
        const QString what = files(check.missing);
        return {QStringLiteral("%1: %2, %3").arg(file, setName(*set), what), what};
    }
    case ArchiveVerdict::Complete:
    case ArchiveVerdict::NeedsParent:
        break;
    }
    if (!row.sets.contains(set->name)) {
        const QString what = QStringLiteral("holds another game: ") + setName(*set);
        return {file + u' ' + what, what};
    }
    const QString head = QStringLiteral("%1: %2, ").arg(file, setName(*set));
    if (check.verdict == ArchiveVerdict::Complete)
        return {head + QStringLiteral("complete"), {}};

    // The emulator opens the parent's archive under its exact name, beside
    // this one.
    const QString parentFile = definitions.sets[set->parent].name + QLatin1String(".zip");
    QString what = QStringLiteral("needs %1 beside it").arg(parentFile);
    if (!parent) {
        if (!parentInOtherCase.isEmpty())
            what += QStringLiteral("; the emulator looks for %1, not %2")
                        .arg(parentFile, parentInOtherCase);
        else
            what += QStringLiteral(", which is missing");
    } else if (parent->holdsParent && parent->check.verdict == ArchiveVerdict::NeedsParent) {
        return {head + what + QStringLiteral(", which is there"), {}};
    } else if (parent->holdsParent && parent->check.verdict == ArchiveVerdict::MissingFiles) {
        what += QStringLiteral("; with it, ") + files(parent->check.missing);
    } else if (parent->check.verdict == ArchiveVerdict::TooManyFiles ||
               parent->check.verdict == ArchiveVerdict::LongName) {
        return {head + what + QStringLiteral(", which is ") + whyNotRead(parent->check.verdict),
                {}};
    } else if (parent->check.verdict == ArchiveVerdict::Unreadable) {
        what += QStringLiteral(", which is unreadable");
    } else if (parent->check.verdict == ArchiveVerdict::NotKnown) {
        what += QStringLiteral(", which holds no Model 3 set the emulator knows");
    } else {
        what += QStringLiteral(", which holds another game: ") +
                setName(definitions.sets[parent->check.set]);
    }
    return {head + what, what};
}

ArchiveReport reportArchive(GameCatalogue& catalogue, const CatalogueRow& row,
                            const RomFolder& folder, const PresentArchive& archive) {
    if (!catalogue.definitions)
        return {};
    const Definitions& definitions = *catalogue.definitions;
    const ArchiveCheck check = catalogue.check(archive.path);
    std::optional<ParentCheck> parent;
    QString otherCase;
    if (check.verdict == ArchiveVerdict::NeedsParent) {
        parent = catalogue.checkWithParent(archive.path, check.set);
        const QString parentSet = definitions.sets[definitions.sets[check.set].parent].name;
        const QString exact = parentSet + QLatin1String(".zip");
        const QString listed = folder.archiveOf(parentSet);
        if (listed != exact && listed.compare(exact, Qt::CaseInsensitive) == 0)
            otherCase = listed;
    }
    return reportArchive(definitions, row, QFileInfo(archive.path).fileName(), check, parent,
                         otherCase);
}

QStringList definedSets(const CatalogueRow& row, const GameCatalogue& catalogue) {
    QStringList sets;
    if (!catalogue.definitions)
        return sets;
    for (const QString& set : row.sets) {
        if (definedSet(catalogue, set))
            sets.append(set);
    }
    return sets;
}

} // namespace catalogue
