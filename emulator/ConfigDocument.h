#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <optional>
#include <vector>

namespace emulator {

// The emulator's configuration file, Config/Supermodel.ini, read once into
// lines with their sections, names, values and byte spans, exactly as the
// emulator reads it, and edited in place: bytes() keeps every byte no edit
// touched.
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
// one line. For one section, the last line of a name in file order wins,
// across every block that names the section.
class ConfigDocument final {
public:
    // The name queries and edits give the global section.
    static constexpr char kGlobal[] = "Global";

    ConfigDocument() = default;
    explicit ConfigDocument(QByteArray bytes);

    // The file as it is now.
    QByteArray bytes() const;

    // The value (quotes removed) that `section` gets for `name` from the
    // file: the last line of that name in a block naming the section.
    std::optional<QByteArray> value(QByteArrayView section, QByteArrayView name) const;

    // The value a started set gets from the file: its own section's over
    // the global one. The built-in value is the caller's.
    std::optional<QByteArray> valueFor(QByteArrayView set, QByteArrayView name) const;

    // Whether the line `section` gets `name` from stands in a block that
    // names other sections too ("[ a, b ]").
    bool sharedLine(QByteArrayView section, QByteArrayView name) const;

    // Every section the file names, each once, in file order; the global
    // one first when a global block holds a setting or has a header.
    QList<QByteArray> sections() const;

    // One setting line as it stands: the names of its block (kGlobal for
    // the global one), the header that opened it (empty before any), its
    // name, its value as the emulator reads it and as written, and the whole
    // line without its end.
    struct Setting {
        QList<QByteArray> sections;
        QByteArray header;
        QByteArray name;
        QByteArray value;
        QByteArray raw;
        QByteArray line;
    };
    // Every setting line, in file order, repeated names included.
    QList<Setting> settings() const;

    // How set() writes what the file cannot take in place: `line`, the line
    // to add (by default "Name = value", quoted as the file's last global
    // setting is); `raw`, the value as its source wrote it, for a value only
    // quotes can hold; `header`, the header of a section the file lacks (by
    // default "[ name ]").
    struct Form {
        QByteArray line;
        QByteArray raw;
        QByteArray header;
    };

    // Sets `name` for `section`: a set, kGlobal, or several names ("a, b")
    // for the blocks that name exactly those. The line the section gets the
    // name from takes the value in place, keeping its form (quotes, blanks,
    // comment, line end), when its block names that section alone.
    // Otherwise a line is added where it wins: after the last non-blank line
    // of the section's first block of its own (the first one after a shared
    // block's line), else in a new block at the end of the file; a new
    // global block goes at the top of a file with headers, a file without
    // any takes the line at its end.
    void set(QByteArrayView section, QByteArrayView name, QByteArrayView value,
             const Form& form = {});

    // Removes every line of `name` in the blocks that name exactly
    // `section`; a shared block's lines stay (sharedLine tells).
    void remove(QByteArrayView section, QByteArrayView name);

    // Renames the sources of the earlier vocabulary that the emulator
    // refuses ("MouseLeft", "ScorollLock", ...) in every global input line.
    void renameEarlierSources();

private:
    struct Line {
        qint32 begin = 0, end = 0, next = 0; // in the line's text: [begin, end) then its end
        qint32 nameBegin = 0, nameEnd = 0;
        qint32 valueBegin = 0, valueEnd = 0; // quotes included
        qint32 block = 0;
        qint32 text = -1;       // m_texts index of a line written here, else m_bytes
        qint32 following = -1;  // the next line in file order
        qint32 sameName = -1;   // an earlier-made line of the same name
        quint64 order = 0;      // grows in file order
        bool setting = false;
        bool header = false;
        bool removed = false;
    };
    struct Block {
        QList<QByteArray> names; // kGlobal for the global section
        qint32 header = -1;      // its header line; -1: the lines before any
        qint32 lastFilled = -1;  // its last non-blank line, its header at first
    };

    void parseLine(qint32 index);
    const char* data(const Line& line) const;
    QByteArrayView nameOf(const Line& line) const;
    QByteArrayView rawOf(const Line& line) const;
    QByteArray lineText(const Line& line) const;
    quint64 blockOrder(const Block& block) const;
    bool only(const Block& block, const QList<QByteArray>& sections) const;
    qint32 winner(const QList<QByteArray>& sections, QByteArrayView name) const;
    qint32 insertAfter(qint32 after, QByteArray text, qint32 block);
    void replaceText(qint32 index, QByteArray text);
    void renumber();
    QByteArray lineEnd() const;
    QByteArray newLine(QByteArrayView name, QByteArrayView value, const Form& form) const;
    void setInPlace(qint32 index, QByteArrayView value, const Form& form);

    // The setting lines by name: an open-addressing table of each name's
    // last-made line, chained through Line::sameName. A file of a million
    // short settings needs no allocation per name.
    qint32 lastOfName(QByteArrayView name) const;
    void index(qint32 line);
    void grow();

    QByteArray m_bytes;
    std::vector<Line> m_lines;
    std::vector<Block> m_blocks;
    std::vector<QByteArray> m_texts;
    std::vector<qint32> m_names;
    qsizetype m_named = 0;
    qint32 m_first = -1;
    bool m_anyHeader = false;
    bool m_quotes = true; // the file's last global setting was quoted
    QByteArray m_lineEnd;
};

} // namespace emulator
