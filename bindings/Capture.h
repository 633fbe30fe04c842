#pragma once

#include "bindings/BindingStore.h"
#include "bindings/GameInputs.h"

#include <QPoint>
#include <QString>
#include <optional>
#include <qnamespace.h>

namespace ui {
class Form1;
}

namespace bindings {

// Key capture into the binding slots. The state lives in the window: the
// panel's tag names the slot being captured (and marks the panel edited),
// Command5's tag is the walk flag, Label3 the prompt and Text6 the box. The
// store keeps the prompt apart from the devices the device capture adds to
// its line (BindingStore::capture).

// Slots are named by number: the chart's 0..48, then the page's entries
// (ui::Form1::slotLabel).

// A whole-axis input's prompts (`input` as the slot's tag has it): while
// the box waits, and after a key or a mouse button was refused. Each fits
// the prompt's line whole.
enum class AxisPrompt { Waiting, KeyRefused, ButtonRefused };
CapturePrompt wholeAxisPrompt(AxisPrompt which, const QString& input);

// The kind of slot `slot`'s input.
InputKind slotKind(const ui::Form1& form, int slot);

// Puts slot `slot` into capture: the box over its label, the prompt, the focus.
void BeginCapture(ui::Form1& form, BindingStore& store, int slot);

// Ends the capture of the slot named by the panel's tag, storing `name` when
// given in place of the slot's keyboard and mouse sources (bindings::withKey); during the walk the
// next slot follows, otherwise the focus goes to the page's next entry, or
// to "Save" after the page's last entry and on the chart.
void FinishCapture(ui::Form1& form, BindingStore& store, const std::optional<QString>& name);

// "All over again": takes the keys out of every slot of the page shown
// (joystick sources stay) and walks its slots in order: the chart's 49, or
// the game page's entries.
void AllOverAgain(ui::Form1& form, BindingStore& store);

// A key pressed in the capture box: a named key finishes the capture, a
// character finishes it with its name (Esc with none) or, when it has none,
// with the name of the key that typed it (`nativeScanCode`); any other key
// leaves the capture waiting.
void CaptureKey(ui::Form1& form, BindingStore& store, int qtKey, const QString& text,
                quint32 nativeScanCode);

// A mouse button pressed in the capture box.
void CaptureMouse(ui::Form1& form, BindingStore& store, Qt::MouseButton button);

// The mouse moved over the capture box: for a whole-axis input, a move well
// across the box binds the mouse's X or Y axis.
void CaptureMouseMove(ui::Form1& form, BindingStore& store, const QPoint& at);

// A game device's control taken while the capture box waits: `source`
// ("JOY1_BUTTON4") replaces the slot's joystick sources, its key stays.
void CaptureDevice(ui::Form1& form, BindingStore& store, const QString& source);

// Drops a pending capture and the walk without storing anything.
void EndCapture(ui::Form1& form, BindingStore& store);

} // namespace bindings
