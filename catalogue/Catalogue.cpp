#include "catalogue/Catalogue.h"

#include "catalogue/GameTable.h"

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

    for (CatalogueRow& row : rows) {
        // Other versions carry the title of the row's own set; for a set the
        // definitions lack, the title of the row.
        const QString title =
            row.definition >= 0 ? definitions->sets[row.definition].title : row.title;
        for (int s = 0; s < definitions->sets.size(); ++s) {
            if (taken.contains(s) || definitions->sets[s].title != title)
                continue;
            taken.insert(s);
            row.sets.append(definitions->sets[s].name);
            if (row.definition < 0)
                row.definition = s; // its inputs
        }
    }
    QList<CatalogueRow> further;
    for (int s = 0; s < definitions->sets.size(); ++s) {
        if (taken.contains(s))
            continue;
        const GameSet& set = definitions->sets[s];
        auto same = std::find_if(further.begin(), further.end(), [&set](const CatalogueRow& row) {
            return row.title == set.title;
        });
        if (same == further.end())
            further.append({-1, s, set.title, {set.name}});
        else
            same->sets.append(set.name);
    }
    std::stable_sort(further.begin(), further.end(),
                     [](const CatalogueRow& a, const CatalogueRow& b) {
                         return a.title.compare(b.title, Qt::CaseInsensitive) < 0;
                     });
    rows.append(further);
    return rows;
}

} // namespace catalogue
