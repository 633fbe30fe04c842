#include "catalogue/ArchiveCheck.h"

#include <QHash>
#include <QSet>
#include <algorithm>

namespace catalogue {

namespace {

// A file is known by its CRC; by its lower-case name only when it has none.
QString fileKey(const RomFile& file) {
    return file.hasCrc ? QStringLiteral("crc:") + QString::number(file.crc32, 16)
                       : QStringLiteral("name:") + file.name.toLower();
}

QSet<QString> memberKeys(const QList<ArchiveMember>& members) {
    QSet<QString> keys;
    for (const ArchiveMember& member : members) {
        keys.insert(QStringLiteral("crc:") + QString::number(member.crc32, 16));
        keys.insert(QStringLiteral("name:") + member.name.toLower());
    }
    return keys;
}

// The files that count for a set: for a clone, its parent's regions with
// the clone's files put in by region and offset, and the clone's own
// regions added. Regions that are not required never count.
QList<RomFile> countedFiles(const Definitions& definitions, int index) {
    const GameSet& set = definitions.sets[index];
    QList<RomRegion> regions;
    if (set.parent >= 0)
        regions = definitions.sets[set.parent].regions;
    for (const RomRegion& own : set.regions) {
        auto same = std::find_if(regions.begin(), regions.end(),
                                 [&own](const RomRegion& r) { return r.name == own.name; });
        if (same == regions.end()) {
            regions.append(own);
            continue;
        }
        same->required = own.required;
        for (const RomFile& file : own.files) {
            auto at = std::find_if(same->files.begin(), same->files.end(),
                                   [&file](const RomFile& f) { return f.offset == file.offset; });
            if (at == same->files.end())
                same->files.append(file);
            else
                *at = file;
        }
    }
    QList<RomFile> files;
    for (const RomRegion& region : regions) {
        if (region.required)
            files.append(region.files);
    }
    return files;
}

struct Candidate {
    int set;
    QSet<QString> found;
    QStringList missing;
    bool clone;
};

Candidate measure(const Definitions& definitions, int index, const QSet<QString>& keys) {
    Candidate candidate{index, {}, {}, definitions.sets[index].parent >= 0};
    for (const RomFile& file : countedFiles(definitions, index)) {
        const QString key = fileKey(file);
        if (keys.contains(key))
            candidate.found.insert(key);
        else
            candidate.missing.append(file.name);
    }
    return candidate;
}

} // namespace

ArchiveCheck checkArchive(const Definitions& definitions, const QList<ArchiveMember>& members) {
    const QSet<QString> keys = memberKeys(members);
    QList<Candidate> candidates;
    for (int i = 0; i < definitions.sets.size(); ++i) {
        Candidate candidate = measure(definitions, i, keys);
        if (!candidate.found.isEmpty())
            candidates.append(std::move(candidate));
    }
    if (candidates.isEmpty())
        return {};

    // Clones share their parent's files and each other's: a set whose found
    // files another set also has, with more found, is not the one here.
    QList<Candidate> kept;
    for (const Candidate& c : candidates) {
        const bool covered =
            std::any_of(candidates.begin(), candidates.end(), [&c](const Candidate& o) {
                return o.found.size() > c.found.size() && o.found.contains(c.found);
            });
        if (!covered)
            kept.append(c);
    }
    auto byName = [&definitions](const Candidate& a, const Candidate& b) {
        return definitions.sets[a.set].name < definitions.sets[b.set].name;
    };
    std::sort(kept.begin(), kept.end(), byName);

    auto first = [&kept](auto wanted) { return std::find_if(kept.begin(), kept.end(), wanted); };
    if (auto c = first([](const Candidate& k) { return k.clone && k.missing.isEmpty(); });
        c != kept.end())
        return {ArchiveVerdict::Complete, c->set, {}};
    if (auto c = first([](const Candidate& k) { return k.clone; }); c != kept.end())
        return {ArchiveVerdict::NeedsParent, c->set, {}};
    if (auto c = first([](const Candidate& k) { return k.missing.isEmpty(); }); c != kept.end())
        return {ArchiveVerdict::Complete, c->set, {}};

    // Nothing loads: name the set nearest to complete.
    const auto nearest =
        std::max_element(kept.begin(), kept.end(), [](const Candidate& a, const Candidate& b) {
            return a.found.size() < b.found.size();
        });
    return {ArchiveVerdict::MissingFiles, nearest->set, nearest->missing};
}

ParentCheck checkWithParent(const Definitions& definitions, int clone,
                            const QList<ArchiveMember>& members,
                            const QList<ArchiveMember>& parentMembers) {
    const int parent = definitions.sets[clone].parent;
    if (parent < 0 || measure(definitions, parent, memberKeys(parentMembers)).found.isEmpty())
        return {false, checkArchive(definitions, parentMembers)};
    const Candidate together = measure(definitions, clone, memberKeys(members + parentMembers));
    if (together.missing.isEmpty())
        return {true, {ArchiveVerdict::NeedsParent, clone, {}}};
    return {true, {ArchiveVerdict::MissingFiles, clone, together.missing}};
}

} // namespace catalogue
