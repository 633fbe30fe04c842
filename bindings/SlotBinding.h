#pragma once

#include <QString>

namespace ui {
class ClickableLabel;
class Form1;
struct SlotLook;
} // namespace ui

namespace bindings {

// A slot's binding as the window holds it: the whole value in the slot's
// state (ui::slotValue), the key it shows as its caption, a game pad mark
// when a joystick drives it too, and the whole value spelled out in its
// tooltip and accessible description.

// What the window needs to build slot `slot`: its place, row caption and
// description, from the slot table (ui::Form1::setSlotLooks).
ui::SlotLook slotLook(int slot);

// Where a slot's value came from, for its tooltip.
enum class ValueOrigin {
    File,    // read from the file (or the panel's defaults)
    BuiltIn, // not in the file: what the emulator uses without a line
};

// Shows `value` in `label`, a chart slot or a page entry of `group`: its
// caption, mark, tooltip and accessible description; `note` ends the
// tooltip.
void showBinding(ui::ClickableLabel* label, const QString& value, const QString& group,
                 ValueOrigin origin, const QString& note = QString());

// How a slot is bound, for screen readers; ends a slot's description.
extern const QString kHowToBind;

// Shows `value` in slot `slot` as read, not edited.
void setSlotBinding(ui::Form1& form, int slot, const QString& value,
                    ValueOrigin origin = ValueOrigin::File);

// Shows `value` in slot `slot` and marks the slot edited, so Save writes it;
// a page entry edits its input's one value (editPageEntry).
void editSlotBinding(ui::Form1& form, int slot, const QString& value);

// Empties slot `slot`: no value, no caption, no mark, not edited.
void clearSlotBinding(ui::Form1& form, int slot);

} // namespace bindings
