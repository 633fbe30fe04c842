#include "bindings/Profiles.h"

#include "bindings/BindingValue.h"
#include "bindings/BuiltInValues.h"
#include "bindings/GameInputs.h"
#include "bindings/Latin1.h"
#include "bindings/SlotBinding.h"
#include "bindings/SlotTable.h"
#include "ui/ClickableLabel.h"
#include "ui/Form1.h"
#include "ui/SlotState.h"
#include "ui/Tag.h"

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

namespace {

template <typename Show> void loadDefaults(ui::Form1& form, Show show) {
    static const QStringList elements = defaultBindingText().split(u';');
    for (int i = 0; i < kSlotCount; ++i) {
        ui::ClickableLabel* slot = form.Label1[std::size_t(i)];
        ui::setTag(slot, elements[2 * i]);
        show(i, withKey(ui::slotValue(slot), elements[2 * i + 1]));
    }
}

} // namespace

void Restore(ui::Form1& form) {
    loadDefaults(form, [&form](int i, const QString& value) { editSlotBinding(form, i, value); });
}

void ShowDefaults(ui::Form1& form) {
    for (int i = 0; i < kSlotCount; ++i)
        clearSlotBinding(form, i);
    loadDefaults(form, [&form](int i, const QString& value) { setSlotBinding(form, i, value); });
}

} // namespace bindings
