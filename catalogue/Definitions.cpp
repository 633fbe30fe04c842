#include "catalogue/Definitions.h"

#include "catalogue/PlainXml.h"
#include "platform/Files.h"

#include <QHash>
#include <QXmlStreamReader>

namespace catalogue {

namespace {

// The definitions are read by one walk over either reader: the quick one of
// plain XML, and the general one for whatever the quick one leaves to it.
QString attribute(const QXmlStreamReader& xml, const char* name) {
    return xml.attributes().value(QLatin1String(name)).toString().trimmed();
}

QString attribute(const PlainXml& xml, const char* name) {
    return xml.attribute(QLatin1StringView(name)).trimmed();
}

QString elementText(QXmlStreamReader& xml) {
    return xml.readElementText(QXmlStreamReader::SkipChildElements);
}

QString elementText(PlainXml& xml) {
    return xml.readElementText();
}

// Numbers as the definitions write them: decimal or "0x" hexadecimal.
std::optional<quint64> number(const QString& text) {
    bool ok = false;
    const quint64 value = text.toULongLong(&ok, 0);
    return ok ? std::optional<quint64>(value) : std::nullopt;
}

template <typename Xml> RomFile readFile(const Xml& xml) {
    RomFile file;
    file.name = attribute(xml, "name");
    file.offset = number(attribute(xml, "offset")).value_or(0);
    if (const auto crc = number(attribute(xml, "crc32")); crc && *crc <= 0xFFFFFFFFu) {
        file.crc32 = quint32(*crc);
        file.hasCrc = true;
    }
    return file;
}

template <typename Xml> void readRoms(Xml& xml, GameSet& set) {
    while (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("region")) {
            xml.skipCurrentElement();
            continue;
        }
        RomRegion region;
        region.name = attribute(xml, "name");
        region.required = attribute(xml, "required") != QLatin1String("false");
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("file"))
                region.files.append(readFile(xml));
            xml.skipCurrentElement();
        }
        set.regions.append(std::move(region));
    }
}

template <typename Xml> void readIdentity(Xml& xml, GameSet& set) {
    while (xml.readNextStartElement()) {
        const auto name = xml.name();
        QString* field = name == QLatin1String("title")          ? &set.title
                         : name == QLatin1String("version")      ? &set.version
                         : name == QLatin1String("manufacturer") ? &set.manufacturer
                         : name == QLatin1String("year")         ? &set.year
                                                                 : nullptr;
        if (field)
            *field = elementText(xml).simplified();
        else
            xml.skipCurrentElement();
    }
}

template <typename Xml> void readHardware(Xml& xml, GameSet& set) {
    while (xml.readNextStartElement()) {
        // The value counts, not the element: some sets carry it false.
        if (xml.name() == QLatin1String("netboard")) {
            set.netBoard = elementText(xml).trimmed() == QLatin1String("true");
            continue;
        }
        if (xml.name() != QLatin1String("inputs")) {
            xml.skipCurrentElement();
            continue;
        }
        while (xml.readNextStartElement()) {
            const QString type = attribute(xml, "type");
            if (xml.name() == QLatin1String("input") && !type.isEmpty() &&
                !set.inputTypes.contains(type))
                set.inputTypes.append(type);
            xml.skipCurrentElement();
        }
    }
}

template <typename Xml> GameSet readGame(Xml& xml) {
    GameSet set;
    set.name = attribute(xml, "name");
    set.parentName = attribute(xml, "parent");
    while (xml.readNextStartElement()) {
        const auto name = xml.name();
        if (name == QLatin1String("identity"))
            readIdentity(xml, set);
        else if (name == QLatin1String("hardware"))
            readHardware(xml, set);
        else if (name == QLatin1String("roms"))
            readRoms(xml, set);
        else
            xml.skipCurrentElement();
    }
    return set;
}

// The sets as the file has them, or nothing when the reader could not read
// it to the end of its root element.
template <typename Xml> std::optional<QList<GameSet>> readGames(Xml& xml) {
    QList<GameSet> read;
    if (xml.readNextStartElement() && xml.name() == QLatin1String("games")) {
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("game"))
                read.append(readGame(xml));
            else
                xml.skipCurrentElement();
        }
    }
    if (xml.hasError())
        return std::nullopt;
    return read;
}

// Resolves each clone's parent in one pass over the sets, after every set is
// known. A clone of nothing the emulator could load goes, and so does a clone
// of that clone, down the whole chain; a loop of parents never reaches a
// missing set, so it stays (each of its sets with no parent). The sets stay
// where they are unless some go.
Definitions linkParents(QList<GameSet> sets) {
    enum State : char { Unknown, OnPath, Kept, Dropped };
    QList<State> state(sets.size(), Unknown);
    QHash<QString, int> byName;
    byName.reserve(sets.size());
    for (int i = 0; i < sets.size(); ++i) {
        const GameSet& set = sets[i];
        if (set.name.isEmpty() || set.title.isEmpty()) {
            state[i] = Dropped;
            continue;
        }
        const qsizetype before = byName.size();
        int& index = byName[set.name];
        if (byName.size() == before)
            state[i] = Dropped; // the first of a name counts
        else
            index = i;
    }

    QList<int> path;
    for (int start = 0; start < sets.size(); ++start) {
        // Follow the parents until a set whose fate is known, a set without
        // a parent, a missing name, or a set already on this path (a loop).
        State fate = Kept;
        for (int at = start;;) {
            if (state[at] == Kept || state[at] == Dropped) {
                fate = state[at];
                break;
            }
            if (state[at] == OnPath)
                break;
            state[at] = OnPath;
            path.append(at);
            const QString& parent = sets[at].parentName;
            if (parent.isEmpty())
                break;
            const auto found = byName.constFind(parent);
            if (found == byName.constEnd()) {
                fate = Dropped;
                break;
            }
            at = *found;
        }
        for (int at : path)
            state[at] = fate;
        path.clear();
    }

    Definitions definitions;
    QList<int> newIndex(sets.size(), -1);
    int kept = 0;
    for (int i = 0; i < sets.size(); ++i) {
        if (state[i] != Kept)
            continue;
        if (kept != i)
            sets[kept] = std::move(sets[i]);
        newIndex[i] = kept++;
    }
    const bool allKept = kept == sets.size();
    sets.resize(kept);
    definitions.sets = std::move(sets);
    for (GameSet& set : definitions.sets) {
        if (set.parentName.isEmpty())
            continue;
        const int parent = newIndex[byName.value(set.parentName)];
        // The emulator never follows a parent's own parent.
        set.parent = definitions.sets[parent].parentName.isEmpty() ? parent : -1;
    }
    if (allKept)
        definitions.index(std::move(byName)); // each set where it was
    else
        definitions.index();
    return definitions;
}

} // namespace

void Definitions::index() {
    m_byName.clear();
    m_byName.reserve(sets.size());
    for (int i = 0; i < sets.size(); ++i)
        m_byName.insert(sets[i].name, i);
}

int Definitions::indexOf(const QString& setName) const {
    return m_byName.value(setName, -1);
}

std::optional<Definitions> parseDefinitions(const QByteArray& bytes, XmlReading reading) {
    std::optional<QList<GameSet>> read;
    if (reading == XmlReading::Quick) {
        PlainXml plain(bytes);
        read = readGames(plain);
    }
    if (!read) {
        QXmlStreamReader xml(bytes);
        read = readGames(xml);
    }
    if (!read || read->isEmpty())
        return std::nullopt;
    Definitions definitions = linkParents(std::move(*read));
    if (definitions.sets.isEmpty())
        return std::nullopt; // nothing the emulator could load
    return definitions;
}

DefinitionsRead readDefinitions(const QString& path, std::optional<size_t> unlessDigest) {
    const platform::FileRead file = platform::readFile(path, kDefinitionsLimit);
    if (file.outcome == platform::FileRead::Outcome::Unreadable)
        return {std::nullopt, QStringLiteral("%1 cannot be read.").arg(path)};
    if (file.outcome == platform::FileRead::Outcome::TooLarge)
        return {std::nullopt, QStringLiteral("%1 is larger than 16 MiB.").arg(path)};
    const size_t digest = qHash(file.bytes);
    if (digest == unlessDigest)
        return {std::nullopt, QString(), digest, true};
    auto definitions = parseDefinitions(file.bytes);
    if (!definitions)
        return {
            std::nullopt,
            QStringLiteral("%1 is not a game definitions file the front-end can read.").arg(path)};
    return {std::move(definitions), QString(), digest};
}

} // namespace catalogue
