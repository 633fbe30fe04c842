// The emulator's game definitions, read from any bytes: the quick reader of
// plain XML reads what the general one reads, and what is kept is
// always well formed (named, titled, each name once and indexed, no clone of
// a missing set, parents resolved to a set that has no parent of its own),
// the catalogue built from it keeps the sixteen built-in rows first and
// places every set once, and the archive check over any of its sets' files
// ends with a set that exists.
#include "catalogue/ArchiveCheck.h"
#include "catalogue/Catalogue.h"
#include "catalogue/Definitions.h"

#include <QSet>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "definitions: %s\n", what);
        std::abort();
    }
}

bool sameFiles(const QList<catalogue::RomRegion>& a, const QList<catalogue::RomRegion>& b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype r = 0; r < a.size(); ++r) {
        if (a[r].name != b[r].name || a[r].required != b[r].required ||
            a[r].files.size() != b[r].files.size())
            return false;
        for (qsizetype f = 0; f < a[r].files.size(); ++f) {
            const catalogue::RomFile& x = a[r].files[f];
            const catalogue::RomFile& y = b[r].files[f];
            if (x.name != y.name || x.crc32 != y.crc32 || x.hasCrc != y.hasCrc ||
                x.offset != y.offset)
                return false;
        }
    }
    return true;
}

bool same(const std::optional<catalogue::Definitions>& a,
          const std::optional<catalogue::Definitions>& b) {
    if (!a || !b)
        return !a && !b;
    if (a->sets.size() != b->sets.size())
        return false;
    for (qsizetype i = 0; i < a->sets.size(); ++i) {
        const catalogue::GameSet& x = a->sets[i];
        const catalogue::GameSet& y = b->sets[i];
        if (x.name != y.name || x.parentName != y.parentName || x.parent != y.parent ||
            x.title != y.title || x.version != y.version || x.manufacturer != y.manufacturer ||
            x.year != y.year || x.inputTypes != y.inputTypes || !sameFiles(x.regions, y.regions))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<catalogue::Definitions> definitions = catalogue::parseDefinitions(bytes);
    check(same(definitions, catalogue::parseDefinitions(bytes, catalogue::XmlReading::General)),
          "the quick reader and the general one read otherwise");
    if (!definitions)
        return 0;
    QSet<QString> names;
    for (const catalogue::GameSet& set : definitions->sets) {
        check(!set.name.isEmpty() && !set.title.isEmpty(), "a set without name or title");
        check(!names.contains(set.name), "a name twice");
        check(definitions->indexOf(set.name) == names.size(), "a set indexed elsewhere");
        names.insert(set.name);
        if (set.parent >= 0) {
            check(set.parent < definitions->sets.size(), "a parent out of range");
            check(definitions->sets[set.parent].parent < 0, "a parent with a parent");
        }
    }
    // A clone stays only while its parents lead to a set without one, or
    // round a loop: never to a name the file lacks.
    for (const catalogue::GameSet& set : definitions->sets)
        check(set.parentName.isEmpty() || names.contains(set.parentName),
              "a clone of nothing kept");
    const QList<catalogue::CatalogueRow> rows = catalogue::buildCatalogue(&*definitions);
    check(rows.size() >= 16, "built-in rows lost");
    int placed = 0;
    for (int i = 0; i < rows.size(); ++i) {
        check((i < 16) == (rows[i].builtIn >= 0), "built-in rows out of place");
        for (const QString& set : rows[i].sets)
            placed += names.contains(set) ? 1 : 0;
    }
    check(placed == definitions->sets.size(), "a set placed twice or not at all");

    // An archive with the files of the first set and of the last one.
    QList<catalogue::ArchiveMember> members;
    for (const catalogue::GameSet* set : {&definitions->sets.front(), &definitions->sets.back()})
        for (const catalogue::RomRegion& region : set->regions)
            for (const catalogue::RomFile& file : region.files)
                members.append({file.name, file.crc32});
    const catalogue::ArchiveCheck result = catalogue::checkArchive(*definitions, members);
    check(result.set < definitions->sets.size(), "a verdict on no set");
    check((result.set >= 0) == (result.verdict != catalogue::ArchiveVerdict::NotKnown),
          "a verdict and its set disagree");
    return 0;
}
