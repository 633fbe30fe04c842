#include "bindings/BindingStore.h"

#include "bindings/BuiltInValues.h"
#include "bindings/GameInputs.h"
#include "bindings/Latin1.h"
#include "bindings/Profiles.h"
#include "bindings/SlotTable.h"

#include <algorithm>

namespace bindings {

namespace {

static_assert(std::all_of(kSlots.begin(), kSlots.end(),
                          [](const InputSlot& slot) { return !builtInValue(slot.inputName).empty(); }),
              "every slot has the emulator's built-in value");

// A name of the chart's earlier vocabulary that the current release reads
// as an input of its own (the light guns' Trigger and Offscreen): the chart
// writes it, so the page never stores it apart.
bool earlierChartName(std::string_view name) {
    return std::any_of(kSlots.begin(), kSlots.end(),
                       [name](const InputSlot& slot) { return slot.inputName == name; });
}

} // namespace

int chartSlotOf(std::string_view name) {
    for (int i = 0; i < kSlotCount; ++i) {
        if (currentInputName(kSlots[std::size_t(i)].inputName) == name)
            return i;
    }
    return -1;
}

QStringList pageInputNames() {
    QStringList names;
    for (const GameInput& input : kGameInputs) {
        if (chartSlotOf(input.name) < 0 && !earlierChartName(input.name))
            names.append(latin1(input.name));
    }
    return names;
}

void BindingStore::read(const QString& input, const QString& value, ValueOrigin origin) {
    m_bindings.insert(input, {value, origin, false});
}

void BindingStore::load(const FileValue& global, GameValue game, QString inputSystem) {
    clear();
    for (const InputSlot& slot : kSlots) {
        const QString current = latin1(currentInputName(slot.inputName));
        // The current name wins: it is what the current release reads.
        std::optional<QString> found = global(current);
        if (!found)
            found = global(latin1(slot.inputName));
        if (found)
            read(current, *found, ValueOrigin::File);
        else
            read(current, latin1(builtInValue(slot.inputName)), ValueOrigin::BuiltIn);
    }
    for (const QString& input : pageInputNames()) {
        if (const std::optional<QString> found = global(input))
            read(input, *found, ValueOrigin::File);
        else
            read(input, latin1(gameInput(input.toStdString())->builtIn), ValueOrigin::BuiltIn);
    }
    m_game = std::move(game);
    m_inputSystem = std::move(inputSystem);
}

void BindingStore::loadDefaults(Release release) {
    load([](const QString&) { return std::optional<QString>(); });
    // The current release's own values are what it uses without a file.
    if (release == Release::Current)
        return;
    for (int i = 0; i < kSlotCount; ++i)
        read(latin1(currentInputName(kSlots[std::size_t(i)].inputName)), defaultValue(i, release),
             ValueOrigin::File);
}

void BindingStore::clear() {
    m_bindings.clear();
    m_game = nullptr;
    m_inputSystem.clear();
}

const Binding* BindingStore::find(const QString& input) const {
    const auto found = m_bindings.constFind(input);
    return found == m_bindings.cend() ? nullptr : &*found;
}

QString BindingStore::value(const QString& input) const {
    return m_bindings.value(input).value;
}

void BindingStore::edit(const QString& input, const QString& value) {
    m_bindings.insert(input, {value, ValueOrigin::File, true});
}

QHash<QString, QString>
BindingStore::edits(const std::function<bool(const QString&)>& fileNames) const {
    QHash<QString, QString> edits;
    for (const InputSlot& slot : kSlots) {
        const QString current = latin1(currentInputName(slot.inputName));
        const QString earlier = latin1(slot.inputName);
        const Binding* binding = find(current);
        if (earlier != current && binding && binding->edited && fileNames(earlier))
            edits.insert(earlier, binding->value);
    }
    // An input edited under its own name wins over the chart's earlier one.
    for (auto it = m_bindings.cbegin(); it != m_bindings.cend(); ++it) {
        if (it->edited)
            edits.insert(it.key(), it->value);
    }
    return edits;
}

std::optional<QString> BindingStore::gameValue(const QString& set, const QString& input) const {
    return m_game ? m_game(set, input) : std::nullopt;
}

} // namespace bindings
