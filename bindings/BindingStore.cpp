#include "bindings/BindingStore.h"

#include "bindings/BindingValue.h"
#include "bindings/BuiltInValues.h"
#include "bindings/GameInputs.h"
#include "bindings/Latin1.h"
#include "bindings/Profiles.h"
#include "bindings/SlotTable.h"

#include <algorithm>

namespace bindings {

namespace {

static_assert(std::all_of(kSlots.begin(), kSlots.end(),
                          [](const InputSlot& slot) {
                              return !builtInValue(slot.inputName).empty();
                          }),
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

void BindingStore::load(const FileValue& global, GameValue game, QString inputSystem) {
    clear();
    const auto read = [this](const QString& input, const std::optional<QString>& found,
                             std::string_view builtIn) {
        m_bindings.insert(input,
                          found ? Binding{*found} : Binding{latin1(builtIn), ValueOrigin::BuiltIn});
    };
    for (const InputSlot& slot : kSlots) {
        const QString current = latin1(currentInputName(slot.inputName));
        // The current name wins: it is what the current release reads.
        const std::optional<QString> found = global(current);
        read(current, found ? found : global(latin1(slot.inputName)), builtInValue(slot.inputName));
    }
    for (const QString& input : pageInputNames())
        read(input, global(input), gameInput(input.toStdString())->builtIn);
    m_game = std::move(game);
    m_inputSystem = std::move(inputSystem);
}

void BindingStore::loadDefaults(Release release) {
    load([](const QString&) { return std::optional<QString>(); });
    // The current release's own values are what it uses without a file;
    // the 2011 release's keys are the chart's own (a mouse button under its
    // stored name).
    if (release == Release::Current)
        return;
    for (const InputSlot& slot : kSlots)
        m_bindings.insert(latin1(currentInputName(slot.inputName)),
                          Binding{withKey(QString(), latin1(slot.defaultKey))});
}

void BindingStore::clear() {
    m_bindings.clear();
    m_game = nullptr;
    m_inputSystem.clear();
    m_settings.clear();
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
    const auto section = m_settings.constFind(set);
    if (section != m_settings.cend()) {
        const auto edited = section->constFind(QStringLiteral("Input") + input);
        if (edited != section->cend())
            return *edited;
    }
    return m_game ? m_game(set, input) : std::nullopt;
}

QString BindingStore::inputSystem() const {
    return m_settings.value(kGlobalSection).value(QStringLiteral("InputSystem"), m_inputSystem);
}

QString BindingStore::inputSystemFor(const QString& set) const {
    // "Input" + "System": the section's InputSystem line.
    if (!set.isEmpty() && set != kGlobalSection) {
        if (const auto own = gameValue(set, QStringLiteral("System")))
            return *own;
    }
    return inputSystem();
}

void BindingStore::editSetting(const QString& section, const QString& name, const QString& value) {
    m_settings[section].insert(name, value);
}

bool BindingStore::anyEdit() const {
    return !m_settings.isEmpty() || std::any_of(m_bindings.cbegin(), m_bindings.cend(),
                                                [](const Binding& b) { return b.edited; });
}

} // namespace bindings
