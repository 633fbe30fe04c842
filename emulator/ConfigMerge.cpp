#include "emulator/ConfigMerge.h"

#include "emulator/ConfigFile.h"

#include <QHash>
#include <QPair>

namespace emulator {

namespace {

using Key = QPair<QByteArray, QByteArray>; // section, name

// Each setting's last line (the one the emulator reads), and the keys in the
// order they first appear.
struct Settings {
    QHash<Key, SectionSetting> last;
    QList<Key> order;
};

Settings settingsOf(const QByteArray& bytes) {
    Settings settings;
    for (SectionSetting& setting : sectionSettings(bytes)) {
        const Key key{setting.section, setting.name};
        if (!settings.last.contains(key))
            settings.order.append(key);
        settings.last.insert(key, std::move(setting));
    }
    return settings;
}

std::optional<QByteArray> valueOf(const Settings& settings, const Key& key) {
    const auto found = settings.last.constFind(key);
    if (found == settings.last.cend())
        return std::nullopt;
    return found->value;
}

} // namespace

MergeResult mergeConfig(const QByteArray& base, const QByteArray& player,
                        const QByteArray& working) {
    const Settings was = settingsOf(base);
    const Settings now = settingsOf(player);
    const Settings here = settingsOf(working);

    // The player's settings in their order, then those the player removed.
    QList<Key> keys = now.order;
    for (const Key& key : was.order) {
        if (!now.last.contains(key))
            keys.append(key);
    }

    MergeResult result;
    QList<SectionEdit> edits;
    for (const Key& key : keys) {
        const auto before = valueOf(was, key);
        const auto after = valueOf(now, key);
        if (before == after)
            continue;
        const auto mine = valueOf(here, key);
        if (mine == after)
            continue; // the same change on both sides
        if (mine != before) {
            result.conflicts.append({key.first, key.second, after, mine});
            continue;
        }
        SectionEdit edit;
        edit.section = key.first;
        edit.name = key.second;
        edit.present = after.has_value();
        if (edit.present) {
            const SectionSetting& setting = now.last[key];
            edit.value = setting.value;
            edit.raw = setting.raw;
            edit.line = setting.line;
            edit.header =
                setting.header.isEmpty() ? QByteArray("[ ") + key.first + " ]" : setting.header;
        }
        edits.append(edit);
    }
    result.bytes = edits.isEmpty() ? working : editSections(working, edits);
    return result;
}

} // namespace emulator
