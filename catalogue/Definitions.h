#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace catalogue {

// The emulator's game definitions ("Config/Games.xml"): which ROM sets it
// knows, what they are called and which files make each of them.

struct RomFile {
    QString name;      // as the definitions give it
    quint32 crc32 = 0; // valid when hasCrc
    bool hasCrc = false;
    quint64 offset = 0; // within its region
};

struct RomRegion {
    QString name;
    bool required = true; // regions marked required="false" never count
    QList<RomFile> files;
};

struct GameSet {
    QString name; // the ROM set, e.g. "vf3a"
    QString parentName;
    int parent = -1; // index of the parent set, or -1
    QString title;
    QString version;
    QString manufacturer;
    QString year;
    QStringList inputTypes; // "common", "fighting", ...
    QList<RomRegion> regions;
};

struct Definitions {
    QList<GameSet> sets; // in the file's order

    // Index of the set of that name, or -1, from the index that index()
    // made of the sets (parseDefinitions makes it).
    int indexOf(const QString& setName) const;
    void index();

private:
    QHash<QString, int> m_byName;
};

// The largest definitions file read; a larger one is not used.
inline constexpr qint64 kDefinitionsLimit = qint64(16) << 20;

// Parses the definitions. Nothing when the XML is malformed or no set is
// left; a set without a
// name or a title, or whose parent the file does not define, is left out,
// and of sets sharing a name the first counts. A parent that is itself a
// clone counts as none.
std::optional<Definitions> parseDefinitions(const QByteArray& xml);

// The definitions of a file, or why they could not be used (a line for the
// user: unreadable, larger than the limit, malformed).
struct DefinitionsRead {
    std::optional<Definitions> definitions;
    QString problem;
    size_t digest = 0; // of the bytes read: the same file read again has the same
};
DefinitionsRead readDefinitions(const QString& path);

} // namespace catalogue
