#include "emulator/LauncherRewrite.h"

#include "emulator/ConfigLines.h"
#include "emulator/EmulatorSettings.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>

namespace emulator {

namespace {

using namespace lines;

bool hasComment(QByteArrayView text, const Line& line) {
    bool quoted = false;
    for (qsizetype i = line.begin; i < line.end; ++i) {
        if (text[i] == '"')
            quoted = !quoted;
        else if (text[i] == ';' && !quoted)
            return true;
    }
    return false;
}

// What the launcher drops: a section besides the global one, a comment.
bool holdsMoreThanGlobals(QByteArrayView text) {
    for (qsizetype at = 0; at < text.size();) {
        const Line line = lineAt(text, at);
        if (hasComment(text, line) || (line.header && !isGlobal(sectionsOf(nameOf(text, line)))))
            return true;
        at = line.next;
    }
    return false;
}

// Rows the launcher leaves out unless the file names them.
bool writtenOnlyWhenNamed(std::string_view name) {
    return name == "ForceFeedbackStrength" ||
           (name.starts_with("InputJoy") &&
            (name.ends_with("DeadZone") || name.ends_with("Saturation")));
}

std::string_view viewOf(QByteArrayView bytes) {
    return {bytes.data(), std::size_t(bytes.size())};
}

} // namespace

bool rewrittenByLauncher(QByteArrayView base, QByteArrayView player) {
    if (!holdsMoreThanGlobals(base) || holdsMoreThanGlobals(player))
        return false;
    std::unordered_set<std::string_view> named;
    bool opened = false;
    for (qsizetype at = 0; at < player.size();) {
        const Line line = lineAt(player, at);
        at = line.next;
        if (!opened) {
            if (isBlankLine(player, line))
                continue;
            if (!line.header || trimmed(nameOf(player, line)) != kGlobal)
                return false;
            opened = true;
        }
        if (line.setting)
            named.insert(viewOf(nameOf(player, line)));
    }
    const auto settings = emulatorSettings();
    return opened && std::all_of(settings.begin(), settings.end(), [&](const EmulatorSetting& row) {
               return row.builtIn.empty() || writtenOnlyWhenNamed(row.name) ||
                      named.contains(row.name);
           });
}

} // namespace emulator
