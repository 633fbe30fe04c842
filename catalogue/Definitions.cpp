#include "catalogue/Definitions.h"

#include "platform/Files.h"

#include <QHash>
#include <QSet>
#include <QXmlStreamReader>

namespace catalogue {

namespace {

using Xml = QXmlStreamReader;

QString attribute(const Xml& xml, const char* name) {
    return xml.attributes().value(QLatin1String(name)).toString().trimmed();
}

// Numbers as the definitions write them: decimal or "0x" hexadecimal.
std::optional<quint64> number(const QString& text) {
    bool ok = false;
    const quint64 value = text.toULongLong(&ok, 0);
    return ok ? std::optional<quint64>(value) : std::nullopt;
}

RomFile readFile(const Xml& xml) {
    RomFile file;
    file.name = attribute(xml, "name");
    file.offset = number(attribute(xml, "offset")).value_or(0);
    if (const auto crc = number(attribute(xml, "crc32")); crc && *crc <= 0xFFFFFFFFu) {
        file.crc32 = quint32(*crc);
        file.hasCrc = true;
    }
    return file;
}

void readRoms(Xml& xml, GameSet& set) {
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
        set.regions.append(region);
    }
}

void readIdentity(Xml& xml, GameSet& set) {
    while (xml.readNextStartElement()) {
        const auto name = xml.name();
        QString* field = name == QLatin1String("title")          ? &set.title
                         : name == QLatin1String("version")      ? &set.version
                         : name == QLatin1String("manufacturer") ? &set.manufacturer
                         : name == QLatin1String("year")         ? &set.year
                                                                 : nullptr;
        if (field)
            *field = xml.readElementText(Xml::SkipChildElements).simplified();
        else
            xml.skipCurrentElement();
    }
}

void readHardware(Xml& xml, GameSet& set) {
    while (xml.readNextStartElement()) {
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

GameSet readGame(Xml& xml) {
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

// Resolves each clone's parent once, after every set is known.
Definitions linkParents(QList<GameSet> read) {
    QSet<QString> seen;
    Definitions defs;
    for (GameSet& set : read) {
        if (set.name.isEmpty() || set.title.isEmpty() || seen.contains(set.name))
            continue;
        seen.insert(set.name);
        defs.sets.append(std::move(set));
    }
    // A clone of nothing the emulator could load goes, and then so does a
    // clone of that clone.
    for (bool dropped = true; dropped;) {
        QSet<QString> names;
        for (const GameSet& set : defs.sets)
            names.insert(set.name);
        const qsizetype before = defs.sets.size();
        defs.sets.removeIf([&names](const GameSet& set) {
            return !set.parentName.isEmpty() && !names.contains(set.parentName);
        });
        dropped = defs.sets.size() != before;
    }
    for (GameSet& set : defs.sets) {
        if (set.parentName.isEmpty())
            continue;
        const int parent = defs.indexOf(set.parentName);
        // The emulator never follows a parent's own parent.
        set.parent = defs.sets[parent].parentName.isEmpty() ? parent : -1;
    }
    return defs;
}

} // namespace

int Definitions::indexOf(const QString& setName) const {
    for (int i = 0; i < sets.size(); ++i) {
        if (sets[i].name == setName)
            return i;
    }
    return -1;
}

std::optional<Definitions> parseDefinitions(const QByteArray& bytes) {
    Xml xml(bytes);
    QList<GameSet> read;
    if (xml.readNextStartElement() && xml.name() == QLatin1String("games")) {
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("game"))
                read.append(readGame(xml));
            else
                xml.skipCurrentElement();
        }
    }
    if (xml.hasError() || read.isEmpty())
        return std::nullopt;
    Definitions definitions = linkParents(std::move(read));
    if (definitions.sets.isEmpty())
        return std::nullopt; // nothing the emulator could load
    return definitions;
}

DefinitionsRead readDefinitions(const QString& path) {
    const platform::FileRead file = platform::readFile(path, kDefinitionsLimit);
    if (file.outcome == platform::FileRead::Outcome::Unreadable)
        return {std::nullopt, QStringLiteral("%1 cannot be read.").arg(path)};
    if (file.outcome == platform::FileRead::Outcome::TooLarge)
        return {std::nullopt, QStringLiteral("%1 is larger than 16 MiB.").arg(path)};
    auto definitions = parseDefinitions(file.bytes);
    if (!definitions)
        return {
            std::nullopt,
            QStringLiteral("%1 is not a game definitions file the front-end can read.").arg(path)};
    return {std::move(definitions), QString()};
}

} // namespace catalogue
