#include "bindings/Profiles.h"

#include "bindings/BindingStore.h"
#include "bindings/BindingValue.h"
#include "bindings/BuiltInValues.h"
#include "bindings/GameInputs.h"
#include "bindings/Latin1.h"
#include "bindings/SlotBinding.h"
#include "bindings/SlotTable.h"
#include "ui/ClickableLabel.h"
#include "ui/Form1.h"

#include <QStringList>
#include <algorithm>
#include <array>
#include <utility>

namespace bindings {

namespace {

// clang-format off
constexpr std::array<std::pair<std::string_view, std::string_view>, 8> kProfiles{{
    {"1", "8;9;10;11;12;13;14;15"},
    {"2", "16;17;18;19;20;21;24;25;26;27"},
    {"3", "16;17;18;19;20;21;22;23;24;25;26;27"},
    {"4", "47;48"},
    {"5", "33;34;35;36;37;38;39;40;41;42;43;44"},
    {"6", "8;9;10;11;30;31;32"},
    {"7", "8;9;10;11;30;31;32"},
    {"8", "45;46"},
}};
// clang-format on

} // namespace

std::optional<std::string_view> profileSlotList(const QString& code) {
    for (const auto& [profile, list] : kProfiles) {
        if (code == QLatin1String(profile.data(), qsizetype(profile.size())))
            return list;
    }
    return std::nullopt;
}

void List2_XList(ui::Form1& form, const QString& code) {
    const auto list = profileSlotList(code);
    if (!list)
        return;
    const QStringList slots = latin1(*list).split(u';');
    for (const QString& slot : slots)
        ui::Form1::setBackColor(form.Label1[std::size_t(slot.toInt())], kMarkedColour);
}

namespace {

bool readBy(const std::vector<const GameInput*>& inputs, std::string_view name) {
    return std::any_of(inputs.begin(), inputs.end(),
                       [name](const GameInput* input) { return input->name == name; });
}

} // namespace

QList<int> slotsReadBy(const QStringList& types) {
    const std::vector<const GameInput*> inputs = gameInputs(types);
    QList<int> read;
    for (int i = 0; i < kSlotCount; ++i) {
        const InputSlot& slot = kSlots[std::size_t(i)];
        if (slot.group != "All" && readBy(inputs, currentInputName(slot.inputName)))
            read.append(i);
    }
    return read;
}

void markInputs(ui::Form1& form, const QStringList& types) {
    for (int slot : slotsReadBy(types))
        ui::Form1::setBackColor(form.Label1[std::size_t(slot)], kMarkedColour);
}

bool everyInputHasASlot(const QStringList& types) {
    const std::vector<const GameInput*> inputs = gameInputs(types);
    return std::all_of(inputs.begin(), inputs.end(), [](const GameInput* input) {
        return std::any_of(kSlots.begin(), kSlots.end(), [input](const InputSlot& slot) {
            return currentInputName(slot.inputName) == input->name;
        });
    });
}

QString defaultBindingText() {
    QString text;
    for (const InputSlot& slot : kSlots) {
        text += QLatin1String(slot.inputName.data(), qsizetype(slot.inputName.size()));
        text += u';';
        text += QLatin1String(slot.defaultKey.data(), qsizetype(slot.defaultKey.size()));
        text += u';';
    }
    return text;
}

QString restoredValue(const QString& value, const QString& builtIn) {
    QStringList ownJoysticks, ownOthers;
    for (const QString& source : splitSources(value)) {
        const SourceKind kind = sourceKind(source);
        if (kind == SourceKind::Joystick)
            ownJoysticks.append(source);
        else if (kind == SourceKind::Other)
            ownOthers.append(source);
    }
    QStringList restored, nothing;
    bool joysticksPlaced = ownJoysticks.isEmpty();
    for (const QString& source : splitSources(builtIn)) {
        switch (sourceKind(source)) {
        case SourceKind::Keyboard:
        case SourceKind::Mouse:
            restored.append(source);
            break;
        case SourceKind::Joystick:
            if (ownJoysticks.isEmpty())
                restored.append(source);
            else if (!joysticksPlaced)
                restored.append(ownJoysticks);
            joysticksPlaced = true;
            break;
        case SourceKind::Other:
            nothing.append(source);
            break;
        }
    }
    if (!joysticksPlaced)
        restored.append(ownJoysticks);
    restored.append(ownOthers);
    // "NONE" says there is nothing: beside a source it would say wrong.
    const bool bound = std::any_of(restored.begin(), restored.end(), [](const QString& source) {
        return source.compare(QLatin1String("NONE"), Qt::CaseInsensitive) != 0;
    });
    if (bound)
        restored.removeIf([](const QString& source) {
            return source.compare(QLatin1String("NONE"), Qt::CaseInsensitive) == 0;
        });
    else if (restored.isEmpty())
        restored = nothing;
    return joinSources(restored);
}

void Restore(ui::Form1& form, BindingStore& store, Release release) {
    for (const InputSlot& entry : kSlots) {
        const QString input = latin1(currentInputName(entry.inputName));
        const QString value = store.value(input);
        store.edit(input, release == Release::Current
                              ? restoredValue(value, latin1(builtInValue(entry.inputName)))
                              : withKey(value, latin1(entry.defaultKey)));
    }
    renderSlots(form, store);
}

} // namespace bindings
