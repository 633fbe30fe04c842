#include "emulator/ConfigMerge.h"

#include "emulator/ConfigFile.h"
#include "emulator/ConfigLines.h"

#include <QHashFunctions>
#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

namespace emulator {

namespace {

using namespace lines;
using View = std::string_view;

constexpr quint32 kNone = 0xffffffffu;

View view(const QByteArray& bytes, qsizetype begin, qsizetype end) {
    return View(bytes.constData() + begin, std::size_t(end - begin));
}

View unquotedView(View raw) {
    return raw.size() >= 2 && raw.front() == '"' && raw.back() == '"'
               ? raw.substr(1, raw.size() - 2)
               : raw;
}

QByteArray copyOf(View text) {
    return QByteArray(text.data(), qsizetype(text.size()));
}

// Seeded afresh in each process, so that no file can be made up to collide
// in every slot and slow the merge down to a crawl.
size_t hashOf(View text, quint32 section) {
    return qHash(QByteArrayView(text.data(), qsizetype(text.size())),
                 QHashSeed::globalSeed() + section);
}

// Finds items (numbered from 0, kept elsewhere) by hash: open addressing
// over one flat table of (tag, item) pairs, with no node per item.
class Index final {
public:
    // The item with this hash for which `same(item)` holds, or kNone.
    template <typename Same> quint32 find(size_t hash, Same same) const {
        if (m_slots.empty())
            return kNone;
        const quint32 tag = tagOf(hash);
        for (std::size_t i = home(tag);; i = (i + 1) & mask()) {
            const quint64 slot = m_slots[i];
            if (slot == 0)
                return kNone;
            const quint32 item = quint32(slot) - 1;
            if (quint32(slot >> 32) == tag && same(item))
                return item;
        }
    }

    // Asks for the memory a look for this hash starts at, ahead of it.
    void prefetch(size_t hash) const {
#if defined(__GNUC__) || defined(__clang__)
        if (!m_slots.empty())
            __builtin_prefetch(&m_slots[home(tagOf(hash))]);
#else
        (void)hash;
#endif
    }

    // Adds an item that is not there yet.
    void add(size_t hash, quint32 item) {
        // At most four fifths full: short probes, and a small table.
        if ((m_count + 1) * 5 > m_slots.size() * 4)
            grow();
        place((quint64(tagOf(hash)) << 32) | (quint64(item) + 1));
        ++m_count;
    }

private:
    // Fibonacci hashing: the top bits of the tag pick the slot, so the table
    // grows without asking the items for their hashes again.
    static quint32 tagOf(size_t hash) {
        return quint32((quint64(hash) * 0x9E3779B97F4A7C15ull) >> 32);
    }
    // The growing table keeps the slots in the order of their tags, so
    // that moving them over writes almost in order too.
    std::size_t home(quint32 tag) const {
        return std::size_t(tag >> (32 - m_bits));
    }
    std::size_t mask() const {
        return m_slots.size() - 1;
    }

    void place(quint64 slot) {
        for (std::size_t i = home(quint32(slot >> 32));; i = (i + 1) & mask()) {
            if (m_slots[i] == 0) {
                m_slots[i] = slot;
                return;
            }
        }
    }

    void grow() {
        std::vector<quint64> old;
        old.swap(m_slots);
        m_bits = m_bits == 0 ? 4 : m_bits + 1;
        m_slots.assign(std::size_t(1) << m_bits, 0);
        for (const quint64 slot : old) {
            if (slot != 0)
                place(slot);
        }
    }

    std::vector<quint64> m_slots;
    int m_bits = 0;
    std::size_t m_count = 0;
};

// The merged file, written through a cursor into room claimed ahead and
// used only as written: QByteArray::append, a few bytes at a time and a
// million times, would cost more than the merge itself.
class Output final {
public:
    explicit Output(qsizetype room) { m_bytes.resize(room); } // left unwritten
    void add(const char* data, qsizetype size) {
        if (size == 0)
            return;
        if (m_size + size > m_bytes.size())
            m_bytes.resize(std::max(m_size + size, 2 * m_bytes.size()));
        std::memcpy(m_bytes.data() + m_size, data, std::size_t(size));
        m_size += size;
    }
    void add(View text) { add(text.data(), qsizetype(text.size())); }
    void add(const QByteArray& text) { add(text.constData(), text.size()); }
    bool isEmpty() const { return m_size == 0; }
    bool endsLine() const { return m_size > 0 && m_bytes[m_size - 1] == '\n'; }
    QByteArray take() {
        m_bytes.truncate(m_size);
        return std::move(m_bytes);
    }

private:
    QByteArray m_bytes;
    qsizetype m_size = 0;
};

enum File { Base, Player, Working, kFiles };

// The header line of the block the line at `at` is in; one of a game's
// section is always there.
Line headerAbove(const QByteArray& bytes, qsizetype at) {
    for (;;) {
        const qsizetype feed = at > 0 ? bytes.lastIndexOf('\n', at - 1) : -1;
        const qsizetype begin = feed < 0 ? 0 : feed + 1;
        const Line line = lineAt(bytes, begin);
        if (line.header || begin == 0)
            return line;
        at = begin - 1;
    }
}

// A section by name; 0 is the global one. Names are views into the files.
struct Sections {
    std::vector<View> names{View(kGlobalSection)};
    Index index;

    Sections() { index.add(hashOf(names[0], 0), 0); }

    quint32 find(View name) const {
        return index.find(hashOf(name, 0), [&](quint32 id) { return names[id] == name; });
    }
    quint32 findOrAdd(View name) {
        const quint32 found = find(name);
        if (found != kNone)
            return found;
        const auto id = quint32(names.size());
        names.push_back(name);
        index.add(hashOf(name, 0), id);
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
    Merge(QByteArray base, const QByteArray& player, const QByteArray& working)
        : m_base(std::move(base)), m_files{&m_base, &player, &working} {}

    MergeResult run();

private:
    const QByteArray& bytes(File file) const { return *m_files[file]; }

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
        const QByteArray& in = bytes(file);
        const Line line = lineAt(in, key.at[file] - 1);
        return view(in, line.nameBegin, line.nameEnd);
    }

    // Whether the key is `name` in `section`. Its line is not parsed whole:
    // the name is the first thing on it, and an "=" after blanks ends it.
    bool isKey(quint32 k, quint32 section, View name) const {
        const Key& key = m_keys[k];
        const std::optional<File> file = nameIn(key);
        if (key.section != section || !file)
            return false;
        const View text(bytes(*file).constData(), std::size_t(bytes(*file).size()));
        std::size_t at = key.at[*file] - 1;
        while (at < text.size() && isBlank(text[at]))
            ++at;
        if (text.substr(at, name.size()) != name)
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
            hash = hashOf(name, section);
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
        const QByteArray& in = bytes(file);
        quint32 section = 0;
        forEachLine(in, [&](const Line& line) {
            if (line.header)
                section =
                    line.opensGlobal ? 0 : sectionOf(view(in, line.sectionBegin, line.sectionEnd));
            size_t hash = 0;
            if (line.setting && section != kNone && m_inOrder < kInOrderLines) {
                hash = hashOf(view(in, line.nameBegin, line.nameEnd), section);
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

    void collect(File file);
    void findWorkingLines();
    std::optional<View> valueIn(File file, const Key& key) const;
    void decide(MergeResult& result);
    void orderAdditions();
    void addLines(Output& out, qsizetype at) const;
    void setValue(Output& out, const Line& line, const Key& key) const;
    QByteArray edited();

    // How many settings in a row were found in order, up to a count past
    // which the next ones are expected so too.
    static constexpr int kInOrderLines = 64;
    mutable int m_inOrder = 0;

    QByteArray m_base; // let go once read
    const QByteArray* m_files[kFiles];
    Sections m_sections;
    std::vector<Key> m_keys;
    Index m_index;
    std::vector<Carry> m_carry;

    // Where the working copy takes new lines, by section: after the last
    // non-blank line of the section's first block (-1: it lacks the section).
    std::vector<qsizetype> m_addAt;
    // The settings to add, grouped by section in the order the sections go
    // in, each section's in the player's order.
    std::vector<quint32> m_added;
    struct Group {
        quint32 section;
        quint32 begin, end; // in m_added
        qsizetype at;       // where in the working copy
    };
    std::vector<Group> m_groups;
    QByteArray m_lineEnd;
};

// Every setting of one of the player's files, its sections added as met.
void Merge::collect(File file) {
    const QByteArray& in = bytes(file);
    quint32 last = kNone;
    forEachLineIn(
        file, [&](View name) { return m_sections.findOrAdd(name); },
        [&](const Line& line, quint32 section, size_t hash) {
            if (!line.setting)
                return;
            quint32 k = findKey(section, view(in, line.nameBegin, line.nameEnd), last + 1, hash);
            if (k == kNone) {
                k = quint32(m_keys.size());
                m_keys.push_back({section, {0, 0, 0}});
                m_index.add(hash, k);
            }
            m_keys[k].at[file] = quint32(line.begin + 1);
            last = k;
        });
}

// The working copy's last line of each known setting, and where each
// section takes new lines.
void Merge::findWorkingLines() {
    const QByteArray& in = bytes(Working);
    m_addAt.assign(m_sections.names.size(), -1);
    std::vector<bool> closed(m_sections.names.size(), false); // first block ended
    bool anyHeader = false;
    qsizetype afterAny = 0;
    quint32 current = 0;
    quint32 last = kNone;
    forEachLineIn(
        Working, [&](View name) { return m_sections.find(name); },
        [&](const Line& line, quint32 section, size_t hash) {
            if (line.header) {
                if (anyHeader && current != kNone)
                    closed[current] = true;
                anyHeader = true;
                current = section;
                if (section != kNone && !closed[section])
                    m_addAt[section] = line.next;
            } else if (!isBlankLine(in, line)) {
                afterAny = line.next;
                if (anyHeader && section != kNone && !closed[section])
                    m_addAt[section] = line.next;
            }
            if (!line.setting || section == kNone)
                return;
            const quint32 k =
                findKey(section, view(in, line.nameBegin, line.nameEnd), last + 1, hash);
            if (k != kNone)
                m_keys[k].at[Working] = quint32(line.begin + 1);
            last = k;
        });
    if (!anyHeader)
        m_addAt[0] = afterAny;
}

std::optional<View> Merge::valueIn(File file, const Key& key) const {
    if (key.at[file] == 0)
        return std::nullopt;
    const QByteArray& in = bytes(file);
    const Line line = lineAt(in, key.at[file] - 1);
    return unquotedView(view(in, line.valueBegin, line.valueEnd));
}

void Merge::decide(MergeResult& result) {
    m_carry.assign(m_keys.size(), Carry::Nothing);
    for (std::size_t k = 0; k < m_keys.size(); ++k) {
        const Key& key = m_keys[k];
        const auto before = valueIn(Base, key);
        const auto after = valueIn(Player, key);
        if (before == after)
            continue;
        const auto mine = valueIn(Working, key);
        if (mine == after)
            continue; // the same change on both sides
        if (mine != before) {
            if (result.conflicts.size() == kNamedConflicts) {
                ++result.moreConflicts;
                continue;
            }
            const auto copied = [](const std::optional<View>& value) {
                return value ? std::optional<QByteArray>(copyOf(*value)) : std::nullopt;
            };
            result.conflicts.append({copyOf(m_sections.names[key.section]), copyOf(nameOf(key)),
                                     copied(after), copied(mine)});
            continue;
        }
        m_carry[k] = after ? Carry::Set : Carry::Remove;
    }
}

// The settings the working copy lacks, by section: a section it has takes
// them at its place; the global one it lacks, at the top; any other it
// lacks, at the end, in the order the player's settings first name them.
void Merge::orderAdditions() {
    const std::size_t sections = m_sections.names.size();
    std::vector<quint32> start(sections + 1, 0);
    for (std::size_t k = 0; k < m_keys.size(); ++k) {
        if (m_carry[k] == Carry::Set && m_keys[k].at[Working] == 0)
            ++start[m_keys[k].section + 1];
    }
    for (std::size_t s = 0; s < sections; ++s) {
        if (start[s + 1] != 0)
            m_groups.push_back({quint32(s), start[s], start[s] + start[s + 1], 0});
        start[s + 1] += start[s];
    }
    m_added.resize(start[sections]);
    for (std::size_t k = 0; k < m_keys.size(); ++k) {
        if (m_carry[k] == Carry::Set && m_keys[k].at[Working] == 0)
            m_added[start[m_keys[k].section]++] = quint32(k);
    }
    const qsizetype end = bytes(Working).size();
    for (Group& group : m_groups)
        group.at = m_addAt[group.section] >= 0 ? m_addAt[group.section]
                   : group.section == 0        ? 0
                                               : end + 1; // after what a section takes there
    std::sort(m_groups.begin(), m_groups.end(), [this](const Group& a, const Group& b) {
        return a.at != b.at ? a.at < b.at : m_added[a.begin] < m_added[b.begin];
    });
    for (Group& group : m_groups)
        group.at = std::min(group.at, end);
}

// Puts in the lines that go in at `at`, once the bytes before it are out.
void Merge::addLines(Output& out, qsizetype at) const {
    auto group = std::lower_bound(m_groups.begin(), m_groups.end(), at,
                                  [](const Group& g, qsizetype offset) { return g.at < offset; });
    if (group == m_groups.end() || group->at != at)
        return;
    if (!out.isEmpty() && !out.endsLine())
        out.add(m_lineEnd);
    const QByteArray& player = bytes(Player);
    for (; group != m_groups.end() && group->at == at; ++group) {
        if (m_addAt[group->section] < 0) {
            if (group->section == 0) {
                out.add(View("[ Global ]"));
                out.add(m_lineEnd);
            } else {
                // The header over the player's line of the section's first
                // setting: the section is named as the player wrote it there.
                const Line header =
                    headerAbove(player, m_keys[m_added[group->begin]].at[Player] - 1);
                out.add(m_lineEnd);
                out.add(view(player, header.begin, header.end));
                out.add(m_lineEnd);
            }
        }
        for (quint32 i = group->begin; i < group->end; ++i) {
            const Line line = lineAt(player, m_keys[m_added[i]].at[Player] - 1);
            out.add(view(player, line.begin, line.end));
            out.add(m_lineEnd);
        }
    }
}

// The working copy's line with the player's value: in the line's own form
// where that reads back the same, else the player's whole line.
void Merge::setValue(Output& out, const Line& line, const Key& key) const {
    const QByteArray& in = bytes(Working);
    const QByteArray& player = bytes(Player);
    const Line theirs = lineAt(player, key.at[Player] - 1);
    const View raw = view(player, theirs.valueBegin, theirs.valueEnd);
    const View value = unquotedView(raw);
    const View oldRaw = view(in, line.valueBegin, line.valueEnd);

    const View prefix = view(in, line.begin, line.valueBegin);
    const View suffix = view(in, line.valueEnd, line.end);
    const bool wasQuoted = oldRaw.size() >= 2 && oldRaw.front() == '"' && oldRaw.back() == '"';
    const bool needsQuotes = value.find(';') != View::npos ||
                             (!value.empty() && (isBlank(value.front()) || isBlank(value.back())));
    // Mostly the value goes in as it is, or in the quotes it had, and the
    // line reads as the player's: no quote before it to move the comment.
    if (value.find('"') == View::npos && !needsQuotes && prefix.find('"') == View::npos) {
        const View quote = wasQuoted ? View("\"") : View();
        out.add(prefix);
        out.add(quote);
        out.add(value);
        out.add(quote);
        out.add(suffix);
        return;
    }
    // Otherwise a value holding a quote as the player wrote it, one that
    // needs quotes to keep its blanks or a ";" quoted, and the line read
    // again to see that it says the player's value.
    const QByteArray formatted = value.find('"') != View::npos ? copyOf(raw)
                                 : wasQuoted || needsQuotes    ? '"' + copyOf(value) + '"'
                                                               : copyOf(value);
    const QByteArray changed = copyOf(prefix) + formatted + copyOf(suffix);
    Line reread;
    reread.end = reread.next = changed.size();
    parseLine(changed, reread);
    if (reread.setting && unquotedView(view(changed, reread.valueBegin, reread.valueEnd)) == value)
        out.add(changed);
    else // a lone quote would take the line's comment into the value
        out.add(view(player, theirs.begin, theirs.end));
}

QByteArray Merge::edited() {
    const QByteArray& in = bytes(Working);
    m_lineEnd = lineEndOf(in);
    orderAdditions();
    // Room for all it mostly comes to, claimed only as written, so that it
    // is not copied as it grows.
    Output out(in.size() + 3 * bytes(Player).size() + 16);
    qsizetype copied = 0;
    quint32 last = kNone;
    const auto copyTo = [&](qsizetype to) {
        out.add(in.constData() + copied, to - copied);
        copied = to;
    };
    forEachLineIn(
        Working, [&](View name) { return m_sections.find(name); },
        [&](const Line& line, quint32 section, size_t hash) {
            if (!m_groups.empty()) {
                copyTo(line.begin);
                addLines(out, line.begin);
            }
            if (!line.setting || section == kNone)
                return;
            const quint32 k =
                findKey(section, view(in, line.nameBegin, line.nameEnd), last + 1, hash);
            if (k != kNone)
                last = k;
            if (k == kNone || m_carry[k] == Carry::Nothing)
                return;
            if (m_carry[k] == Carry::Remove) {
                copyTo(line.begin);
                copied = line.next;
            } else if (m_keys[k].at[Working] == quint32(line.begin + 1)) {
                copyTo(line.begin);
                setValue(out, line, m_keys[k]);
                copied = line.end;
            }
        });
    copyTo(in.size());
    addLines(out, in.size());
    return out.take();
}

MergeResult Merge::run() {
    // Room for a record per line: only what is used is claimed. Offsets are
    // 32-bit, ample for files within the editor's limit.
    const auto lines = [this](File file) {
        return std::size_t(std::count(bytes(file).cbegin(), bytes(file).cend(), '\n')) + 1;
    };
    m_keys.reserve(lines(Player) + lines(Base));
    collect(Player); // first: the player's order is the order of the changes
    collect(Base);   // then the settings the player removed
    findWorkingLines();
    MergeResult result;
    decide(result);
    m_base = QByteArray(); // its memory, for the result's
    result.bytes = std::all_of(m_carry.begin(), m_carry.end(),
                               [](Carry carry) { return carry == Carry::Nothing; })
                       ? bytes(Working)
                       : edited();
    return result;
}

} // namespace

MergeResult mergeConfig(QByteArray base, const QByteArray& player, const QByteArray& working) {
    return Merge(std::move(base), player, working).run();
}

} // namespace emulator
