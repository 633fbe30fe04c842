#include "bindings/SlotBinding.h"

#include "bindings/BindingStore.h"
#include "bindings/BindingValue.h"
#include "bindings/BuiltInValues.h"
#include "bindings/GameInputs.h"
#include "bindings/Latin1.h"
#include "bindings/SlotTable.h"
#include "ui/ClickableLabel.h"
#include "ui/Form1.h"
#include "ui/Tag.h"

#include <QSignalBlocker>

namespace bindings {

namespace {

QString group(int slot) {
    return latin1(kSlots[std::size_t(slot)].group);
}

// A caption or tooltip of millions of characters is of no use, and more than
// text layout can take: cut, never inside a character.
QString shortened(QString text) {
    constexpr qsizetype kLongest = 4096;
    if (text.size() <= kLongest)
        return text;
    qsizetype size = kLongest;
    if (text[size - 1].isHighSurrogate())
        --size;
    text.truncate(size);
    return text;
}

void show(ui::ClickableLabel* label, const Binding& binding, const QString& group,
          const QString& note) {
    const QSignalBlocker blocker(label);
    QString caption = shownKey(binding.value);
    if (caption.isEmpty())
        caption = joystickCaption(binding.value); // never looks unbound when a joystick drives it
    label->setText(shortened(caption));
    label->setDeviceMark(hasJoystick(binding.value));
    QString spelled = shortened(describe(binding.value));
    if (binding.origin == ValueOrigin::BuiltIn)
        spelled += QStringLiteral(" (the emulator's built-in value)");
    spelled += note;
    label->setToolTip(spelled);
    label->setAccessibleDescription(group + QStringLiteral(". ") + spelled + kHowToBind);
}

// A chart slot of a closed panel: no caption, no mark, no tooltip.
void showEmpty(ui::ClickableLabel* label, const QString& group) {
    const QSignalBlocker blocker(label);
    label->setText(QString());
    label->setDeviceMark(false);
    label->setToolTip(QString());
    label->setAccessibleDescription(group + kHowToBind);
}

} // namespace

// How a slot is bound, by mouse and by keyboard, for screen readers.
const QString kHowToBind = QStringLiteral(
    ". Double-click or press Enter to bind a key or a device control; its menu removes one");

ui::SlotLook slotLook(int slot) {
    if (slot < 0 || slot >= kSlotCount)
        return {};
    const InputSlot& entry = kSlots[std::size_t(slot)];
    return {{entry.left, entry.top, entry.width, entry.height},
            latin1(entry.rowCaption),
            group(slot) + kHowToBind};
}

QString slotInput(const ui::Form1& form, int slot) {
    if (slot >= 0 && slot < kSlotCount)
        return latin1(currentInputName(kSlots[std::size_t(slot)].inputName));
    const ui::ClickableLabel* entry = form.slotLabel(slot);
    return entry ? ui::tag(entry) : QString();
}

QString slotValue(const ui::Form1& form, const BindingStore& store, int slot) {
    const QString input = slotInput(form, slot);
    if (slot >= kSlotCount) {
        if (const auto game = store.gameValue(store.pageSet, input))
            return *game;
    }
    return store.value(input);
}

void renderSlots(ui::Form1& form, const BindingStore& store) {
    if (!form.panelBuilt())
        return; // nothing shows the store yet: the panel renders it as it opens
    for (int i = 0; i < kSlotCount; ++i) {
        ui::ClickableLabel* label = form.Label1[std::size_t(i)];
        const Binding* binding = store.find(slotInput(form, i));
        ui::setTag(label, binding ? latin1(kSlots[std::size_t(i)].inputName) : QString());
        if (binding)
            show(label, *binding, group(i), QString());
        else
            showEmpty(label, group(i));
    }
    for (ui::ClickableLabel* entry : form.page().Label7) {
        const QString input = ui::tag(entry);
        if (input.isEmpty())
            break; // the entries the page shows come first
        const GameInput* known = gameInput(input.toStdString());
        const QString heading = known ? latin1(inputTypeHeading(known->type)) : QString();
        // The page shows what the game gets: its own section's value, which
        // a capture here then edits, so that the change reaches the game.
        if (const auto game = store.gameValue(store.pageSet, input)) {
            show(entry, Binding{*game}, heading,
                 QStringLiteral("; set in this game's [ ") + store.pageSet +
                     QStringLiteral(" ] section, where a new binding here goes too"));
            continue;
        }
        const Binding* binding = store.find(input);
        show(entry, binding ? *binding : Binding(), heading, QString());
    }
}

void editSlot(ui::Form1& form, BindingStore& store, int slot, const QString& value) {
    const QString input = slotInput(form, slot);
    if (input.isEmpty())
        return;
    // A page entry the game's own section sets is edited there, in each of
    // the game's sets whose section has it.
    bool inSection = false;
    if (slot >= kSlotCount && store.gameValue(store.pageSet, input)) {
        const QStringList sets =
            store.pageSets.isEmpty() ? QStringList{store.pageSet} : store.pageSets;
        for (const QString& set : sets) {
            if (store.gameValue(set, input)) {
                store.editSetting(set, QStringLiteral("Input") + input, value);
                inSection = true;
            }
        }
    }
    if (!inSection)
        store.edit(input, value);
    renderSlots(form, store);
}

} // namespace bindings
