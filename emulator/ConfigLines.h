#pragma once

#include "emulator/HashIndex.h"

#include <QByteArrayView>
#include <QVarLengthArray>
#include <algorithm>
#include <cstring>

// The lines of the emulator's configuration file, Config/Supermodel.ini, as
// the emulator reads them, by byte offsets into the text: the one scanner the
// configuration document and the merge share. Nothing here copies a line.
//
// The emulator's rules: one "Name = value" a line, blanks (CR included)
// around name and value dropped, a line without "=" or with an empty name
// ignored; ";" outside double quotes starts a comment; a trimmed,
// comment-stripped line that starts with "[" and ends with "]" is a header
// whose comma-separated names (trimmed each) it opens a block for, an empty
// name or exactly "Global" meaning the global section ("[ Global, scud ]"
// names both); lines before the first header are global; names are
// case-sensitive; a value whose first and last characters are quotes loses
// them. Only LF ends a line, so a file with CR alone between its lines is
// one line.
namespace emulator::lines {

// The name of the global section.
inline constexpr char kGlobal[] = "Global";

// One line: [begin, end) is its text, `next` where the line after it begins
// (its line end lies between).
struct Line {
    qsizetype begin = 0, end = 0, next = 0;
    bool header = false;                    // "[ ... ]"
    bool setting = false;                   // "Name = value"
    qsizetype nameBegin = 0, nameEnd = 0;   // a setting's name; a header's text between brackets
    qsizetype valueBegin = 0, valueEnd = 0; // quotes included
};

inline bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

inline void trim(const char* data, qsizetype& begin, qsizetype& end) {
    while (begin < end && isBlank(data[begin]))
        ++begin;
    while (end > begin && isBlank(data[end - 1]))
        --end;
}

inline QByteArrayView trimmed(QByteArrayView text) {
    qsizetype begin = 0, end = text.size();
    trim(text.data(), begin, end);
    return text.sliced(begin, end - begin);
}

// The line that begins at `at`, parsed.
inline Line lineAt(QByteArrayView text, qsizetype at) {
    const char* data = text.data();
    Line line;
    line.begin = at;
    const void* feed = std::memchr(data + at, '\n', std::size_t(text.size() - at));
    if (!feed) {
        line.end = line.next = text.size();
    } else {
        const qsizetype f = static_cast<const char*>(feed) - data;
        line.end = f > at && data[f - 1] == '\r' ? f - 1 : f;
        line.next = f + 1;
    }
    // One pass: where the comment begins, and the first "=" before it.
    qsizetype end = line.end;
    qsizetype equals = -1;
    bool quoted = false;
    for (qsizetype i = at; i < line.end; ++i) {
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
    qsizetype begin = at;
    trim(data, begin, end);
    if (begin == end)
        return line;
    if (data[begin] == '[' && data[end - 1] == ']') {
        line.header = true;
        line.nameBegin = begin + 1;
        line.nameEnd = end - 1;
        return line;
    }
    if (equals < 0)
        return line;
    line.nameBegin = begin;
    line.nameEnd = equals;
    trim(data, line.nameBegin, line.nameEnd);
    if (line.nameBegin == line.nameEnd)
        return line;
    line.setting = true;
    line.valueBegin = equals + 1;
    line.valueEnd = end;
    trim(data, line.valueBegin, line.valueEnd);
    return line;
}

// Calls `visit(line)` for each line in order. Nothing is kept per line, so
// memory stays flat whatever the file holds.
template <typename Visit> void forEachLine(QByteArrayView text, Visit visit) {
    for (qsizetype at = 0; at < text.size();) {
        const Line line = lineAt(text, at);
        visit(line);
        at = line.next;
    }
}

inline QByteArrayView nameOf(QByteArrayView text, const Line& line) {
    return text.sliced(line.nameBegin, line.nameEnd - line.nameBegin);
}

inline QByteArrayView rawValueOf(QByteArrayView text, const Line& line) {
    return text.sliced(line.valueBegin, line.valueEnd - line.valueBegin);
}

inline bool isBlankLine(QByteArrayView text, const Line& line) {
    return std::all_of(text.data() + line.begin, text.data() + line.end, isBlank);
}

inline bool quoted(QByteArrayView raw) {
    return raw.size() >= 2 && raw.front() == '"' && raw.back() == '"';
}

inline QByteArrayView unquoted(QByteArrayView raw) {
    return quoted(raw) ? raw.sliced(1, raw.size() - 2) : raw;
}

// The line end the file uses: that of its first line, LF without one.
inline QByteArrayView lineEndOf(QByteArrayView text) {
    const qsizetype feed = text.indexOf('\n');
    return feed > 0 && text[feed - 1] == '\r' ? QByteArrayView("\r\n") : QByteArrayView("\n");
}

// The sections a header's text names, each once, sorted: views into the
// text, kGlobal for the global one.
using Sections = QVarLengthArray<QByteArrayView, 4>;

inline Sections sectionsOf(QByteArrayView names) {
    Sections sections;
    for (qsizetype at = 0;;) {
        const qsizetype comma = names.indexOf(',', at);
        const QByteArrayView name =
            trimmed(names.sliced(at, (comma < 0 ? names.size() : comma) - at));
        sections.append(name.isEmpty() || name == kGlobal ? QByteArrayView(kGlobal) : name);
        if (comma < 0)
            break;
        at = comma + 1;
    }
    std::sort(sections.begin(), sections.end());
    sections.erase(std::unique(sections.begin(), sections.end()), sections.end());
    return sections;
}

inline size_t hashOf(const Sections& sections) {
    size_t hash = 0;
    for (const QByteArrayView section : sections)
        hash = hash * 31 + HashIndex::hashOf(section);
    return hash;
}

inline bool isGlobal(const Sections& sections) {
    return sections.size() == 1 && sections.front() == kGlobal;
}

inline bool names(const Sections& sections, QByteArrayView section) {
    return std::binary_search(sections.begin(), sections.end(), section);
}

} // namespace emulator::lines
