#include "emulator/ConfigDocument.h"

#include "emulator/ConfigLines.h"

#include <QSet>
#include <algorithm>
#include <cstring>
#include <string_view>

namespace emulator {

namespace {

using namespace lines;

// What a line's entry in m_changed and m_changedAdded says besides where
// its text now is.
constexpr quint32 kOriginal = HashIndex::kNone;
constexpr quint32 kRemoved = kOriginal - 1;
constexpr quint64 kRemovedAdded = ~quint64(0);
constexpr quint32 kUnknown = HashIndex::kNone - 1;
constexpr quint64 kSpacing = quint64(1) << 32; // between runs added one after another

bool needsQuotes(QByteArrayView value) {
    return value.contains(';') ||
           (!value.isEmpty() && (isBlank(value.front()) || isBlank(value.back())));
}

QList<QByteArray> sectionList(QByteArrayView header) {
    QList<QByteArray> names;
    for (const QByteArrayView name : lines::sectionsOf(header))
        names.append(name.toByteArray());
    return names;
}

// The earlier names of sources the emulator refuses, and what it reads.
constexpr std::pair<std::string_view, std::string_view> kEarlierSources[] = {
    {"MouseLeft", "MOUSE_LEFT_BUTTON"},
    {"MouseRight", "MOUSE_RIGHT_BUTTON"},
    {"MouseMiddle", "MOUSE_MIDDLE_BUTTON"},
    {"ScorollLock", "ScrollLock"},
};

bool containsIgnoringCase(QByteArrayView text, std::string_view word) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return std::search(text.begin(), text.end(), word.begin(), word.end(),
                       [&lower](char a, char b) { return lower(a) == b; }) != text.end();
}

// The value with earlier source names renamed; every other byte kept.
QByteArray renamedSources(QByteArrayView value) {
    QByteArray result;
    for (qsizetype at = 0;;) {
        const qsizetype comma = value.indexOf(',', at);
        const QByteArrayView piece = value.sliced(at, (comma < 0 ? value.size() : comma) - at);
        const QByteArrayView source = trimmed(piece);
        const auto earlier = std::find_if(
            std::begin(kEarlierSources), std::end(kEarlierSources), [&source](const auto& names) {
                return source.compare(
                           QByteArrayView(names.first.data(), qsizetype(names.first.size())),
                           Qt::CaseInsensitive) == 0;
            });
        if (earlier == std::end(kEarlierSources)) {
            result.append(piece);
        } else {
            const qsizetype lead = source.data() - piece.data();
            result.append(piece.first(lead))
                .append(earlier->second.data(), qsizetype(earlier->second.size()))
                .append(piece.sliced(lead + source.size()));
        }
        if (comma < 0)
            return result;
        result.append(',');
        at = comma + 1;
    }
}

} // namespace

ConfigDocument::ConfigDocument(QByteArray bytes)
    : m_bytes(std::move(bytes)), m_lineEnd(lineEndOf(m_bytes)) {
    m_begin.reserve(std::size_t(std::count(m_bytes.cbegin(), m_bytes.cend(), '\n')) + 2);
    m_blocks.push_back({kNone, kNone, kNone});
    addBlock(0, lines::sectionsOf(QByteArrayView()));
    // Only a line that begins with "[" is read whole here.
    const char* data = m_bytes.constData();
    for (qsizetype at = 0; at < m_bytes.size();) {
        const auto number = quint32(m_begin.size());
        m_begin.push_back(quint32(at));
        const void* feed = std::memchr(data + at, '\n', std::size_t(m_bytes.size() - at));
        const qsizetype next = feed ? static_cast<const char*>(feed) - data + 1 : m_bytes.size();
        const char* first =
            std::find_if_not(data + at, data + next, [](char c) { return isBlank(c); });
        if (first != data + next && *first != '\n') {
            const lines::Line line = *first == '[' ? lineAt(m_bytes, at) : lines::Line();
            if (line.header) {
                m_headerLines.push_back(number);
                m_blocks.push_back({number, number, kNone});
                addBlock(quint32(m_blocks.size() - 1), lines::sectionsOf(nameOf(m_bytes, line)));
            }
            m_blocks.back().lastFilled = number;
        }
        at = next;
    }
    m_begin.push_back(quint32(m_bytes.size()));
    m_anyHeader = !m_headerLines.empty();
}

// Whether the file's last global setting, as read, is quoted.
bool ConfigDocument::quotes() const {
    if (m_quotes)
        return *m_quotes;
    m_quotes = true;
    for (quint32 i = lineCount(); i-- > 0;) {
        const quint32 block = blockOf(i);
        if (!names(lines::sectionsOf(headerText(block)), kGlobal)) {
            i = m_blocks[block].header; // the lines above it are another block's
            continue;
        }
        const QByteArrayView text = firstText(i);
        const lines::Line line = lineAt(text, 0);
        if (line.setting) {
            const QByteArrayView raw = rawValueOf(text, line);
            m_quotes = quoted(raw) || raw.isEmpty();
            break;
        }
    }
    return *m_quotes;
}

QByteArrayView ConfigDocument::firstText(Ref line) const {
    if (!(line & kAdded))
        return QByteArrayView(m_bytes).sliced(m_begin[line], m_begin[line + 1] - m_begin[line]);
    // Every added line ends with its line end.
    const char* begin = m_added.constData() + (line & ~kAdded);
    const char* feed =
        static_cast<const char*>(std::memchr(begin, '\n', std::size_t(m_added.constEnd() - begin)));
    return QByteArrayView(begin, feed + 1);
}

QByteArrayView ConfigDocument::text(Ref line) const {
    if (line & kAdded) {
        const auto kept = m_changedAdded.constFind(line);
        if (kept == m_changedAdded.cend())
            return firstText(line);
        if (*kept == kRemovedAdded)
            return {};
        return QByteArrayView(m_added).sliced(qsizetype(*kept >> 32),
                                              qsizetype(*kept & 0xffffffffu));
    }
    const quint32 kept = m_changed.empty() ? kOriginal : m_changed[line];
    if (kept == kOriginal)
        return firstText(line);
    if (kept == kRemoved)
        return {};
    // It runs to the next line end, which a last line without one only
    // has there.
    const char* begin = m_added.constData() + kept;
    const char* feed =
        static_cast<const char*>(std::memchr(begin, '\n', std::size_t(m_added.constEnd() - begin)));
    const bool unended = line + 1 == lineCount() && !m_bytes.endsWith('\n');
    return QByteArrayView(begin, feed + (unended ? 0 : 1));
}

bool ConfigDocument::textIsAdded(Ref line) const {
    return (line & kAdded) || (!m_changed.empty() && m_changed[line] != kOriginal);
}

quint32 ConfigDocument::runOf(Ref line) const {
    const auto run = std::upper_bound(m_runs.begin(), m_runs.end(), line & ~kAdded,
                                      [](quint32 at, const Run& r) { return at < r.begin; });
    return quint32(run - m_runs.begin() - 1);
}

quint32 ConfigDocument::blockOf(Ref line) const {
    if (line & kAdded)
        return m_runs[runOf(line)].block;
    return quint32(std::upper_bound(m_headerLines.begin(), m_headerLines.end(), line) -
                   m_headerLines.begin());
}

QByteArrayView ConfigDocument::headerText(quint32 block) const {
    if (m_blocks[block].header == kNone)
        return {};
    const QByteArrayView header = text(m_blocks[block].header);
    const lines::Line line = lineAt(header, 0);
    return nameOf(header, line);
}

ConfigDocument::Place ConfigDocument::placeOf(Ref line) const {
    if (!(line & kAdded))
        return {line + 1, 0, 0};
    const Run& run = m_runs[runOf(line)];
    return {run.anchor, run.rank, line & ~kAdded};
}

ConfigDocument::Place ConfigDocument::blockPlace(quint32 block) const {
    return m_blocks[block].header == kNone ? Place{0, 0, 0} : placeOf(m_blocks[block].header);
}

bool ConfigDocument::only(quint32 block, QByteArrayView section) const {
    return lines::sectionsOf(headerText(block)) == lines::sectionsOf(section);
}

// Calls `visit(line, text, block)` for every line in file order.
template <typename Visit> void ConfigDocument::walk(Visit visit) const {
    const auto runs = [&](quint32 anchor) {
        if (m_firstRun.empty())
            return;
        for (quint32 r = m_firstRun[anchor]; r != kNone; r = m_runs[r].next) {
            for (quint32 at = m_runs[r].begin; at < m_runs[r].end;) {
                const Ref line = kAdded | at;
                at += quint32(firstText(line).size());
                const QByteArrayView now = text(line);
                if (!now.isEmpty())
                    visit(line, now, m_runs[r].block);
            }
        }
    };
    runs(0);
    quint32 block = 0;
    auto header = m_headerLines.cbegin();
    for (quint32 i = 0; i < lineCount(); ++i) {
        if (header != m_headerLines.cend() && *header == i) {
            ++block;
            ++header;
        }
        const QByteArrayView now = text(i);
        if (!now.isEmpty())
            visit(i, now, block);
        runs(i + 1);
    }
}

void ConfigDocument::index(Ref line, QByteArrayView name) const {
    const size_t hash = HashIndex::hashOf(name);
    quint32 id = m_names.find(hash, [&](quint32 id) {
        const QByteArrayView text = firstText(m_named[m_lastNamed[id]].line);
        return nameOf(text, lineAt(text, 0)) == name;
    });
    if (id == kNone) {
        id = quint32(m_lastNamed.size());
        m_lastNamed.push_back(kNone);
        m_names.add(hash, id);
    }
    m_named.push_back({line, m_lastNamed[id]});
    m_lastNamed[id] = quint32(m_named.size() - 1);
}

quint32 ConfigDocument::namedLines(QByteArrayView name) const {
    if (!m_indexed) {
        m_indexed = true;
        walk([this](Ref line, QByteArrayView text, quint32) {
            const lines::Line parsed = lineAt(text, 0);
            if (parsed.setting)
                index(line, nameOf(text, parsed));
        });
    }
    const quint32 id = m_names.find(HashIndex::hashOf(name), [&](quint32 id) {
        const QByteArrayView text = firstText(m_named[m_lastNamed[id]].line);
        return nameOf(text, lineAt(text, 0)) == name;
    });
    return id == kNone ? kNone : m_lastNamed[id];
}

ConfigDocument::Ref ConfigDocument::winner(QByteArrayView section, QByteArrayView name) const {
    const lines::Sections sections = lines::sectionsOf(section);
    Ref best = kNone;
    Place bestPlace{};
    for (quint32 n = namedLines(name); n != kNone; n = m_named[n].previous) {
        const Ref line = m_named[n].line;
        if (text(line).isEmpty())
            continue; // removed
        const lines::Sections own = lines::sectionsOf(headerText(blockOf(line)));
        if (sections.size() == 1 ? !names(own, sections.front()) : own != sections)
            continue;
        const Place at = placeOf(line);
        if (best == kNone || bestPlace < at) {
            best = line;
            bestPlace = at;
        }
    }
    return best;
}

quint32 ConfigDocument::sectionsId(QByteArrayView section) const {
    const lines::Sections sections = lines::sectionsOf(section);
    return m_sectionIndex.find(hashOf(sections), [&](quint32 id) {
        return lines::sectionsOf(headerText(m_sections[id].last)) == sections;
    });
}

void ConfigDocument::addBlock(quint32 block, const lines::Sections& sections) {
    const size_t hash = hashOf(sections);
    quint32 id = m_sectionIndex.find(hash, [&](quint32 id) {
        return lines::sectionsOf(headerText(m_sections[id].last)) == sections;
    });
    if (id == kNone) {
        id = quint32(m_sections.size());
        m_sections.push_back({kNone, kUnknown});
        m_sectionIndex.add(hash, id);
    }
    m_blocks[block].previous = m_sections[id].last;
    m_sections[id] = {block, kUnknown};
}

// The first block naming exactly `section` (not the lines before any header
// of a file that has headers), after `after` when given.
quint32 ConfigDocument::firstBlockAfter(QByteArrayView section, const std::optional<Place>& after) {
    // The merge adds many lines to one section in a row.
    if (!after && m_lastAsked.blocks == m_blocks.size() && m_lastAsked.section == section)
        return m_lastAsked.first;
    const quint32 id = sectionsId(section);
    if (id == kNone)
        return kNone;
    if (!after && m_sections[id].first != kUnknown)
        return m_sections[id].first;
    quint32 first = kNone;
    for (quint32 b = m_sections[id].last; b != kNone; b = m_blocks[b].previous) {
        const Place at = blockPlace(b);
        if ((b == 0 && m_anyHeader) || (after && at < *after))
            continue;
        if (first == kNone || at < blockPlace(first))
            first = b;
    }
    if (!after) {
        m_sections[id].first = first;
        m_lastAsked.section = section.toByteArray();
        m_lastAsked.blocks = m_blocks.size();
        m_lastAsked.first = first;
    }
    return first;
}

ConfigDocument::Ref ConfigDocument::insert(quint32 anchor, quint32 previous, Pieces text,
                                           quint32 block) {
    const auto at = quint32(m_added.size());
    if (previous != kNone && m_runs[previous].end == at && m_runs[previous].block == block) {
        append(text);
        m_runs[previous].end = quint32(m_added.size());
        return kAdded | at;
    }
    if (m_firstRun.empty())
        m_firstRun.assign(lineCount() + 1, kNone);
    const quint32 next = previous == kNone ? m_firstRun[anchor] : m_runs[previous].next;
    const auto low = [&] { return previous == kNone ? 0 : m_runs[previous].rank; };
    const auto high = [&] { return next == kNone ? low() + 2 * kSpacing : m_runs[next].rank; };
    if (high() - low() < 2) {
        quint64 rank = 0;
        for (quint32 r = m_firstRun[anchor]; r != kNone; r = m_runs[r].next)
            m_runs[r].rank = rank += kSpacing;
    }
    const auto id = quint32(m_runs.size());
    append(text);
    m_runs.push_back({anchor, at, quint32(m_added.size()), block, next,
                      low() + std::min((high() - low()) / 2, kSpacing)});
    (previous == kNone ? m_firstRun[anchor] : m_runs[previous].next) = id;
    if (next == kNone && anchor == lineCount())
        m_lastRun = id;
    return kAdded | at;
}

ConfigDocument::Ref ConfigDocument::insertAfter(Ref line, Pieces text, quint32 block) {
    if (line == kNone)
        return insert(0, kNone, text, block);
    if (!(line & kAdded))
        return insert(line + 1, kNone, text, block);
    // An added line a block's lines go after is the last of its run.
    const quint32 run = runOf(line);
    return insert(m_runs[run].anchor, run, text, block);
}

// One resize for a line: a merge makes a million of them. No piece is of
// m_added itself.
void ConfigDocument::append(Pieces pieces) {
    const qsizetype at = m_added.size();
    qsizetype size = at;
    for (const QByteArrayView piece : pieces)
        size += piece.size();
    m_added.resize(size);
    char* to = m_added.data() + at;
    for (const QByteArrayView piece : pieces)
        to = std::copy(piece.begin(), piece.end(), to);
}

void ConfigDocument::remove(Ref line) {
    if (line & kAdded) {
        m_changedAdded.insert(line, kRemovedAdded);
        return;
    }
    if (m_changed.empty())
        m_changed.assign(lineCount(), kOriginal);
    m_changed[line] = kRemoved;
}

void ConfigDocument::keep(Ref line, qsizetype begin) {
    if (line & kAdded) {
        m_changedAdded.insert(line, (quint64(begin) << 32) | quint64(m_added.size() - begin));
        return;
    }
    if (!m_added.endsWith('\n'))
        m_added.append('\n');
    if (m_changed.empty())
        m_changed.assign(lineCount(), kOriginal);
    m_changed[line] = quint32(begin);
}

void ConfigDocument::appendLine(QByteArray& to, QByteArrayView name, QByteArrayView value,
                                const Form& form) const {
    if (!form.line.isEmpty()) {
        to.append(form.line);
        return;
    }
    to.append(name).append(" = ");
    if (value.contains('"') && !form.raw.isEmpty()) {
        to.append(form.raw);
        return;
    }
    const bool quote = quotes() || needsQuotes(value);
    if (quote)
        to.append('"');
    to.append(value);
    if (quote)
        to.append('"');
}

void ConfigDocument::setInPlace(Ref line, QByteArrayView value, const Form& form) {
    QByteArray copy; // the added text moves as more is added
    QByteArrayView old = text(line);
    if (textIsAdded(line)) {
        copy = old.toByteArray();
        old = copy;
    }
    const lines::Line was = lineAt(old, 0);
    const QByteArrayView raw = rawValueOf(old, was);
    if (unquoted(raw) == value)
        return;
    const bool hasQuote = std::memchr(value.data(), '"', std::size_t(value.size()));
    const bool quote = !hasQuote && (quoted(raw) || needsQuotes(value));
    const QByteArrayView written = hasQuote && !form.raw.isEmpty() ? form.raw : value;
    const QByteArrayView prefix = old.first(was.valueBegin);
    const qsizetype begin = m_added.size();
    append({prefix, quote ? "\"" : "", written, quote ? "\"" : "", old.sliced(was.valueEnd)});
    // Mostly nothing before the value can take it into quotes; else the
    // line is read again to see that it says the value.
    const auto readsBack = [&] {
        if (!hasQuote && !std::memchr(prefix.data(), '"', std::size_t(prefix.size())))
            return true;
        const QByteArrayView now = QByteArrayView(m_added).sliced(begin);
        const lines::Line is = lineAt(now, 0);
        return is.setting && nameOf(now, is) == nameOf(old, was) &&
               unquoted(rawValueOf(now, is)) == value;
    };
    if (!readsBack()) {
        // A value with a lone quote would take the line's comment into it:
        // the whole line is written anew, with the old line's end.
        m_added.truncate(begin);
        appendLine(m_added, nameOf(old, was), value, form);
        append({old.sliced(was.end)});
    }
    keep(line, begin);
}

void ConfigDocument::place(QByteArrayView section, Ref won, QByteArrayView name,
                           QByteArrayView value, const Form& form) {
    // The line as its source wrote it, or as the file writes one.
    if (form.line.isEmpty()) {
        m_scratch.resize(0);
        appendLine(m_scratch, name, value, form);
    }
    const QByteArrayView line = form.line.isEmpty() ? QByteArrayView(m_scratch) : form.line;
    const quint32 target =
        firstBlockAfter(section, won == kNone ? std::nullopt : std::optional(placeOf(won)));
    Ref added = kNone;
    if (target != kNone) {
        added = insertAfter(m_blocks[target].lastFilled, {line, m_lineEnd}, target);
        m_blocks[target].lastFilled = added;
    } else {
        // A block of its own: at the end after a blank line, the global
        // one at the top unless it must come after a shared block's line.
        const lines::Sections sections = lines::sectionsOf(section);
        const bool top = isGlobal(sections) && won == kNone;
        QByteArray text = top ? QByteArray() : m_lineEnd.toByteArray();
        const auto header = quint32(text.size());
        if (form.header.isEmpty()) {
            text.append("[ ");
            for (const QByteArrayView named : sections)
                text.append(named).append(named == sections.back() ? " ]" : ", ");
        } else {
            text.append(form.header);
        }
        text.append(m_lineEnd);
        const auto setting = quint32(text.size());
        text.append(line).append(m_lineEnd);
        const auto block = quint32(m_blocks.size());
        m_blocks.push_back({kNone, kNone, kNone});
        Ref begin = kNone;
        if (top) {
            begin = insert(0, kNone, {text}, block);
        } else {
            begin = insert(lineCount(), m_lastRun, {text}, block);
        }
        added = begin + setting;
        m_blocks[block].header = begin + header;
        m_blocks[block].lastFilled = added;
        addBlock(block, sections);
    }
    if (m_indexed)
        index(added, name);
}

void ConfigDocument::set(QByteArrayView section, QByteArrayView name, QByteArrayView value,
                         const Form& form) {
    const Ref won = winner(section, name);
    if (won != kNone && only(blockOf(won), section))
        setInPlace(won, value, form);
    else
        place(section, won, name, value, form);
}

void ConfigDocument::remove(QByteArrayView section, QByteArrayView name) {
    for (quint32 n = namedLines(name); n != kNone; n = m_named[n].previous) {
        const Ref line = m_named[n].line;
        if (!text(line).isEmpty() && only(blockOf(line), section))
            remove(line);
    }
}

void ConfigDocument::setLine(LineNumber line, QByteArrayView value, const Form& form) {
    setInPlace(line, value, form);
}

void ConfigDocument::removeLine(LineNumber line) {
    remove(Ref(line));
}

ConfigDocument::LineNumber ConfigDocument::lineBeginningAt(qsizetype offset) const {
    // Asked mostly in file order: the line after the last one asked first.
    const LineNumber next = m_lastAsked.line + 1;
    if (next < lineCount() && m_begin[next] == quint32(offset))
        return m_lastAsked.line = next;
    return m_lastAsked.line =
               LineNumber(std::upper_bound(m_begin.begin(), m_begin.end(), quint32(offset)) -
                          m_begin.begin() - 1);
}

void ConfigDocument::reserve(qsizetype size) {
    m_added.reserve(m_added.size() + size);
}

void ConfigDocument::add(QByteArrayView section, QByteArrayView name, QByteArrayView value,
                         const Form& form) {
    place(section, kNone, name, value, form);
}

void ConfigDocument::renameEarlierSources() {
    std::vector<Ref> found;
    quint32 block = kNone;
    bool global = false;
    walk([&](Ref line, QByteArrayView text, quint32 in) {
        if (in != block) {
            block = in;
            global = names(lines::sectionsOf(headerText(block)), kGlobal);
        }
        const lines::Line parsed = lineAt(text, 0);
        // Most values hold none of them: look before taking one apart.
        const QByteArrayView raw = rawValueOf(text, parsed);
        if (global && parsed.setting && nameOf(text, parsed).startsWith("Input") &&
            (containsIgnoringCase(raw, "mouse") || containsIgnoringCase(raw, "scorol")))
            found.push_back(line);
    });
    for (const Ref line : found) {
        const QByteArray old = text(line).toByteArray();
        const lines::Line parsed = lineAt(old, 0);
        const QByteArrayView raw = rawValueOf(old, parsed);
        const QByteArray renamed =
            quoted(raw) ? '"' + renamedSources(unquoted(raw)) + '"' : renamedSources(raw);
        if (renamed == raw)
            continue;
        const qsizetype begin = m_added.size();
        m_added.append(QByteArrayView(old).first(parsed.valueBegin))
            .append(renamed)
            .append(QByteArrayView(old).sliced(parsed.valueEnd));
        keep(line, begin);
    }
}

std::optional<QByteArray> ConfigDocument::value(QByteArrayView section, QByteArrayView name) const {
    const Ref won = winner(section, name);
    if (won == kNone)
        return std::nullopt;
    const QByteArrayView line = text(won);
    return unquoted(rawValueOf(line, lineAt(line, 0))).toByteArray();
}

std::optional<QByteArray> ConfigDocument::valueFor(QByteArrayView set, QByteArrayView name) const {
    if (auto own = value(set, name))
        return own;
    return value(kGlobal, name);
}

bool ConfigDocument::sharedLine(QByteArrayView section, QByteArrayView name) const {
    const Ref won = winner(section, name);
    return won != kNone && lines::sectionsOf(headerText(blockOf(won))).size() > 1;
}

QList<QByteArray> ConfigDocument::sections() const {
    QList<QByteArray> sections;
    QSet<QByteArray> named;
    bool global = false;
    quint32 block = kNone;
    bool globalBlock = false;
    walk([&](Ref, QByteArrayView text, quint32 in) {
        if (in != block) {
            block = in;
            globalBlock = names(lines::sectionsOf(headerText(block)), kGlobal);
        }
        const lines::Line line = lineAt(text, 0);
        global = global || (line.setting && globalBlock);
        if (!line.header)
            return;
        for (const QByteArray& name : sectionList(nameOf(text, line))) {
            if (name == kGlobal)
                global = true;
            else if (!named.contains(name))
                sections.append(*named.insert(name));
        }
    });
    if (global)
        sections.prepend(kGlobal);
    return sections;
}

void ConfigDocument::forEachSetting(const std::function<void(const Setting&)>& visit) const {
    Setting setting;
    quint32 block = kNone;
    walk([&](Ref, QByteArrayView text, quint32 in) {
        const lines::Line line = lineAt(text, 0);
        if (!line.setting)
            return;
        if (in != block) {
            block = in;
            setting.sections = sectionList(headerText(block));
            setting.header = {};
            if (m_blocks[block].header != kNone) {
                const QByteArrayView header = this->text(m_blocks[block].header);
                setting.header = header.first(lineAt(header, 0).end);
            }
        }
        setting.name = nameOf(text, line);
        setting.raw = rawValueOf(text, line);
        setting.value = unquoted(setting.raw);
        setting.line = text.first(line.end);
        visit(setting);
    });
}

QByteArray ConfigDocument::bytes() const {
    // Never more than the file and all that was added, and one line end
    // for a last line that had none.
    QByteArray out(m_bytes.size() + m_added.size() + m_lineEnd.size(), Qt::Uninitialized);
    char* to = out.data();
    bool unended = false;
    const auto put = [&](QByteArrayView text) {
        if (text.isEmpty())
            return;
        if (unended) {
            std::memcpy(to, m_lineEnd.data(), std::size_t(m_lineEnd.size()));
            to += m_lineEnd.size();
        }
        std::memcpy(to, text.data(), std::size_t(text.size()));
        to += text.size();
        unended = text.back() != '\n';
    };
    const auto runs = [&](quint32 anchor) {
        if (m_firstRun.empty())
            return;
        for (quint32 r = m_firstRun[anchor]; r != kNone; r = m_runs[r].next) {
            const Run& run = m_runs[r];
            if (m_changedAdded.isEmpty()) {
                put(QByteArrayView(m_added).sliced(run.begin, run.end - run.begin));
                continue;
            }
            for (quint32 at = run.begin; at < run.end;) {
                put(text(kAdded | at));
                at += quint32(firstText(kAdded | at).size());
            }
        }
    };
    // The file's unchanged lines go out a stretch at a time.
    const auto unchanged = [&](quint32 first, quint32 end) {
        put(QByteArrayView(m_bytes).sliced(m_begin[first], m_begin[end] - m_begin[first]));
    };
    runs(0);
    quint32 from = 0;
    for (quint32 i = 0; i < lineCount(); ++i) {
        const bool changed = !m_changed.empty() && m_changed[i] != kOriginal;
        const bool added = !m_firstRun.empty() && m_firstRun[i + 1] != kNone;
        if (!changed && !added)
            continue;
        unchanged(from, changed ? i : i + 1);
        if (changed)
            put(text(i));
        from = i + 1;
        runs(i + 1);
    }
    unchanged(from, lineCount());
    out.truncate(to - out.constData());
    return out;
}

} // namespace emulator
