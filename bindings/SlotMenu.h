#pragma once

#include <QPoint>

class QMenu;

namespace ui {
class Form1;
}

namespace bindings {

class BindingStore;

// A slot's menu, opened by a right click or from the keyboard: bind it anew,
// or take its key or its joystick sources out of its value. A capture that
// waits is dropped first: the menu acts on the slot it was opened on.
// Returns the menu, shown at `globalPos`; it deletes itself once closed.
QMenu* ShowSlotMenu(ui::Form1& form, BindingStore& store, int slot, const QPoint& globalPos);

} // namespace bindings
