#include "emulator/ConfigFile.h"

#include "emulator/ConfigLines.h"
#include "platform/Files.h"

#include <QStringList>
#include <algorithm>
#include <string_view>

namespace emulator {

namespace {

using namespace lines;

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
    if (!platform::isFile(path))
        return {};
    // One swapped for a pipe or a device since the look is never waited on.
    const platform::FileRead file = platform::readFile(path, kConfigFileLimit);
    switch (file.outcome) {
    case platform::FileRead::Outcome::Read:
        return {true, file.bytes, configProblem(file.bytes)};
    case platform::FileRead::Outcome::TooLarge:
        return {true, {}, ConfigProblem::TooLarge};
    case platform::FileRead::Outcome::Unreadable:
        break;
    }
    return {true, {}, ConfigProblem::Unreadable};
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

} // namespace emulator
