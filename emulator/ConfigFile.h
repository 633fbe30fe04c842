#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace emulator {

// The emulator's configuration file, Config/Supermodel.ini, as bytes: read by
// the emulator's own rules and edited in place. The file is the emulator's
// whole configuration, the user's too: an edit changes only the values it is
// asked to change and leaves every other byte as it was.
//
// The rules: one "Name = value" a line; ";" starts a comment unless inside
// double quotes; blanks around name and value are dropped; "[ name ]" starts
// a section, "[ Global ]" or "[]" the global one, any other a game's; lines
// before the first section are global; names are case-sensitive; a value
// may be wrapped in one pair of double quotes, which are removed; the last
// of several lines with one name wins. Lines end with LF or CR LF.

// Files bigger than this, or holding a NUL byte, are not edited.
inline constexpr qsizetype kConfigFileLimit = 16 * 1024 * 1024;

enum class ConfigProblem { None, NulByte, TooLarge, Unreadable };

// Why a file cannot be edited, as a box says it ("it holds a NUL byte").
QString configProblemText(ConfigProblem problem);

// Whether the bytes can be edited safely.
ConfigProblem configProblem(const QByteArray& bytes);

// A setting of the global section: its value as the emulator reads it
// (quotes removed, decoded from UTF-8) and the index of the line that gives
// it (the last one with that name), counted from 0.
struct GlobalSetting {
    QString value;
    int line = -1;
};

// The global settings of the given exact names ("InputStart1") that the file
// has.
QHash<QString, GlobalSetting> globalSettings(const QByteArray& bytes, const QStringList& names);

// The input settings ("InputPunch") of the game sections, by set name: a
// section "[ a, b ]" gives its settings to both; the last line of a name in
// the sections of one set wins.
QHash<QString, QHash<QString, QString>> sectionInputs(const QByteArray& bytes);

// The file with each named global setting set to its new value: the last
// global line of that name gets the value in place, keeping its own form
// (quotes or none, blanks, trailing comment, line end); a name with no
// global line is added at the end of the first global section, or in a
// "[ Global ]" section at the top when the file has sections but no global
// one, in the file's own line-end style. Every other byte stays the same,
// except that sources in the earlier vocabulary the emulator refuses
// ("MouseLeft", "MouseRight", "MouseMiddle", "ScorollLock") are renamed in
// every global input line.
QByteArray editConfig(const QByteArray& bytes, const QHash<QString, QString>& settings);

// The name sectionSettings and the merge give the global section.
inline constexpr char kGlobalSection[] = "Global";

// A setting of any section, as the emulator reads it: its section (the
// header's name, kGlobalSection for "[ Global ]", "[]" and the lines before
// the first header) and the header line that opened it (empty before any),
// its name, its value with quotes removed, the value as written, and the
// whole line without its end.
struct SectionSetting {
    QByteArray section;
    QByteArray header;
    QByteArray name;
    QByteArray value;
    QByteArray raw;
    QByteArray line;
};

// Every setting of the file, in file order, repeated names included (the
// last of a section wins).
QList<SectionSetting> sectionSettings(const QByteArray& bytes);

// The content of a configuration file, read whole when it is within the
// limit (never more is read); `problem` says why it cannot be edited.
struct ConfigRead {
    bool exists = false;
    QByteArray bytes;
    ConfigProblem problem = ConfigProblem::None;
};
ConfigRead readConfigFile(const QString& path);

} // namespace emulator
