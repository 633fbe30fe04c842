#pragma once

#include <QByteArray>
#include <cstring>
#include <string_view>

// The lines of an emulator configuration file as the emulator reads them, by
// byte offsets into the file's bytes: what the file reader, its editors and
// the merge share. Nothing here copies a line.
namespace emulator::lines {

// One line of the file: [begin, end) is its text, `next` where the line
// after it begins (its line end lies between).
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

inline bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

inline void trim(const QByteArray& bytes, qsizetype& begin, qsizetype& end) {
    const char* data = bytes.constData();
    while (begin < end && isBlank(data[begin]))
        ++begin;
    while (end > begin && isBlank(data[end - 1]))
        --end;
}

// The first `c` in [begin, end), or -1: never looks past the line.
inline qsizetype findIn(const QByteArray& bytes, char c, qsizetype begin, qsizetype end) {
    const void* found = std::memchr(bytes.constData() + begin, c, std::size_t(end - begin));
    return found ? static_cast<const char*>(found) - bytes.constData() : -1;
}

inline void parseLine(const QByteArray& bytes, Line& line) {
    // One pass: where the comment begins (the first ";" outside double
    // quotes), and the first "=" before it.
    const char* data = bytes.constData();
    qsizetype end = line.end;
    qsizetype equals = -1;
    bool quoted = false;
    for (qsizetype i = line.begin; i < line.end; ++i) {
        const char c = data[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (c == ';' && !quoted) {
            end = i;
            break;
        } else if (c == '=' && equals < 0) {
            equals = i;
        }
    }
    qsizetype begin = line.begin;
    trim(bytes, begin, end);
    if (begin == end)
        return;
    if (data[begin] == '[') {
        line.header = true;
        qsizetype nameBegin = begin + 1;
        qsizetype nameEnd = findIn(bytes, ']', nameBegin, end);
        if (nameEnd < 0)
            nameEnd = end;
        trim(bytes, nameBegin, nameEnd);
        line.sectionBegin = nameBegin;
        line.sectionEnd = nameEnd;
        const std::string_view name(data + nameBegin, std::size_t(nameEnd - nameBegin));
        line.opensGlobal = name.empty() || name == "Global";
        line.nameBegin = nameBegin;
        line.nameEnd = nameEnd;
        return;
    }
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

// The line that begins at `at`, parsed.
inline Line lineAt(const QByteArray& bytes, qsizetype at) {
    Line line;
    line.begin = at;
    const qsizetype feed = findIn(bytes, '\n', at, bytes.size());
    if (feed < 0) {
        line.end = line.next = bytes.size();
    } else {
        line.end = feed > at && bytes[feed - 1] == '\r' ? feed - 1 : feed;
        line.next = feed + 1;
    }
    parseLine(bytes, line);
    return line;
}

// Calls `visit` for each line in order, with its section known. Nothing is
// kept per line, so memory stays flat whatever the file holds.
template <typename Visit> void forEachLine(const QByteArray& bytes, Visit visit) {
    bool global = true;
    qsizetype at = 0;
    while (at < bytes.size()) {
        Line line = lineAt(bytes, at);
        if (line.header)
            global = line.opensGlobal;
        line.global = global;
        visit(line);
        at = line.next;
    }
}

inline bool isBlankLine(const QByteArray& bytes, const Line& line) {
    for (qsizetype i = line.begin; i < line.end; ++i) {
        if (!isBlank(bytes[i]))
            return false;
    }
    return true;
}

// Views into `bytes`, never copies: they live only while the file does.
inline QByteArray name(const QByteArray& bytes, const Line& line) {
    return QByteArray::fromRawData(bytes.constData() + line.nameBegin,
                                   line.nameEnd - line.nameBegin);
}

inline QByteArray rawValue(const QByteArray& bytes, const Line& line) {
    return QByteArray::fromRawData(bytes.constData() + line.valueBegin,
                                   line.valueEnd - line.valueBegin);
}

inline bool quoted(const QByteArray& raw) {
    return raw.size() >= 2 && raw.startsWith('"') && raw.endsWith('"');
}

inline QByteArray unquoted(const QByteArray& raw) {
    return quoted(raw) ? raw.sliced(1, raw.size() - 2) : raw;
}

// The line end the file uses: that of its first line, LF without one.
inline QByteArray lineEndOf(const QByteArray& bytes) {
    const qsizetype feed = bytes.indexOf('\n');
    return feed > 0 && bytes[feed - 1] == '\r' ? QByteArrayLiteral("\r\n")
                                               : QByteArrayLiteral("\n");
}

} // namespace emulator::lines
