#pragma once

// An emulator game-definitions file for the built-in table's sixteen sets,
// each reading the input types `typesOf` gives it: what the catalogue reads
// when a test wants the selected game's inputs known.

#include "catalogue/GameTable.h"

#include <QByteArray>
#include <QStringList>
#include <functional>

inline QByteArray builtInDefinitions(const std::function<QStringList(int row)>& typesOf) {
    QByteArray xml = "<games>\n";
    for (int row = 0; row < catalogue::kGameCount; ++row) {
        const QStringList record = catalogue::gameRecord(row);
        xml += "<game name=\"" + record[catalogue::RomSet].toUtf8() + "\"><identity><title>" +
               record[catalogue::Title].toHtmlEscaped().toUtf8() +
               "</title><version>World</version></identity><hardware><inputs>";
        for (const QString& type : typesOf(row))
            xml += "<input type=\"" + type.toUtf8() + "\"/>";
        xml += "</inputs></hardware><roms><region name=\"crom\"><file offset=\"0\" name=\"" +
               record[catalogue::RomSet].toUtf8() +
               ".20\" crc32=\"0x11111111\"/></region></roms></game>\n";
    }
    return xml + "</games>\n";
}
