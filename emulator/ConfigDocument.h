#pragma once

#include "emulator/HashIndex.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QVarLengthArray>
#include <functional>
#include <initializer_list>
#include <optional>
#include <vector>

namespace emulator {

// The emulator's configuration file, Config/Supermodel.ini, read once as the
// emulator reads it (lines::lineAt has the rules) and edited in place:
// bytes() keeps every byte no edit touched. For one section, the last line
// of a name in file order wins, across every block that names the section.
//
// The file's lines are kept as offsets into it; a changed line's text and
// added lines go into one buffer of the document's, so a file of a million
// settings costs a few bytes a line and an edit its own text. Names are
// indexed at the first query, which the merge never asks.
class ConfigDocument final {
public:
    // The name queries and edits give the global section.
    static constexpr char kGlobal[] = "Global";

    // A line of the file as read, numbered from 0 in file order, as
    // lines::forEachLine meets them.
    using LineNumber = quint32;

    ConfigDocument() : ConfigDocument(QByteArray()) {}
    // Files of up to 2 GiB.
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

    // Every section the file names, each once, in file order (a header's
    // own sorted); the global one first when a global block holds a
    // setting or has a header.
    QList<QByteArray> sections() const;

    // One setting line as it stands: the names of its block, sorted (kGlobal
    // for the global one), the header that opened it (empty before any), its
    // name, its value as the emulator reads it and as written, and the whole
    // line without its end. The views last until the next edit.
    struct Setting {
        QList<QByteArray> sections;
        QByteArrayView header, name, value, raw, line;
    };
    // Calls `visit` for every setting line, in file order, repeated names
    // included.
    void forEachSetting(const std::function<void(const Setting&)>& visit) const;

    // How set() writes what the file cannot take in place: `line`, the line
    // to add (by default "Name = value", quoted as the file's last global
    // setting is); `raw`, the value as its source wrote it, for a value only
    // quotes can hold; `header`, the header of a section the file lacks (by
    // default "[ name ]").
    struct Form {
        QByteArrayView line;
        QByteArrayView raw;
        QByteArrayView header;
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

    // Edits by line, for the merge, which finds its lines itself: a setting
    // line of the file as read takes a value in place as set() would give it,
    // or goes; add() puts a line for a name that the blocks naming exactly
    // `section` lack where set() would put a new one.
    void setLine(LineNumber line, QByteArrayView value, const Form& form);
    void removeLine(LineNumber line);
    void add(QByteArrayView section, QByteArrayView name, QByteArrayView value, const Form& form);
    // Room for this many more bytes of changed and added lines.
    void reserve(qsizetype size);
    // The line of the file as read that begins at byte `offset`.
    LineNumber lineBeginningAt(qsizetype offset) const;

private:
    // A line: its number in the file as read, or kAdded with where an added
    // line's text begins in m_added.
    using Ref = quint32;
    static constexpr Ref kAdded = 0x80000000u;
    static constexpr quint32 kNone = HashIndex::kNone;

    // Lines added one after another, kept whole in m_added: they follow the
    // file's line `anchor - 1` (anchor 0: the top of the file), after the
    // runs there of lower rank, and belong to one block.
    struct Run {
        quint32 anchor;
        quint32 begin, end;
        quint32 block;
        quint32 next; // the run after it at its anchor
        quint64 rank;
    };
    struct Block {
        Ref header;       // kNone: the lines before any header
        Ref lastFilled;   // its last non-blank line, its header at first
        quint32 previous; // the block before it naming the same sections
    };
    // The blocks that name one set of sections.
    struct Sections {
        quint32 last;
        quint32 first; // the first one new lines go to; kUnknown until asked
    };
    // Where a line stands in file order.
    struct Place {
        quint32 anchor;
        quint64 rank;
        quint32 offset;
        auto operator<=>(const Place&) const = default;
    };
    // The setting lines of one name, the last one indexed first.
    struct Named {
        Ref line;
        quint32 previous;
    };

    quint32 lineCount() const { return quint32(m_begin.size() - 1); }
    bool quotes() const;
    QByteArrayView text(Ref line) const;
    QByteArrayView firstText(Ref line) const;
    bool textIsAdded(Ref line) const;
    quint32 runOf(Ref line) const;
    quint32 blockOf(Ref line) const;
    QByteArrayView headerText(quint32 block) const;
    Place placeOf(Ref line) const;
    Place blockPlace(quint32 block) const;
    bool only(quint32 block, QByteArrayView section) const;
    template <typename Visit> void walk(Visit visit) const;

    quint32 namedLines(QByteArrayView name) const;
    void index(Ref line, QByteArrayView name) const;
    Ref winner(QByteArrayView section, QByteArrayView name) const;
    quint32 sectionsId(QByteArrayView section) const;
    quint32 firstBlockAfter(QByteArrayView section, const std::optional<Place>& after);
    void addBlock(quint32 block, const QVarLengthArray<QByteArrayView, 4>& sections);

    using Pieces = std::initializer_list<QByteArrayView>;
    void append(Pieces pieces);
    Ref insert(quint32 anchor, quint32 previous, Pieces text, quint32 block);
    Ref insertAfter(Ref line, Pieces text, quint32 block);
    void keep(Ref line, qsizetype begin);
    void remove(Ref line);
    void appendLine(QByteArray& to, QByteArrayView name, QByteArrayView value,
                    const Form& form) const;
    void setInPlace(Ref line, QByteArrayView value, const Form& form);
    void place(QByteArrayView section, Ref won, QByteArrayView name, QByteArrayView value,
               const Form& form);

    QByteArray m_bytes;
    std::vector<quint32> m_begin;       // each line's first byte, then the file's size
    std::vector<quint32> m_headerLines; // the file's header lines, in order
    std::vector<quint32> m_changed;     // per line, once one changed: where its text now is
    QHash<Ref, quint64> m_changedAdded; // the same for added lines, with its size
    QByteArray m_added;                 // added lines and changed texts
    std::vector<Run> m_runs;            // in the order they began in m_added
    std::vector<quint32> m_firstRun;    // per anchor, once a line was added
    quint32 m_lastRun = kNone;          // the last of all, at the end of the file
    std::vector<Block> m_blocks;
    std::vector<Sections> m_sections;
    HashIndex m_sectionIndex;
    // What was asked last, and found: the merge asks in a row about
    // lines in file order and about one section.
    mutable struct {
        LineNumber line = 0;
        QByteArray section;
        std::size_t blocks = 0; // while no block is added
        quint32 first = kNone;
    } m_lastAsked;
    bool m_anyHeader = false;
    QByteArrayView m_lineEnd;
    QByteArray m_scratch;

    mutable std::optional<bool> m_quotes;
    mutable bool m_indexed = false;
    mutable HashIndex m_names;
    mutable std::vector<quint32> m_lastNamed; // per name, its last Named
    mutable std::vector<Named> m_named;
};

} // namespace emulator
