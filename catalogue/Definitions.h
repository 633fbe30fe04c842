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
    bool netBoard = false;  // can link with other cabinets of it
    QList<RomRegion> regions;
};

} // namespace catalogue

// Made of Qt's containers and strings, which move by their bytes: a list of
// 100,000 sets grows without moving each one.
Q_DECLARE_TYPEINFO(catalogue::RomFile, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(catalogue::RomRegion, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(catalogue::GameSet, Q_RELOCATABLE_TYPE);

namespace catalogue {

struct Definitions {
    QList<GameSet> sets; // in the file's order

    // Index of the set of that name, or -1, from the index that index()
    // made of the sets (parseDefinitions makes it).
    int indexOf(const QString& setName) const;
    void index();

    // Takes an index made of the sets as they are.
    void index(QHash<QString, int> byName) { m_byName = std::move(byName); }

private:
    QHash<QString, int> m_byName;
};

// The largest definitions file read; a larger one is not used.
inline constexpr qint64 kDefinitionsLimit = qint64(16) << 20;

// Parses the definitions. Nothing when the XML is malformed or no set is
// left; a set without a name or a title, or whose parent the file does not
// define (or a chain of parents that ends so), is left out, and of sets
// sharing a name the first counts. A parent that is itself a clone counts as
// none. The XML is read by a quick reader of the plain XML definitions files
// are written in, which leaves anything else to the general reader; or
// (tests compare the two) by the general reader alone.
enum class XmlReading { Quick, General };
std::optional<Definitions> parseDefinitions(const QByteArray& xml,
                                            XmlReading reading = XmlReading::Quick);

// The definitions of a file, or why they could not be used (a line for the
// user: unreadable, larger than the limit, malformed). When its bytes have
// `unlessDigest`, they are the definitions read before: not parsed again,
// and `unchanged` says so.
struct DefinitionsRead {
    std::optional<Definitions> definitions;
    QString problem;
    size_t digest = 0; // of the bytes read: the same file read again has the same
    bool unchanged = false;
};
DefinitionsRead readDefinitions(const QString& path,
                                std::optional<size_t> unlessDigest = std::nullopt);

} // namespace catalogue
