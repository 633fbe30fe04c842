#include "catalogue/Catalogue.h"

#include "catalogue/GameTable.h"

#include <QHash>
#include <algorithm>
#include <string>
#include <vector>

namespace catalogue {

namespace {

// A title as QString::compare(..., Qt::CaseInsensitive) sees it: each UTF-16
// unit folded as that comparison folds it (a low surrogate with the high one
// before it). Comparing these in order orders the titles as it does, with
// each title folded once rather than at every comparison.
std::u32string orderKey(const QString& title) {
    std::u32string key;
    key.reserve(std::size_t(title.size()));
    char32_t last = 0;
    for (const QChar c : title) {
        const char32_t unit = c.unicode();
        const char32_t ucs4 = QChar::isLowSurrogate(unit) && QChar::isHighSurrogate(last)
                                  ? QChar::surrogateToUcs4(char16_t(last), char16_t(unit))
                                  : unit;
        last = unit;
        key.push_back(QChar::toCaseFolded(ucs4));
    }
    return key;
}

} // namespace

QList<CatalogueRow> buildCatalogue(const Definitions* definitions) {
    QList<CatalogueRow> rows;
    QList<bool> taken(definitions ? definitions->sets.size() : 0, false);
    for (int i = 0; i < kGameCount; ++i) {
        const QStringList record = gameRecord(i);
        CatalogueRow row{i, -1, record[Title], {record[RomSet]}};
        if (definitions) {
            row.definition = definitions->indexOf(record[RomSet]);
            if (row.definition >= 0)
                taken[row.definition] = true;
        }
        rows.append(row);
    }
    if (!definitions)
        return rows;

    // Other versions carry the title of the row's own set; for a set the
    // definitions lack, the title of the row. Of rows with one title, the
    // first takes them.
    struct Place {
        bool builtIn;
        qsizetype row; // in `rows`, or in `further`
    };
    QHash<QString, Place> rowOfTitle;
    rowOfTitle.reserve(rows.size() + definitions->sets.size());
    for (int i = 0; i < rows.size(); ++i) {
        const int own = rows[i].definition;
        const QString title = own >= 0 ? definitions->sets[own].title : rows[i].title;
        if (!rowOfTitle.contains(title))
            rowOfTitle.insert(title, {true, i});
    }
    QList<CatalogueRow> further;
    for (int s = 0; s < definitions->sets.size(); ++s) {
        if (taken[s])
            continue;
        const GameSet& set = definitions->sets[s];
        const qsizetype before = rowOfTitle.size();
        Place& place = rowOfTitle[set.title];
        if (rowOfTitle.size() != before) {
            place = {false, further.size()};
            further.append({-1, s, set.title, {set.name}});
        } else if (!place.builtIn) {
            further[place.row].sets.append(set.name);
        } else {
            CatalogueRow& builtIn = rows[place.row];
            builtIn.sets.append(set.name);
            if (builtIn.definition < 0)
                builtIn.definition = s; // its inputs
        }
    }

    // Sorted by title, whatever the case of its letters.
    std::vector<std::u32string> keys;
    keys.reserve(std::size_t(further.size()));
    std::vector<qsizetype> order(std::size_t(further.size()));
    for (qsizetype i = 0; i < further.size(); ++i) {
        keys.push_back(orderKey(further[i].title));
        order[std::size_t(i)] = i;
    }
    std::stable_sort(order.begin(), order.end(), [&keys](qsizetype a, qsizetype b) {
        return keys[std::size_t(a)] < keys[std::size_t(b)];
    });
    rows.reserve(rows.size() + further.size());
    for (const qsizetype i : order)
        rows.append(std::move(further[i]));
    return rows;
}

} // namespace catalogue
