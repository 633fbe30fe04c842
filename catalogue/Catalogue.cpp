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
    QHash<QString, qsizetype> rowOfTitle;
    for (int i = 0; i < rows.size(); ++i) {
        const int own = rows[i].definition;
        const QString title = own >= 0 ? definitions->sets[own].title : rows[i].title;
        if (!rowOfTitle.contains(title))
            rowOfTitle.insert(title, i);
    }
    std::vector<int> loose; // the sets of further rows
    for (int s = 0; s < definitions->sets.size(); ++s) {
        if (taken[s])
            continue;
        const auto row = rowOfTitle.constFind(definitions->sets[s].title);
        if (row == rowOfTitle.constEnd()) {
            loose.push_back(s);
            continue;
        }
        CatalogueRow& builtIn = rows[*row];
        builtIn.sets.append(definitions->sets[s].name);
        if (builtIn.definition < 0)
            builtIn.definition = s; // its inputs
    }

    // One row per further title, sorted by title whatever the case of its
    // letters; of titles that differ only in case, the first seen first. The
    // sets in the definitions' order: sorting them so brings each title's
    // sets together, among those of its case variants.
    std::vector<std::u32string> keys;
    keys.reserve(loose.size());
    for (const int s : loose)
        keys.push_back(orderKey(definitions->sets[s].title));
    std::vector<std::size_t> order(loose.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&keys](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    rows.reserve(rows.size() + qsizetype(loose.size()));
    for (std::size_t at = 0; at < order.size();) {
        std::size_t end = at + 1;
        while (end < order.size() && keys[order[end]] == keys[order[at]])
            ++end;
        // Mostly a single set; several titles only where they differ in case
        // alone, looked up one by one while they are few.
        const qsizetype first = rows.size();
        QHash<QString, qsizetype> rowOfCase;
        for (; at < end; ++at) {
            const int s = loose[order[at]];
            const GameSet& set = definitions->sets[s];
            qsizetype row = -1;
            if (rows.size() - first <= 8) {
                for (qsizetype r = first; r < rows.size() && row < 0; ++r)
                    row = rows[r].title == set.title ? r : -1;
            } else {
                if (rowOfCase.isEmpty()) {
                    for (qsizetype r = first; r < rows.size(); ++r)
                        rowOfCase.insert(rows[r].title, r);
                }
                row = rowOfCase.value(set.title, -1);
            }
            if (row >= 0) {
                rows[row].sets.append(set.name);
                continue;
            }
            if (!rowOfCase.isEmpty())
                rowOfCase.insert(set.title, rows.size());
            rows.append({-1, s, set.title, {set.name}});
        }
    }
    return rows;
}

} // namespace catalogue
