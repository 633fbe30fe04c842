#pragma once

#include <QString>

namespace ui {
class Form1;
struct SlotLook;
} // namespace ui

namespace bindings {

class BindingStore;

// Chart slots and page entries are views of the binding store: a slot shows
// its input's key as its caption, a game pad mark when a joystick drives it
// too, and the whole value spelled out in its tooltip and accessible
// description. Slots are named by number: the chart's 0..48, then the page's
// entries (ui::Form1::slotLabel).

// What the window needs to build slot `slot`: its place, row caption and
// description, from the slot table (ui::Form1::setSlotLooks).
ui::SlotLook slotLook(int slot);

// How a slot is bound, for screen readers; ends a slot's description.
extern const QString kHowToBind;

// The input slot `slot` stands for, as the store names it: a chart slot's
// current input name, a page entry's tag; empty for any other number.
QString slotInput(const ui::Form1& form, int slot);

// The value the store holds for slot `slot`'s input.
QString slotValue(const ui::Form1& form, const BindingStore& store, int slot);

// Draws every chart slot and every page entry from the store, their signals
// blocked: caption, mark, tooltip, description, and a chart slot's tag (its
// input name, empty while the store holds nothing). A page entry's tooltip
// also tells what the page's set gets from its game section.
void renderSlots(ui::Form1& form, const BindingStore& store);

// Stores `value` as slot `slot`'s input's value, edited, and draws the slots.
void editSlot(ui::Form1& form, BindingStore& store, int slot, const QString& value);

} // namespace bindings
