#include "emulator/ConfigMerge.h"

#include "emulator/ConfigDocument.h"
#include "emulator/ConfigLines.h"
#include "emulator/HashIndex.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <optional>
#include <vector>

namespace emulator {

namespace {

using namespace lines;
using View = QByteArrayView;

constexpr quint32 kNone = HashIndex::kNone;

enum File { Base, Player, Working, kFiles };

// The header line of the block the line at `at` is in; one of a game's
// section is always there.
Line headerAbove(View bytes, qsizetype at) {
    for (;;) {
        const qsizetype feed = at > 0 ? bytes.lastIndexOf('\n', at - 1) : -1;
        const qsizetype begin = feed < 0 ? 0 : feed + 1;
        const Line line = lineAt(bytes, begin);
        if (line.header || begin == 0)
            return line;
        at = begin - 1;
    }
}

// The sections a block names, as a whole: one of the merge's sections is a
// set of them ("[ a, b ]" is one, "[ b, a ]" too); 0 is the global one.
// Names are views into the files.
struct MergeSections {
    std::vector<View> names{View(kGlobal)};
    HashIndex index;

    MergeSections() { index.add(hashOf(sectionsOf(names[0])), 0); }

    quint32 find(View name) const {
        const Sections sections = sectionsOf(name);
        return index.find(hashOf(sections),
                          [&](quint32 id) { return sectionsOf(names[id]) == sections; });
    }
    quint32 findOrAdd(View name) {
        const quint32 found = find(name);
        if (found != kNone)
            return found;
        const auto id = quint32(names.size());
        names.push_back(name);
        index.add(hashOf(sectionsOf(name)), id);
        return id;
    }
};

// A setting by section and name, and the last line of it in each file.
struct Key {
    quint32 section;
    quint32 at[kFiles]; // the line's first byte + 1; 0: none
};

enum class Carry : quint8 { Nothing, Set, Remove };

class Merge final {
public:
    Merge(QByteArray base, const QByteArray& player, const QByteArray& working, MergeScope scope,
          const OwnedSetting& owned)
        : m_base(std::move(base)), m_files{&m_base, &player, &working}, m_scope(scope),
          m_owned(owned) {}

    MergeResult run();

private:
    View bytes(File file) const { return *m_files[file]; }

    // The file a key's name is read from: the player's, else the working
    // copy's, else the base's while it is kept.
    std::optional<File> nameIn(const Key& key) const {
        if (key.at[Player] != 0)
            return Player;
        if (key.at[Working] != 0)
            return Working;
        if (key.at[Base] != 0 && !m_base.isEmpty())
            return Base;
        return std::nullopt;
    }

    View nameOf(const Key& key) const {
        const File file = *nameIn(key);
        return lines::nameOf(bytes(file), lineAt(bytes(file), key.at[file] - 1));
    }

    // Whether the key is `name` in `section`. Its line is not parsed whole:
    // the name is the first thing on it, and an "=" after blanks ends it.
    bool isKey(quint32 k, quint32 section, View name) const {
        const Key& key = m_keys[k];
        const std::optional<File> file = nameIn(key);
        if (key.section != section || !file)
            return false;
        const View text = bytes(*file);
        qsizetype at = key.at[*file] - 1;
        while (at < text.size() && isBlank(text[at]))
            ++at;
        if (text.sliced(at).first(std::min(name.size(), text.size() - at)) != name)
            return false;
        at += name.size();
        while (at < text.size() && isBlank(text[at]))
            ++at;
        return at < text.size() && text[at] == '=';
    }

    // The key of `name` in `section`, or kNone. `hint`, the key after the
    // one of the file's previous setting, is tried first: files that keep
    // one another's order, as they mostly do, are then read in order
    // rather than all over the index. `hash` is the key's hash, 0 when not
    // worked out yet (then it is, when the index is asked).
    quint32 findKey(quint32 section, View name, quint32 hint, size_t& hash) const {
        if (hint < m_keys.size() && isKey(hint, section, name)) {
            m_inOrder = std::min(m_inOrder + 1, kInOrderLines);
            return hint;
        }
        m_inOrder = 0;
        if (hash == 0)
            hash = HashIndex::hashOf(name, section);
        return m_index.find(hash, [&](quint32 k) { return isKey(k, section, name); });
    }

    // Calls `visit(line, section, hash)` for each line of the file in order,
    // with the id of its section (kNone: one the merge does not know) and, for
    // a setting, the hash of its key or 0. `sectionOf(name)` gives a header's
    // section. The lines are handed on a few behind the reading: unless the
    // lines before were found in order, the index slots of those read
    // meanwhile are fetched from memory, and a file whose order is not the
    // index's waits on memory once a batch rather than once a line.
    template <typename SectionOf, typename Visit>
    void forEachLineIn(File file, SectionOf sectionOf, Visit visit) const {
        struct Pending {
            Line line;
            quint32 section;
            size_t hash;
        };
        constexpr std::size_t kAhead = 16;
        std::array<Pending, kAhead> pending;
        std::size_t read = 0;
        const View in = bytes(file);
        quint32 section = 0;
        forEachLine(in, [&](const Line& line) {
            if (line.header)
                section = sectionOf(trimmed(lines::nameOf(in, line)));
            size_t hash = 0;
            if (line.setting && section != kNone && m_inOrder < kInOrderLines) {
                hash = HashIndex::hashOf(lines::nameOf(in, line), section);
                m_index.prefetch(hash);
            }
            Pending& slot = pending[read++ % kAhead];
            if (read > kAhead)
                visit(slot.line, slot.section, slot.hash);
            slot = {line, section, hash};
        });
        for (std::size_t i = read > kAhead ? read - kAhead : 0; i < read; ++i)
            visit(pending[i % kAhead].line, pending[i % kAhead].section, pending[i % kAhead].hash);
    }

    // Calls `visit(line, key)` for every setting line of the working copy
    // whose key the merge knows, `line` numbered from 0 among all lines.
    template <typename Visit> void forEachWorkingSetting(Visit visit) const {
        const View in = bytes(Working);
        quint32 number = 0;
        quint32 last = kNone;
        forEachLineIn(
            Working, [&](View name) { return m_sections.find(name); },
            [&](const Line& line, quint32 section, size_t hash) {
                if (line.setting && section != kNone) {
                    last = findKey(section, lines::nameOf(in, line), last + 1, hash);
                    if (last != kNone)
                        visit(line, number, last);
                }
                ++number;
            });
    }

    void collect(File file);
    std::optional<View> valueIn(File file, const Key& key) const;
    void decide(MergeResult& result);
    QByteArray edited();

    // How many settings in a row were found in order, up to a count past
    // which the next ones are expected so too.
    static constexpr int kInOrderLines = 64;
    mutable int m_inOrder = 0;

    QByteArray m_base; // let go once read
    const QByteArray* m_files[kFiles];
    MergeScope m_scope;
    const OwnedSetting& m_owned;
    MergeSections m_sections;
    std::vector<Key> m_keys;
    HashIndex m_index;
    std::vector<Carry> m_carry;
};

// Every setting of one of the player's files, its sections added as met.
void Merge::collect(File file) {
    const View in = bytes(file);
    quint32 last = kNone;
    forEachLineIn(
        file, [&](View name) { return m_sections.findOrAdd(name); },
        [&](const Line& line, quint32 section, size_t hash) {
            if (!line.setting)
                return;
            quint32 k = findKey(section, lines::nameOf(in, line), last + 1, hash);
            if (k == kNone) {
                k = quint32(m_keys.size());
                m_keys.push_back({section, {0, 0, 0}});
                m_index.add(hash, k);
            }
            m_keys[k].at[file] = quint32(line.begin + 1);
            last = k;
        });
}

std::optional<View> Merge::valueIn(File file, const Key& key) const {
    if (key.at[file] == 0)
        return std::nullopt;
    const Line line = lineAt(bytes(file), key.at[file] - 1);
    return unquoted(rawValueOf(bytes(file), line));
}

void Merge::decide(MergeResult& result) {
    m_carry.assign(m_keys.size(), Carry::Nothing);
    for (std::size_t k = 0; k < m_keys.size(); ++k) {
        const Key& key = m_keys[k];
        if (m_scope == MergeScope::GlobalOnly && key.section != 0)
            continue;
        const auto before = valueIn(Base, key);
        const auto after = valueIn(Player, key);
        if (before == after)
            continue;
        const auto mine = valueIn(Working, key);
        if (mine == after)
            continue; // the same change on both sides
        if (mine != before) {
            if (m_owned && m_owned(m_sections.names[key.section], nameOf(key)))
                continue;
            if (result.conflicts.size() == kNamedConflicts) {
                ++result.moreConflicts;
                continue;
            }
            const auto copied = [](const std::optional<View>& value) {
                return value ? std::optional<QByteArray>(value->toByteArray()) : std::nullopt;
            };
            result.conflicts.append({m_sections.names[key.section].toByteArray(),
                                     nameOf(key).toByteArray(), copied(after), copied(mine)});
            continue;
        }
        m_carry[k] = after ? Carry::Set : Carry::Remove;
    }
}

// The working copy as a document, the carried values set on its lines and
// its settings added where it would add them.
QByteArray Merge::edited() {
    // The settings the working copy lacks, by section in the order the
    // player's settings first name them, each section's in the player's order.
    std::vector<quint32> start(m_sections.names.size() + 1, 0);
    std::vector<quint32> first(m_sections.names.size(), kNone);
    const auto adds = [this](std::size_t k) {
        return m_carry[k] == Carry::Set && m_keys[k].at[Working] == 0;
    };
    for (std::size_t k = 0; k < m_keys.size(); ++k) {
        if (adds(k)) {
            ++start[m_keys[k].section + 1];
            first[m_keys[k].section] = std::min(first[m_keys[k].section], quint32(k));
        }
    }
    std::partial_sum(start.begin(), start.end(), start.begin());
    std::vector<quint32> added(start.back());
    for (std::size_t k = 0; k < m_keys.size(); ++k) {
        if (adds(k))
            added[start[m_keys[k].section]++] = m_keys[k].at[Player] - 1;
    }
    std::vector<quint32> order;
    for (quint32 s = 0; s < first.size(); ++s) {
        if (first[s] != kNone)
            order.push_back(s);
    }
    std::sort(order.begin(), order.end(),
              [&first](quint32 a, quint32 b) { return first[a] < first[b]; });

    const View player = bytes(Player);
    ConfigDocument document(*m_files[Working]);
    // A changed line is at most its own and the player's, an added one the
    // player's: claimed once, and only as used.
    document.reserve(bytes(Working).size() + player.size() + 4 * qsizetype(m_keys.size()));
    // A removed setting loses every line of its name in its section.
    if (std::find(m_carry.begin(), m_carry.end(), Carry::Remove) != m_carry.end()) {
        forEachWorkingSetting([&](const Line&, quint32 number, quint32 k) {
            if (m_carry[k] == Carry::Remove)
                document.removeLine(number);
        });
    }
    m_index = HashIndex(); // its memory, for the document's
    for (std::size_t k = 0; k < m_keys.size(); ++k) {
        if (m_carry[k] != Carry::Set || m_keys[k].at[Working] == 0)
            continue;
        const Line theirs = lineAt(player, m_keys[k].at[Player] - 1);
        const View raw = rawValueOf(player, theirs);
        document.setLine(document.lineBeginningAt(m_keys[k].at[Working] - 1), unquoted(raw),
                         {player.sliced(theirs.begin, theirs.end - theirs.begin), raw, {}});
    }
    std::vector<Key>().swap(m_keys);
    for (const quint32 s : order) {
        // A section the working copy lacks gets the header over the
        // player's line of its first setting, as the player wrote it.
        const quint32 begin = s == 0 ? 0 : start[s - 1];
        View named;
        if (s != 0) {
            const Line header = headerAbove(player, added[begin]);
            named = player.sliced(header.begin, header.end - header.begin);
        }
        for (quint32 i = begin; i < start[s]; ++i) {
            const Line line = lineAt(player, added[i]);
            const View raw = rawValueOf(player, line);
            document.add(m_sections.names[s], lines::nameOf(player, line), unquoted(raw),
                         {player.sliced(line.begin, line.end - line.begin), raw, named});
        }
    }
    return document.bytes();
}

MergeResult Merge::run() {
    // Room for a record per line: only what is used is claimed. Offsets are
    // 32-bit, ample for files within the editor's limit.
    const auto lines = [this](File file) {
        return std::size_t(std::count(bytes(file).begin(), bytes(file).end(), '\n')) + 1;
    };
    m_keys.reserve(lines(Player) + lines(Base));
    collect(Player); // first: the player's order is the order of the changes
    collect(Base);   // then the settings the player removed
    forEachWorkingSetting([&](const Line& line, quint32, quint32 k) {
        m_keys[k].at[Working] = quint32(line.begin + 1);
    });
    MergeResult result;
    decide(result);
    m_base = QByteArray(); // its memory, for the result's
    result.bytes = std::all_of(m_carry.begin(), m_carry.end(),
                               [](Carry carry) { return carry == Carry::Nothing; })
                       ? *m_files[Working]
                       : edited();
    return result;
}

} // namespace

MergeResult mergeConfig(QByteArray base, const QByteArray& player, const QByteArray& working,
                        MergeScope scope, const OwnedSetting& owned) {
    return Merge(std::move(base), player, working, scope, owned).run();
}

} // namespace emulator
