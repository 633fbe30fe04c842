#pragma once

#include "emulator/EmulatorSettings.h"

#include <QByteArray>
#include <QList>
#include <optional>

namespace emulator {

class ConfigDocument;

// One change of a setting made on the settings face, kept until Save plays
// it onto the file as it is then: for all games (no sets) or for each of a
// game's sets, a new value, or, for a game, the game's own lines taken out
// so that the value for all games holds again.
struct SettingEdit {
    QByteArray name;
    QList<QByteArray> sets;          // empty: [ Global ]
    std::optional<QByteArray> value; // nothing: put back to the value for all games
};

// How `value` is written for `setting` where the file's line now says
// `current` (nothing: a new line): on/off keeps the word family and case a
// line had ("True" -> "False"), and is written 1/0 otherwise.
QByteArray spelledValue(const EmulatorSetting& setting, const QByteArray& value,
                        const std::optional<QByteArray>& current);

// Plays `edit` onto `document` in place (ConfigDocument::set and remove: a
// set's line goes where it wins, a shared header is never split); new lines
// unquoted, text in quotes. Returns the sets whose shared header ("[ a, b ]")
// still set the name after their own lines went, and so got the value for
// all games written into a block of their own.
QList<QByteArray> applySettingEdit(ConfigDocument& document, const SettingEdit& edit);

} // namespace emulator
