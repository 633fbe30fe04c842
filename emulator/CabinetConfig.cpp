#include "emulator/CabinetConfig.h"

#include "bindings/GameInputs.h"
#include "emulator/CabinetPads.h"
#include "emulator/ConfigDocument.h"

#include <QSet>

namespace emulator {

namespace {

constexpr QByteArrayView kRingNames[] = {"PortIn", "PortOut", "AddressOut", "Outputs"};
constexpr QByteArrayView kPadOne = "InputJoy1";

QByteArray inputName(const bindings::GameInput& input) {
    return "Input" + QByteArray(input.name.data(), qsizetype(input.name.size()));
}

// A setting of the numbered pad ("InputJoy1XDeadZone" for pad 1).
bool ofPad(QByteArrayView name, int pad) {
    const QByteArray stem = "InputJoy" + QByteArray::number(pad);
    return name.size() > stem.size() && name.startsWith(stem) &&
           !(name[stem.size()] >= '0' && name[stem.size()] <= '9');
}

bool names(const ConfigDocument::Setting& setting, QByteArrayView section) {
    for (const QByteArray& named : setting.sections) {
        if (named == section)
            return true;
    }
    return false;
}

// The value the set gets: the player's section over the cabinet's global.
std::optional<QByteArray> resolved(const ConfigDocument& player, const ConfigDocument& cabinet,
                                   const QByteArray& set, QByteArrayView name) {
    if (auto own = player.value(set, name))
        return own;
    return cabinet.value(ConfigDocument::kGlobal, name);
}

} // namespace

QList<CabinetSetting> cabinetSettings(const CabinetStart& start, const ConfigDocument& player,
                                      const ConfigDocument& cabinetFile) {
    const int k = start.cabinet;
    QList<CabinetSetting> settings;
    const QByteArray ring[] = {QByteArray::number(start.ports.in),
                               QByteArray::number(start.ports.out), kRingAddress, "none"};
    for (std::size_t i = 0; i < std::size(ring); ++i) {
        const QByteArray name = kRingNames[i].toByteArray();
        settings.append({ConfigDocument::kGlobal, name, ring[i]});
        if (cabinetFile.value(start.set, name))
            settings.append({start.set, name, ring[i]});
    }

    for (const bindings::GameInput* input : bindings::gameInputs(start.inputTypes)) {
        const QByteArray name = inputName(*input);
        const QByteArray value =
            resolved(player, cabinetFile, start.set, name)
                .value_or(QByteArray(input->builtIn.data(), qsizetype(input->builtIn.size())));
        settings.append({start.set, name, padSourcesFor(value, k)});
    }

    // Pad 1's settings where the set reads them, and the cabinet's pad's
    // that an earlier start wrote.
    QList<QByteArray> padOne;
    QSet<QByteArray> seen;
    const auto collect = [&](const ConfigDocument& file, QByteArrayView section, int pad) {
        file.forEachSetting([&](const ConfigDocument::Setting& setting) {
            if (!ofPad(setting.name, pad) || !names(setting, section))
                return;
            const qsizetype stem = 8 + QByteArray::number(pad).size(); // "InputJoy" and the pad
            const QByteArray name = kPadOne.toByteArray().append(setting.name.sliced(stem));
            if (!seen.contains(name)) {
                seen.insert(name);
                padOne.append(name);
            }
        });
    };
    collect(player, start.set, 1);
    collect(cabinetFile, ConfigDocument::kGlobal, 1);
    collect(cabinetFile, start.set, k);
    for (const QByteArray& name : padOne)
        settings.append(
            {start.set, padSettingFor(name, k), resolved(player, cabinetFile, start.set, name)});
    return settings;
}

bool isCabinetSetting(const CabinetStart& start, QByteArrayView section, QByteArrayView name) {
    const bool global = section == QByteArrayView(ConfigDocument::kGlobal);
    if (!global && section != start.set)
        return false;
    for (const QByteArrayView ring : kRingNames) {
        if (name == ring)
            return true;
    }
    if (global)
        return false;
    if (ofPad(name, start.cabinet))
        return true;
    for (const bindings::GameInput* input : bindings::gameInputs(start.inputTypes)) {
        if (name == inputName(*input))
            return true;
    }
    return false;
}

void writeCabinetSettings(ConfigDocument& file, const QList<CabinetSetting>& settings) {
    for (const CabinetSetting& setting : settings) {
        const std::optional<QByteArray> now = file.value(setting.section, setting.name);
        if (now == setting.value)
            continue;
        if (setting.value)
            file.set(setting.section, setting.name, *setting.value);
        else
            file.remove(setting.section, setting.name);
    }
}

} // namespace emulator
