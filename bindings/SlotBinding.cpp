#include "bindings/SlotBinding.h"

#include "bindings/BindingValue.h"
#include "bindings/GamePage.h"
#include "bindings/Latin1.h"
#include "bindings/SlotTable.h"
#include "ui/ClickableLabel.h"
#include "ui/Form1.h"
#include "ui/SlotState.h"

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

} // namespace

// How a slot is bound, by mouse and by keyboard, for screen readers.
const QString kHowToBind = QStringLiteral(
    ". Double-click or press Enter to bind a key or a device control; its menu removes one");

void showBinding(ui::ClickableLabel* label, const QString& value, const QString& group,
                 ValueOrigin origin, const QString& note) {
    ui::setSlotValue(label, value);
    ui::setSlotBuiltIn(label, origin == ValueOrigin::BuiltIn);
    QString caption = shownKey(value);
    if (caption.isEmpty())
        caption = joystickCaption(value); // never looks unbound when a joystick drives it
    label->setText(shortened(caption));
    label->setDeviceMark(hasJoystick(value));
    QString spelled = shortened(describe(value));
    if (origin == ValueOrigin::BuiltIn)
        spelled += QStringLiteral(" (the emulator's built-in value)");
    spelled += note;
    label->setToolTip(spelled);
    label->setAccessibleDescription(group + QStringLiteral(". ") + spelled + kHowToBind);
}

namespace {

void show(ui::Form1& form, int slot, const QString& value, ValueOrigin origin) {
    if (slot < 0 || slot >= kSlotCount)
        return;
    showBinding(form.Label1[std::size_t(slot)], value, group(slot), origin);
}

} // namespace

ui::SlotLook slotLook(int slot) {
    if (slot < 0 || slot >= kSlotCount)
        return {};
    const InputSlot& entry = kSlots[std::size_t(slot)];
    return {{entry.left, entry.top, entry.width, entry.height},
            latin1(entry.rowCaption),
            group(slot) + kHowToBind};
}

void setSlotBinding(ui::Form1& form, int slot, const QString& value, ValueOrigin origin) {
    show(form, slot, value, origin);
    if (slot >= 0 && slot < kSlotCount)
        ui::setSlotEdited(form.Label1[std::size_t(slot)], false);
}

void editSlotBinding(ui::Form1& form, int slot, const QString& value) {
    if (slot >= ui::Form1::kPageFirstSlot) {
        editPageEntry(form, slot - ui::Form1::kPageFirstSlot, value);
        return;
    }
    show(form, slot, value, ValueOrigin::File);
    if (slot >= 0 && slot < kSlotCount)
        ui::setSlotEdited(form.Label1[std::size_t(slot)], true);
}

void clearSlotBinding(ui::Form1& form, int slot) {
    if (slot < 0 || slot >= kSlotCount)
        return;
    ui::ClickableLabel* label = form.Label1[std::size_t(slot)];
    ui::setSlotValue(label, QString());
    ui::setSlotEdited(label, false);
    label->setText(QString());
    label->setDeviceMark(false);
    label->setToolTip(QString());
    label->setAccessibleDescription(group(slot) + kHowToBind);
}

} // namespace bindings
