#pragma once

#include "emulator/EmulatorSettings.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace emulator {

class ConfigDocument;

// Where the value a start uses comes from, weakest first.
enum class SettingSource { BuiltIn, AllGames, ThisGame, Window };

// The window's options as the next start passes them: ticked boxes only
// (a grey box counts as unticked), the resolution boxes always.
struct WindowOptions {
    bool showFps = false;
    bool fullScreen = false;
    bool noThrottle = false;
    bool ppcFrequency = false;
    QString ppcMHz;
    QString width;
    QString height;
};

struct ResolvedSetting {
    QByteArray value;
    SettingSource source = SettingSource::BuiltIn;
};

// The value `set` gets for `setting` at its next start from the front-end:
// the command line's option when the window passes one, else the set's own
// section, else [ Global ], else the built-in value. An empty set resolves
// for all games.
ResolvedSetting resolveSetting(const EmulatorSetting& setting, const ConfigDocument& document,
                               const QByteArray& set, const WindowOptions& window);

} // namespace emulator
