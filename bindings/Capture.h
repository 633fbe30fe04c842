#pragma once

#include <QString>
#include <optional>
#include <qnamespace.h>

namespace ui {
class Form1;
}

namespace bindings {

// Key capture into the binding slots. The state lives in the window: the
// panel's tag names the slot being captured (and marks the panel edited),
// Command5's tag is the walk flag, Label3 the prompt and Text6 the box.

// Puts slot `slot` into capture: the box over its label, the prompt, the focus.
void BeginCapture(ui::Form1& form, int slot);

// Ends the capture of the slot named by the panel's tag, storing `name` when
// given in place of the slot's keyboard and mouse sources (bindings::withKey); during the walk the
// next slot follows, otherwise the focus goes to "Save".
void FinishCapture(ui::Form1& form, const std::optional<QString>& name);

// "All over again": takes the keys out of every slot (joystick sources stay)
// and walks the 49 slots in order.
void AllOverAgain(ui::Form1& form);

// A key pressed in the capture box: a named key finishes the capture, a
// character finishes it with its name (Esc with none) or, when it has none,
// with the name of the key that typed it (`nativeScanCode`); any other key
// leaves the capture waiting.
void CaptureKey(ui::Form1& form, int qtKey, const QString& text, quint32 nativeScanCode);

// A mouse button pressed in the capture box.
void CaptureMouse(ui::Form1& form, Qt::MouseButton button);

// A game device's control taken while the capture box waits: `source`
// ("JOY1_BUTTON4") replaces the slot's joystick sources, its key stays.
void CaptureDevice(ui::Form1& form, const QString& source);

// Drops a pending capture and the walk without storing anything.
void EndCapture(ui::Form1& form);

} // namespace bindings
