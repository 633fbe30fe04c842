#include "emulator/ConfigDocument.h"

#include <QHashFunctions>
#include <algorithm>
#include <cstring>
#include <string_view>

namespace emulator {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

void trim(const char* d, qint32& begin, qint32& end) {
    while (begin < end && isBlank(d[begin]))
        ++begin;
    while (end > begin && isBlank(d[end - 1]))
        --end;
}

// Where the line's comment begins: the first ";" outside double quotes.
qint32 codeEnd(const char* d, qint32 begin, qint32 end) {
    bool inQuotes = false;
    for (qint32 i = begin; i < end; ++i) {
        if (d[i] == '"')
            inQuotes = !inQuotes;
        else if (d[i] == ';' && !inQuotes)
            return i;
    }
    return end;
}

bool quoted(QByteArrayView raw) {
    return raw.size() >= 2 && raw.front() == '"' && raw.back() == '"';
}

QByteArrayView unquoted(QByteArrayView raw) {
    return quoted(raw) ? raw.sliced(1, raw.size() - 2) : raw;
}

bool needsQuotes(QByteArrayView value) {
    return value.contains(';') || (!value.isEmpty() && (isBlank(value.front()) || isBlank(value.back())));
}

// A header's names, each once: kGlobal for an empty one and "Global".
QList<QByteArray> sectionNames(QByteArrayView text) {
    QList<QByteArray> names;
    qsizetype at = 0;
    while (at <= text.size()) {
        qsizetype comma = text.indexOf(',', at);
        if (comma < 0)
            comma = text.size();
        QByteArray name = text.sliced(at, comma - at).trimmed().toByteArray();
        if (name.isEmpty())
            name = ConfigDocument::kGlobal;
        if (!names.contains(name))
            names.append(name);
        at = comma + 1;
    }
    return names;
}

// The earlier names of sources the emulator refuses, and what it reads.
constexpr std::pair<std::string_view, std::string_view> kEarlierSources[] = {
    {"MouseLeft", "MOUSE_LEFT_BUTTON"},
    {"MouseRight", "MOUSE_RIGHT_BUTTON"},
    {"MouseMiddle", "MOUSE_MIDDLE_BUTTON"},
    {"ScorollLock", "ScrollLock"},
};

// The value with earlier source names renamed; every other byte kept.
QByteArray renamedSources(QByteArrayView value) {
    QByteArray result;
    qsizetype at = 0;
    while (at <= value.size()) {
        qsizetype comma = value.indexOf(',', at);
        if (comma < 0)
            comma = value.size();
        const QByteArrayView piece = value.sliced(at, comma - at);
        const QByteArrayView source = piece.trimmed();
        QByteArrayView written = piece;
        QByteArray renamed;
        for (const auto& [earlier, current] : kEarlierSources) {
            if (source.compare(QByteArrayView(earlier.data(), qsizetype(earlier.size())),
                               Qt::CaseInsensitive) == 0) {
                const qsizetype lead = source.data() - piece.data();
                renamed = piece.first(lead).toByteArray() +
                          QByteArray(current.data(), qsizetype(current.size())) +
                          piece.sliced(lead + source.size()).toByteArray();
                written = renamed;
                break;
            }
        }
        if (at > 0)
            result += ',';
        result += written;
        at = comma + 1;
    }
    return result;
}

constexpr quint64 kSpacing = quint64(1) << 32;
constexpr quint64 kStep = 4096; // between lines added one after another

} // namespace

ConfigDocument::ConfigDocument(QByteArray bytes) : m_bytes(std::move(bytes)) {
    const qsizetype feed = m_bytes.indexOf('\n');
    m_lineEnd = feed > 0 && m_bytes[feed - 1] == '\r' ? QByteArrayLiteral("\r\n")
                                                      : QByteArrayLiteral("\n");
    m_blocks.push_back(Block{{QByteArray(kGlobal)}, -1, -1});
    m_lines.reserve(std::size_t(m_bytes.count('\n') + 1));
    const qint32 size = qint32(m_bytes.size());
    qint32 at = 0;
    while (at < size) {
        Line line;
        line.begin = at;
        const qsizetype lineFeed = m_bytes.indexOf('\n', at);
        if (lineFeed < 0) {
            line.end = line.next = size;
        } else {
            line.end = lineFeed > at && m_bytes[lineFeed - 1] == '\r' ? qint32(lineFeed - 1)
                                                                    : qint32(lineFeed);
            line.next = qint32(lineFeed + 1);
        }
        const auto index = qint32(m_lines.size());
        line.order = quint64(index + 1) * kSpacing;
        if (index > 0)
            m_lines.back().following = index;
        m_lines.push_back(line);
        parseLine(index);
        Line& parsed = m_lines.back();
        if (parsed.header) {
            m_anyHeader = true;
            m_blocks.push_back(Block{
                sectionNames(QByteArrayView(m_bytes.constData() + parsed.nameBegin,
                                            parsed.nameEnd - parsed.nameBegin)),
                index, index});
        }
        parsed.block = qint32(m_blocks.size() - 1);
        Block& block = m_blocks.back();
        const char* d = m_bytes.constData();
        if (std::any_of(d + parsed.begin, d + parsed.end, [](char c) { return !isBlank(c); }))
            block.lastFilled = index;
        if (parsed.setting) {
            this->index(index);
            if (block.names.contains(QByteArray(kGlobal))) {
                const QByteArrayView raw = rawOf(parsed);
                m_quotes = quoted(raw) || raw.isEmpty();
            }
        }
        at = line.next;
    }
    m_first = m_lines.empty() ? -1 : 0;
}

const char* ConfigDocument::data(const Line& line) const {
    return line.text >= 0 ? m_texts[std::size_t(line.text)].constData() : m_bytes.constData();
}

QByteArrayView ConfigDocument::nameOf(const Line& line) const {
    return {data(line) + line.nameBegin, line.nameEnd - line.nameBegin};
}

QByteArrayView ConfigDocument::rawOf(const Line& line) const {
    return {data(line) + line.valueBegin, line.valueEnd - line.valueBegin};
}

QByteArray ConfigDocument::lineText(const Line& line) const {
    return QByteArray(data(line) + line.begin, line.next - line.begin);
}

void ConfigDocument::parseLine(qint32 index) {
    Line& line = m_lines[std::size_t(index)];
    const char* d = data(line);
    qint32 begin = line.begin;
    qint32 end = codeEnd(d, line.begin, line.end);
    trim(d, begin, end);
    line.setting = line.header = false;
    if (begin == end)
        return;
    if (d[begin] == '[' && d[end - 1] == ']' && end - begin >= 2) {
        line.header = true;
        line.nameBegin = begin + 1;
        line.nameEnd = end - 1;
        return;
    }
    const void* equals = std::memchr(d + begin, '=', std::size_t(end - begin));
    if (!equals)
        return;
    const auto at = qint32(static_cast<const char*>(equals) - d);
    qint32 nameBegin = begin, nameEnd = at;
    trim(d, nameBegin, nameEnd);
    if (nameBegin == nameEnd)
        return;
    line.setting = true;
    line.nameBegin = nameBegin;
    line.nameEnd = nameEnd;
    line.valueBegin = at + 1;
    line.valueEnd = end;
    trim(d, line.valueBegin, line.valueEnd);
}

qint32 ConfigDocument::lastOfName(QByteArrayView name) const {
    if (m_names.empty())
        return -1;
    const std::size_t mask = m_names.size() - 1;
    for (std::size_t slot = qHash(name) & mask;; slot = (slot + 1) & mask) {
        const qint32 line = m_names[slot];
        if (line < 0 || nameOf(m_lines[std::size_t(line)]) == name)
            return line;
    }
}

void ConfigDocument::index(qint32 line) {
    if (std::size_t(m_named + 1) * 2 > m_names.size())
        grow();
    Line& added = m_lines[std::size_t(line)];
    const QByteArrayView name = nameOf(added);
    const std::size_t mask = m_names.size() - 1;
    for (std::size_t slot = qHash(name) & mask;; slot = (slot + 1) & mask) {
        qint32& entry = m_names[slot];
        if (entry < 0) {
            ++m_named;
        } else if (nameOf(m_lines[std::size_t(entry)]) != name) {
            continue;
        }
        added.sameName = entry;
        entry = line;
        return;
    }
}

void ConfigDocument::grow() {
    std::vector<qint32> old = std::move(m_names);
    m_names.assign(std::max<std::size_t>(64, old.size() * 2), -1);
    const std::size_t mask = m_names.size() - 1;
    for (const qint32 line : old) {
        if (line < 0)
            continue;
        std::size_t slot = qHash(nameOf(m_lines[std::size_t(line)])) & mask;
        while (m_names[slot] >= 0)
            slot = (slot + 1) & mask;
        m_names[slot] = line;
    }
}

quint64 ConfigDocument::blockOrder(const Block& block) const {
    return block.header < 0 ? 0 : m_lines[std::size_t(block.header)].order;
}

bool ConfigDocument::only(const Block& block, const QList<QByteArray>& sections) const {
    return block.names.size() == sections.size() &&
           std::all_of(sections.begin(), sections.end(),
                       [&block](const QByteArray& name) { return block.names.contains(name); });
}

qint32 ConfigDocument::winner(const QList<QByteArray>& sections, QByteArrayView name) const {
    qint32 best = -1;
    for (qint32 i = lastOfName(name); i >= 0; i = m_lines[std::size_t(i)].sameName) {
        const Line& line = m_lines[std::size_t(i)];
        if (line.removed || !line.setting || nameOf(line) != name)
            continue;
        const Block& block = m_blocks[std::size_t(line.block)];
        const bool names = sections.size() == 1 ? block.names.contains(sections.front())
                                                : only(block, sections);
        if (names && (best < 0 || line.order > m_lines[std::size_t(best)].order))
            best = i;
    }
    return best;
}

void ConfigDocument::renumber() {
    quint64 order = 0;
    for (qint32 i = m_first; i >= 0; i = m_lines[std::size_t(i)].following)
        m_lines[std::size_t(i)].order = order += kSpacing;
}

qint32 ConfigDocument::insertAfter(qint32 after, QByteArray text, qint32 block) {
    const qint32 following = after < 0 ? m_first : m_lines[std::size_t(after)].following;
    quint64 low = 0, high = 0;
    const auto bounds = [&] {
        low = after < 0 ? 0 : m_lines[std::size_t(after)].order;
        high = following < 0 ? low + 2 * kSpacing : m_lines[std::size_t(following)].order;
    };
    bounds();
    if (high - low < 2) {
        renumber();
        bounds();
    }

    Line line;
    line.text = qint32(m_texts.size());
    line.next = qint32(text.size());
    line.end = line.next;
    if (text.endsWith('\n'))
        line.end -= text.endsWith("\r\n") ? 2 : 1;
    line.block = block;
    line.order = low + std::min((high - low) / 2, kStep);
    line.following = following;
    m_texts.push_back(std::move(text));
    const auto index = qint32(m_lines.size());
    m_lines.push_back(line);
    if (after < 0)
        m_first = index;
    else
        m_lines[std::size_t(after)].following = index;
    parseLine(index);
    if (m_lines.back().setting)
        this->index(index);
    return index;
}

void ConfigDocument::replaceText(qint32 index, QByteArray text) {
    Line& line = m_lines[std::size_t(index)];
    line.text = qint32(m_texts.size());
    line.begin = 0;
    line.next = qint32(text.size());
    line.end = line.next;
    if (text.endsWith('\n'))
        line.end -= text.endsWith("\r\n") ? 2 : 1;
    m_texts.push_back(std::move(text));
    parseLine(index);
}

QByteArray ConfigDocument::lineEnd() const {
    return m_lineEnd;
}

QByteArray ConfigDocument::newLine(QByteArrayView name, QByteArrayView value,
                                   const Form& form) const {
    if (!form.line.isEmpty())
        return form.line;
    if (value.contains('"') && !form.raw.isEmpty())
        return name.toByteArray() + " = " + form.raw;
    const QByteArray quote = m_quotes || needsQuotes(value) ? "\"" : "";
    return name.toByteArray() + " = " + quote + value.toByteArray() + quote;
}

void ConfigDocument::setInPlace(qint32 index, QByteArrayView value, const Form& form) {
    const Line line = m_lines[std::size_t(index)];
    const QByteArrayView raw = rawOf(line);
    if (unquoted(raw) == value)
        return;
    QByteArray written;
    if (value.contains('"'))
        written = form.raw.isEmpty() ? value.toByteArray() : form.raw;
    else if (quoted(raw) || needsQuotes(value))
        written = '"' + value.toByteArray() + '"';
    else
        written = value.toByteArray();
    const char* d = data(line);
    QByteArray text = QByteArray(d + line.begin, line.valueBegin - line.begin) + written +
                      QByteArray(d + line.valueEnd, line.next - line.valueEnd);
    const QByteArray name = nameOf(line).toByteArray();
    replaceText(index, text);
    const Line& changed = m_lines[std::size_t(index)];
    if (changed.setting && nameOf(changed) == name && unquoted(rawOf(changed)) == value)
        return;
    // A value with a lone quote would take the line's comment into it: the
    // whole line is written anew, with the old line's end.
    replaceText(index, newLine(name, value, form) +
                           QByteArray(d + line.end, line.next - line.end));
}

void ConfigDocument::set(QByteArrayView section, QByteArrayView name, QByteArrayView value,
                         const Form& form) {
    const QList<QByteArray> sections = sectionNames(section);
    const qint32 won = winner(sections, name);
    if (won >= 0 && only(m_blocks[std::size_t(m_lines[std::size_t(won)].block)], sections)) {
        setInPlace(won, value, form);
        return;
    }
    // A line of its own that comes after the one that wins now.
    const quint64 after = won < 0 ? 0 : m_lines[std::size_t(won)].order;
    qint32 target = -1;
    for (qint32 b = 0; b < qint32(m_blocks.size()); ++b) {
        const Block& block = m_blocks[std::size_t(b)];
        if (!only(block, sections) || (block.header < 0 && m_anyHeader))
            continue;
        if (won >= 0 && blockOrder(block) < after)
            continue;
        if (target < 0 || blockOrder(block) < blockOrder(m_blocks[std::size_t(target)]))
            target = b;
    }
    const QByteArray line = newLine(name, value, form) + lineEnd();
    if (target >= 0) {
        Block& block = m_blocks[std::size_t(target)];
        const qint32 added = insertAfter(block.lastFilled, line, target);
        m_blocks[std::size_t(target)].lastFilled = added;
        return;
    }

    const bool global = sections == QList<QByteArray>{QByteArray(kGlobal)};
    QByteArray header = form.header;
    if (header.isEmpty())
        header = "[ " + sections.join(", ") + " ]";
    const auto block = qint32(m_blocks.size());
    m_blocks.push_back(Block{sections, -1, -1});
    qint32 at = -1;
    if (!(global && won < 0)) {
        // At the end, after a blank line.
        for (qint32 i = m_first; i >= 0; i = m_lines[std::size_t(i)].following)
            at = i;
        at = insertAfter(at, lineEnd(), block);
    }
    const qint32 opened = insertAfter(at, header + lineEnd(), block);
    const qint32 added = insertAfter(opened, line, block);
    m_blocks[std::size_t(block)].header = opened;
    m_blocks[std::size_t(block)].lastFilled = added;
}

void ConfigDocument::remove(QByteArrayView section, QByteArrayView name) {
    const QList<QByteArray> sections = sectionNames(section);
    for (qint32 i = lastOfName(name); i >= 0; i = m_lines[std::size_t(i)].sameName) {
        Line& line = m_lines[std::size_t(i)];
        if (line.setting && nameOf(line) == name && only(m_blocks[std::size_t(line.block)], sections))
            line.removed = true;
    }
}

void ConfigDocument::renameEarlierSources() {
    for (qint32 i = m_first; i >= 0; i = m_lines[std::size_t(i)].following) {
        const Line& line = m_lines[std::size_t(i)];
        if (line.removed || !line.setting || !nameOf(line).startsWith("Input") ||
            !m_blocks[std::size_t(line.block)].names.contains(QByteArray(kGlobal)))
            continue;
        const QByteArrayView raw = rawOf(line);
        // Most values hold none of them: look before taking one apart.
        if (!raw.contains("ouse") && !raw.contains("OUSE") && !raw.contains("corol"))
            continue;
        const QByteArray renamed = quoted(raw) ? '"' + renamedSources(unquoted(raw)) + '"'
                                               : renamedSources(raw);
        if (renamed == raw)
            continue;
        const char* d = data(line);
        replaceText(i, QByteArray(d + line.begin, line.valueBegin - line.begin) + renamed +
                           QByteArray(d + line.valueEnd, line.next - line.valueEnd));
    }
}

std::optional<QByteArray> ConfigDocument::value(QByteArrayView section,
                                                QByteArrayView name) const {
    const qint32 won = winner(sectionNames(section), name);
    if (won < 0)
        return std::nullopt;
    return unquoted(rawOf(m_lines[std::size_t(won)])).toByteArray();
}

std::optional<QByteArray> ConfigDocument::valueFor(QByteArrayView set, QByteArrayView name) const {
    if (auto own = value(set, name))
        return own;
    return value(kGlobal, name);
}

bool ConfigDocument::sharedLine(QByteArrayView section, QByteArrayView name) const {
    const qint32 won = winner(sectionNames(section), name);
    return won >= 0 && m_blocks[std::size_t(m_lines[std::size_t(won)].block)].names.size() > 1;
}

QList<QByteArray> ConfigDocument::sections() const {
    QList<QByteArray> names;
    bool global = false;
    for (qint32 i = m_first; i >= 0; i = m_lines[std::size_t(i)].following) {
        const Line& line = m_lines[std::size_t(i)];
        if (line.removed)
            continue;
        const Block& block = m_blocks[std::size_t(line.block)];
        if (line.setting && block.names.contains(QByteArray(kGlobal)))
            global = true;
        if (!line.header)
            continue;
        for (const QByteArray& name : block.names) {
            if (name == kGlobal)
                global = true;
            else if (!names.contains(name))
                names.append(name);
        }
    }
    if (global)
        names.prepend(kGlobal);
    return names;
}

QList<ConfigDocument::Setting> ConfigDocument::settings() const {
    QList<Setting> settings;
    for (qint32 i = m_first; i >= 0; i = m_lines[std::size_t(i)].following) {
        const Line& line = m_lines[std::size_t(i)];
        if (line.removed || !line.setting)
            continue;
        const Block& block = m_blocks[std::size_t(line.block)];
        QByteArray header;
        if (block.header >= 0) {
            const Line& opened = m_lines[std::size_t(block.header)];
            header = QByteArray(data(opened) + opened.begin, opened.end - opened.begin);
        }
        const QByteArrayView raw = rawOf(line);
        settings.append({block.names, header, nameOf(line).toByteArray(),
                         unquoted(raw).toByteArray(), raw.toByteArray(),
                         QByteArray(data(line) + line.begin, line.end - line.begin)});
    }
    return settings;
}

QByteArray ConfigDocument::bytes() const {
    QByteArray out;
    out.reserve(m_bytes.size() + qsizetype(m_texts.size()) * 32);
    bool unended = false;
    for (qint32 i = m_first; i >= 0; i = m_lines[std::size_t(i)].following) {
        const Line& line = m_lines[std::size_t(i)];
        if (line.removed)
            continue;
        if (unended)
            out += m_lineEnd;
        out.append(data(line) + line.begin, line.next - line.begin);
        unended = line.next == line.end;
    }
    return out;
}

} // namespace emulator
