#include "catalogue/Catalogue.h"

#include "catalogue/GameTable.h"

#include <QHash>
#include <algorithm>
#include <string>
#include <utility>
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
    QHash<QString, int> rowOfTitle;
    for (int i = 0; i < rows.size(); ++i) {
        const int own = rows[i].definition;
        const QString title = own >= 0 ? definitions->sets[own].title : rows[i].title;
        if (!rowOfTitle.contains(title))
            rowOfTitle.insert(title, i);
    }
    QList<CatalogueRow> further;
    QHash<QString, qsizetype> furtherByTitle;
    for (int s = 0; s < definitions->sets.size(); ++s) {
        if (taken[s])
            continue;
        const GameSet& set = definitions->sets[s];
        if (const auto row = rowOfTitle.constFind(set.title); row != rowOfTitle.constEnd()) {
            CatalogueRow& builtIn = rows[*row];
            builtIn.sets.append(set.name);
            if (builtIn.definition < 0)
                builtIn.definition = s; // its inputs
        } else if (const auto same = furtherByTitle.constFind(set.title);
                   same != furtherByTitle.constEnd()) {
            further[*same].sets.append(set.name);
        } else {
            furtherByTitle.insert(set.title, further.size());
            further.append({-1, s, set.title, {set.name}});
        }
    }

    // Sorted by title, whatever the case of its letters.
    std::vector<std::pair<std::u32string, qsizetype>> order;
    order.reserve(std::size_t(further.size()));
    for (qsizetype i = 0; i < further.size(); ++i)
        order.emplace_back(orderKey(further[i].title), i);
    std::stable_sort(order.begin(), order.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    rows.reserve(rows.size() + further.size());
    for (const auto& [key, i] : order)
        rows.append(std::move(further[i]));
    return rows;
}

} // namespace catalogue
