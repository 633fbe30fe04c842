#include "catalogue/Catalogue.h"

#include "catalogue/GameTable.h"

#include <QHash>
#include <QSet>
#include <algorithm>

namespace catalogue {

QList<CatalogueRow> buildCatalogue(const Definitions* definitions) {
    QList<CatalogueRow> rows;
    QSet<int> taken;
    for (int i = 0; i < kGameCount; ++i) {
        const QStringList record = gameRecord(i);
        CatalogueRow row{i, -1, record[Title], {record[RomSet]}};
        if (definitions) {
            row.definition = definitions->indexOf(record[RomSet]);
            taken.insert(row.definition);
        }
        rows.append(row);
    }
    if (!definitions)
        return rows;

    // The sets of each title, in the definitions' order.
    QHash<QString, QList<int>> byTitle;
    for (int s = 0; s < definitions->sets.size(); ++s)
        byTitle[definitions->sets[s].title].append(s);

    for (CatalogueRow& row : rows) {
        // Other versions carry the title of the row's own set; for a set the
        // definitions lack, the title of the row.
        const QString title =
            row.definition >= 0 ? definitions->sets[row.definition].title : row.title;
        for (int s : byTitle.value(title)) {
            if (taken.contains(s))
                continue;
            taken.insert(s);
            row.sets.append(definitions->sets[s].name);
            if (row.definition < 0)
                row.definition = s; // its inputs
        }
    }
    QList<CatalogueRow> further;
    QHash<QString, qsizetype> furtherByTitle;
    for (int s = 0; s < definitions->sets.size(); ++s) {
        if (taken.contains(s))
            continue;
        const GameSet& set = definitions->sets[s];
        const auto same = furtherByTitle.constFind(set.title);
        if (same == furtherByTitle.constEnd()) {
            furtherByTitle.insert(set.title, further.size());
            further.append({-1, s, set.title, {set.name}});
        } else {
            further[*same].sets.append(set.name);
        }
    }
    std::stable_sort(further.begin(), further.end(),
                     [](const CatalogueRow& a, const CatalogueRow& b) {
                         return a.title.compare(b.title, Qt::CaseInsensitive) < 0;
                     });
    rows.append(further);
    return rows;
}

} // namespace catalogue
