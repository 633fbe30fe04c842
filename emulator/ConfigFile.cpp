#include "emulator/ConfigFile.h"

#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSet>
#include <QStringList>
#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace emulator {

namespace {

// One line of the file, by byte offsets: [begin, end) is its text, `next`
// where the line after it begins (its line end lies between).
struct Line {
    qsizetype begin = 0;
    qsizetype end = 0;
    qsizetype next = 0;
    bool global = true;  // in a global section
    bool header = false; // a "[ ... ]" line
    bool opensGlobal = false;
    qsizetype sectionBegin = 0, sectionEnd = 0; // a header's name
    bool setting = false;                       // a "Name = value" line
    qsizetype nameBegin = 0, nameEnd = 0;       // a header's name too
    qsizetype valueBegin = 0, valueEnd = 0;     // quotes included
};

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

void trim(const QByteArray& bytes, qsizetype& begin, qsizetype& end) {
    while (begin < end && isBlank(bytes[begin]))
        ++begin;
    while (end > begin && isBlank(bytes[end - 1]))
        --end;
}

// Where the line's comment begins: the first ";" outside double quotes.
qsizetype codeEnd(const QByteArray& bytes, qsizetype begin, qsizetype end) {
    bool quoted = false;
    for (qsizetype i = begin; i < end; ++i) {
        if (bytes[i] == '"')
            quoted = !quoted;
        else if (bytes[i] == ';' && !quoted)
            return i;
    }
    return end;
}

// The first `c` in [begin, end), or -1: never looks past the line.
qsizetype findIn(const QByteArray& bytes, char c, qsizetype begin, qsizetype end) {
    const void* found = std::memchr(bytes.constData() + begin, c, std::size_t(end - begin));
    return found ? static_cast<const char*>(found) - bytes.constData() : -1;
}

void parseLine(const QByteArray& bytes, Line& line) {
    qsizetype begin = line.begin;
    qsizetype end = codeEnd(bytes, line.begin, line.end);
    trim(bytes, begin, end);
    if (begin == end)
        return;
    if (bytes[begin] == '[') {
        line.header = true;
        qsizetype nameBegin = begin + 1;
        qsizetype nameEnd = findIn(bytes, ']', nameBegin, end);
        if (nameEnd < 0)
            nameEnd = end;
        trim(bytes, nameBegin, nameEnd);
        line.sectionBegin = nameBegin;
        line.sectionEnd = nameEnd;
        const std::string_view name(bytes.constData() + nameBegin,
                                    std::size_t(nameEnd - nameBegin));
        line.opensGlobal = name.empty() || name == "Global";
        line.nameBegin = nameBegin;
        line.nameEnd = nameEnd;
        return;
    }
    const qsizetype equals = findIn(bytes, '=', begin, end);
    if (equals < 0)
        return;
    line.setting = true;
    line.nameBegin = begin;
    line.nameEnd = equals;
    trim(bytes, line.nameBegin, line.nameEnd);
    line.valueBegin = equals + 1;
    line.valueEnd = end;
    trim(bytes, line.valueBegin, line.valueEnd);
}

// Calls `visit` for each line in order, with its section known. Nothing is
// kept per line, so memory stays flat whatever the file holds.
template <typename Visit> void forEachLine(const QByteArray& bytes, Visit visit) {
    bool global = true;
    qsizetype at = 0;
    while (at < bytes.size()) {
        Line line;
        line.begin = at;
        const qsizetype feed = bytes.indexOf('\n', at);
        if (feed < 0) {
            line.end = line.next = bytes.size();
        } else {
            line.end = feed > at && bytes[feed - 1] == '\r' ? feed - 1 : feed;
            line.next = feed + 1;
        }
        parseLine(bytes, line);
        if (line.header)
            global = line.opensGlobal;
        line.global = global;
        visit(line);
        at = line.next;
    }
}

bool isBlankLine(const QByteArray& bytes, const Line& line) {
    for (qsizetype i = line.begin; i < line.end; ++i) {
        if (!isBlank(bytes[i]))
            return false;
    }
    return true;
}

// Views into `bytes`, never copies: they live only while the file does.
QByteArray name(const QByteArray& bytes, const Line& line) {
    return QByteArray::fromRawData(bytes.constData() + line.nameBegin,
                                   line.nameEnd - line.nameBegin);
}

QByteArray rawValue(const QByteArray& bytes, const Line& line) {
    return QByteArray::fromRawData(bytes.constData() + line.valueBegin,
                                   line.valueEnd - line.valueBegin);
}

bool quoted(const QByteArray& raw) {
    return raw.size() >= 2 && raw.startsWith('"') && raw.endsWith('"');
}

QByteArray unquoted(const QByteArray& raw) {
    return quoted(raw) ? raw.sliced(1, raw.size() - 2) : raw;
}

// The earlier names of sources the emulator refuses, and what it reads.
constexpr std::pair<std::string_view, std::string_view> kEarlierSources[] = {
    {"MouseLeft", "MOUSE_LEFT_BUTTON"},
    {"MouseRight", "MOUSE_RIGHT_BUTTON"},
    {"MouseMiddle", "MOUSE_MIDDLE_BUTTON"},
    {"ScorollLock", "ScrollLock"},
};

bool containsIgnoringCase(const QByteArray& text, std::string_view word) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    const auto found = std::search(text.begin(), text.end(), word.begin(), word.end(),
                                   [&lower](char a, char b) { return lower(a) == b; });
    return found != text.end();
}

// The value with earlier source names renamed; every other byte kept.
QByteArray renamedSources(const QByteArray& value) {
    // Most values hold none of them: look before taking the value apart.
    if (!containsIgnoringCase(value, "mouse") && !containsIgnoringCase(value, "scorol"))
        return value;
    QList<QByteArray> pieces = value.split(',');
    for (QByteArray& piece : pieces) {
        qsizetype begin = 0;
        qsizetype end = piece.size();
        trim(piece, begin, end);
        const QByteArray source = piece.sliced(begin, end - begin);
        for (const auto& [earlier, current] : kEarlierSources) {
            if (source.compare(QByteArray::fromRawData(earlier.data(), qsizetype(earlier.size())),
                               Qt::CaseInsensitive) == 0) {
                piece.replace(begin, end - begin,
                              QByteArray(current.data(), qsizetype(current.size())));
                break;
            }
        }
    }
    return pieces.join(',');
}

QByteArray lineEndOf(const QByteArray& bytes) {
    const qsizetype feed = bytes.indexOf('\n');
    return feed > 0 && bytes[feed - 1] == '\r' ? QByteArrayLiteral("\r\n")
                                               : QByteArrayLiteral("\n");
}

} // namespace

QString configProblemText(ConfigProblem problem) {
    switch (problem) {
    case ConfigProblem::NulByte:
        return QStringLiteral("it holds a NUL byte");
    case ConfigProblem::TooLarge:
        return QStringLiteral("it is larger than 16 MiB");
    case ConfigProblem::Unreadable:
        return QStringLiteral("it cannot be read");
    case ConfigProblem::None:
        break;
    }
    return {};
}

ConfigProblem configProblem(const QByteArray& bytes) {
    if (bytes.size() > kConfigFileLimit)
        return ConfigProblem::TooLarge;
    if (bytes.contains('\0'))
        return ConfigProblem::NulByte;
    return ConfigProblem::None;
}

QHash<QString, GlobalSetting> globalSettings(const QByteArray& bytes, const QStringList& names) {
    QHash<QByteArray, QString> wanted;
    for (const QString& n : names)
        wanted.insert(n.toUtf8(), n);
    QHash<QString, GlobalSetting> settings;
    int index = 0;
    forEachLine(bytes, [&](const Line& line) {
        if (line.setting && line.global) {
            const auto found = wanted.constFind(name(bytes, line));
            if (found != wanted.cend())
                settings.insert(*found,
                                {QString::fromUtf8(unquoted(rawValue(bytes, line))), index});
        }
        ++index;
    });
    return settings;
}

QHash<QString, QHash<QString, QString>> sectionInputs(const QByteArray& bytes) {
    QHash<QString, QHash<QString, QString>> sections;
    QStringList sets; // the sets the current section names
    forEachLine(bytes, [&](const Line& line) {
        if (line.header) {
            sets.clear();
            if (line.opensGlobal)
                return;
            const QString names = QString::fromUtf8(bytes.constData() + line.sectionBegin,
                                                    line.sectionEnd - line.sectionBegin);
            for (const QString& set : names.split(u','))
                if (!set.trimmed().isEmpty())
                    sets.append(set.trimmed());
            return;
        }
        if (!line.setting || line.global || sets.isEmpty())
            return;
        const QByteArray n = name(bytes, line);
        if (!n.startsWith("Input"))
            return;
        const QString value = QString::fromUtf8(unquoted(rawValue(bytes, line)));
        for (const QString& set : sets)
            sections[set].insert(QString::fromUtf8(n), value);
    });
    return sections;
}

QByteArray editConfig(const QByteArray& bytes, const QHash<QString, QString>& settings) {
    QHash<QByteArray, QByteArray> wanted;
    for (auto it = settings.begin(); it != settings.end(); ++it)
        wanted.insert(it.key().toUtf8(), it.value().toUtf8());

    // First pass: the line each wanted setting lives on (the last global one
    // of its name), the form of the file's last setting, and where added
    // lines go: after the last non-blank line of the first global section,
    // at the top under a new header when there is none, at the end of a file
    // without sections.
    QHash<QByteArray, qsizetype> last; // name -> the line's first byte
    bool quotes = true;
    bool anyHeader = false;
    bool inFirstGlobal = false;
    bool firstGlobalSeen = false;
    qsizetype afterFirstGlobal = -1; // the end of its last non-blank line
    qsizetype afterAny = -1;         // the same for a file without sections
    bool lastLineUnended = false;
    forEachLine(bytes, [&](const Line& line) {
        if (line.header) {
            anyHeader = true;
            inFirstGlobal = line.opensGlobal && !firstGlobalSeen;
            firstGlobalSeen = firstGlobalSeen || line.opensGlobal;
        }
        if (!isBlankLine(bytes, line)) {
            afterAny = line.next;
            if (inFirstGlobal)
                afterFirstGlobal = line.next;
        }
        lastLineUnended = line.next == line.end;
        if (line.setting && line.global) {
            const QByteArray n = name(bytes, line);
            if (wanted.contains(n))
                last.insert(n, line.begin);
            const QByteArray raw = rawValue(bytes, line);
            quotes = quoted(raw) || raw.isEmpty();
        }
    });

    const QByteArray lineEnd = lineEndOf(bytes);
    QByteArray added;
    for (auto it = wanted.begin(); it != wanted.end(); ++it) {
        if (last.contains(it.key()))
            continue;
        const QByteArray quote = quotes ? QByteArrayLiteral("\"") : QByteArray();
        added += it.key() + " = " + quote + it.value() + quote + lineEnd;
    }
    qsizetype insertAt = -1;
    if (!added.isEmpty()) {
        if (firstGlobalSeen) {
            insertAt = afterFirstGlobal;
        } else if (anyHeader) {
            insertAt = 0;
            added.prepend("[ Global ]" + lineEnd);
        } else {
            insertAt = afterAny < 0 ? 0 : afterAny;
        }
        // A last line without its end gets one before the new lines.
        if (insertAt == bytes.size() && lastLineUnended && insertAt > 0)
            added.prepend(lineEnd);
    }

    // Second pass: copy, changing only the values asked for and the earlier
    // source names the emulator refuses in other global input lines.
    QByteArray result;
    result.reserve(bytes.size() + added.size() + 256);
    qsizetype copied = 0;
    auto copyTo = [&](qsizetype to) {
        result.append(bytes.constData() + copied, to - copied);
        copied = to;
    };
    auto addNow = [&] {
        copyTo(insertAt);
        result += added;
        added.clear();
    };
    forEachLine(bytes, [&](const Line& line) {
        if (!added.isEmpty() && insertAt == line.begin)
            addNow();
        if (!line.setting || !line.global)
            return;
        const QByteArray n = name(bytes, line);
        const QByteArray raw = rawValue(bytes, line);
        QByteArray value;
        const auto at = last.constFind(n);
        if (at != last.cend() && *at == line.begin) {
            const QByteArray newValue = wanted.value(n);
            value = quoted(raw) ? '"' + newValue + '"' : newValue;
        } else if (n.startsWith("Input")) {
            value = quoted(raw) ? '"' + renamedSources(unquoted(raw)) + '"' : renamedSources(raw);
        } else {
            return;
        }
        if (value == raw)
            return;
        copyTo(line.valueBegin);
        result += value;
        copied = line.valueEnd;
    });
    if (!added.isEmpty())
        addNow();
    copyTo(bytes.size());
    return result;
}

ConfigRead readConfigFile(const QString& path) {
    ConfigRead read;
    if (!QFileInfo(path).isFile())
        return read;
    read.exists = true;
    // Not blocking, and an ordinary file only: one swapped for a pipe or a
    // device since the look must not hang the window.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    struct stat st;
    QFile file;
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        if (fd >= 0)
            ::close(fd);
        read.problem = ConfigProblem::Unreadable;
        return read;
    }
    // Never more than one byte past the limit: a bigger file is refused unread.
    read.bytes = file.read(kConfigFileLimit + 1);
    read.problem = file.error() != QFileDevice::NoError ? ConfigProblem::Unreadable
                                                        : configProblem(read.bytes);
    if (read.problem == ConfigProblem::TooLarge)
        read.bytes.clear();
    return read;
}

namespace {

// The section a line belongs to, by name: kGlobalSection for the global one.
class SectionTracker final {
public:
    explicit SectionTracker(const QByteArray& bytes) : m_bytes(bytes) {}
    void see(const Line& line) {
        if (!line.header)
            return;
        m_section = line.opensGlobal ? QByteArray(kGlobalSection)
                                     : QByteArray(m_bytes.constData() + line.nameBegin,
                                                  line.nameEnd - line.nameBegin);
        m_header = QByteArray(m_bytes.constData() + line.begin, line.end - line.begin);
    }
    const QByteArray& section() const { return m_section; }
    const QByteArray& header() const { return m_header; }

private:
    const QByteArray& m_bytes;
    QByteArray m_section = kGlobalSection;
    QByteArray m_header;
};

// Whether the line, with `raw` in place of its value, reads as `value`.
bool readsAs(const QByteArray& bytes, const Line& line, const QByteArray& raw,
             const QByteArray& value) {
    const QByteArray text = bytes.mid(line.begin, line.valueBegin - line.begin) + raw +
                            bytes.mid(line.valueEnd, line.end - line.valueEnd);
    Line changed;
    changed.end = text.size();
    changed.next = text.size();
    parseLine(text, changed);
    return changed.setting && unquoted(rawValue(text, changed)) == value;
}

// A value in the form of the line it goes to: quoted when that line's was,
// or when it needs quotes to read back the same; one holding a quote as the
// source wrote it.
QByteArray formatted(const QByteArray& oldRaw, const SectionEdit& edit) {
    const QByteArray& value = edit.value;
    if (value.contains('"'))
        return edit.raw;
    const bool needsQuotes =
        value.contains(';') ||
        (!value.isEmpty() && (isBlank(value.front()) || isBlank(value.back())));
    return quoted(oldRaw) || needsQuotes ? '"' + value + '"' : value;
}

} // namespace

QList<SectionSetting> sectionSettings(const QByteArray& bytes) {
    QList<SectionSetting> settings;
    SectionTracker tracker(bytes);
    forEachLine(bytes, [&](const Line& line) {
        tracker.see(line);
        if (!line.setting)
            return;
        const QByteArray raw = rawValue(bytes, line);
        settings.append({tracker.section(), tracker.header(), QByteArray(name(bytes, line)),
                         QByteArray(unquoted(raw)), QByteArray(raw),
                         QByteArray(bytes.constData() + line.begin, line.end - line.begin)});
    });
    return settings;
}

QByteArray editSections(const QByteArray& bytes, const QList<SectionEdit>& edits) {
    using Key = QPair<QByteArray, QByteArray>; // section, name
    QHash<Key, qsizetype> wanted;              // -> index into edits
    for (qsizetype i = 0; i < edits.size(); ++i)
        wanted.insert({edits[i].section, edits[i].name}, i);

    // First pass: the last line of each edited setting, and where a
    // section's new lines go: after the last non-blank line of the first
    // block its header opens; in a file without headers, after its last
    // non-blank line.
    QHash<qsizetype, qsizetype> lastLine; // edit -> its line's first byte
    QHash<QByteArray, qsizetype> addAt;   // section -> offset
    QSet<QByteArray> closed;              // sections whose first block has ended
    bool anyHeader = false;
    qsizetype afterAny = 0;
    SectionTracker tracker(bytes);
    forEachLine(bytes, [&](const Line& line) {
        if (line.header) {
            if (anyHeader)
                closed.insert(tracker.section());
            anyHeader = true;
            tracker.see(line);
            if (!closed.contains(tracker.section()))
                addAt.insert(tracker.section(), line.next);
        } else if (!isBlankLine(bytes, line)) {
            afterAny = line.next;
            if (anyHeader && !closed.contains(tracker.section()))
                addAt.insert(tracker.section(), line.next);
        }
        if (line.setting) {
            const auto found = wanted.constFind({tracker.section(), name(bytes, line)});
            if (found != wanted.cend())
                lastLine.insert(*found, line.begin);
        }
    });
    if (!anyHeader)
        addAt.insert(QByteArray(kGlobalSection), afterAny);

    const QByteArray lineEnd = lineEndOf(bytes);
    // What goes in at each offset, in the order of the edits.
    QMap<qsizetype, QByteArray> inserts;
    QByteArray newSections;
    QByteArray newGlobal;
    QHash<QByteArray, QByteArray> newSectionLines;
    QList<QByteArray> newSectionOrder;
    for (qsizetype i = 0; i < edits.size(); ++i) {
        const SectionEdit& edit = edits[i];
        if (!edit.present || lastLine.contains(i))
            continue;
        const QByteArray added = edit.line + lineEnd;
        const auto at = addAt.constFind(edit.section);
        if (at != addAt.cend()) {
            inserts[*at] += added;
        } else if (edit.section == kGlobalSection) {
            newGlobal += added;
        } else {
            if (!newSectionLines.contains(edit.section)) {
                newSectionOrder.append(edit.section);
                newSectionLines.insert(edit.section, edit.header + lineEnd);
            }
            newSectionLines[edit.section] += added;
        }
    }
    if (!newGlobal.isEmpty())
        inserts[0].prepend("[ Global ]" + lineEnd + newGlobal);
    for (const QByteArray& section : newSectionOrder)
        newSections += lineEnd + newSectionLines.value(section);
    if (!newSections.isEmpty())
        inserts[bytes.size()] += newSections;

    // Second pass: copy, with each edited line's value changed or the line
    // dropped, and the new lines put in.
    QByteArray result;
    result.reserve(bytes.size() + 256);
    qsizetype copied = 0;
    auto copyTo = [&](qsizetype to) {
        result.append(bytes.constData() + copied, to - copied);
        copied = to;
    };
    auto insertAt = [&](qsizetype at) {
        const auto found = inserts.constFind(at);
        if (found == inserts.cend())
            return;
        copyTo(at);
        if (!result.isEmpty() && !result.endsWith('\n'))
            result += lineEnd;
        result += *found;
        inserts.remove(at);
    };
    SectionTracker second(bytes);
    forEachLine(bytes, [&](const Line& line) {
        insertAt(line.begin);
        second.see(line);
        if (!line.setting)
            return;
        const auto found = wanted.constFind({second.section(), name(bytes, line)});
        if (found == wanted.cend())
            return;
        const SectionEdit& edit = edits[*found];
        if (!edit.present) {
            copyTo(line.begin);
            copied = line.next;
            return;
        }
        if (lastLine.value(*found) != line.begin)
            return;
        const QByteArray raw = rawValue(bytes, line);
        if (unquoted(raw) == edit.value)
            return;
        const QByteArray value = formatted(raw, edit);
        if (readsAs(bytes, line, value, edit.value)) {
            copyTo(line.valueBegin);
            result += value;
            copied = line.valueEnd;
            return;
        }
        // A value with a lone quote would take the line's comment into it:
        // the source's own line is what says it.
        copyTo(line.begin);
        result += edit.line;
        copied = line.end;
    });
    insertAt(bytes.size());
    copyTo(bytes.size());
    return result;
}

} // namespace emulator
