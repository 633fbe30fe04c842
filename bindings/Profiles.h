#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <optional>
#include <string_view>

namespace ui {
class Form1;
}

namespace bindings {

class BindingStore;

inline const QColor kUnmarkedColour{224, 224, 224};
inline const QColor kMarkedColour{255, 192, 192};

// The slot list of a game profile code ("1".."8"), as the literal text of
// slot numbers separated by ";"; nothing for any other code ("x", "").
std::optional<std::string_view> profileSlotList(const QString& code);

// Marks the slots of profile `code`. It never unmarks: the refresh does that.
void List2_XList(ui::Form1& form, const QString& code);

// The slots whose input a game with these input types reads, the slots
// every game reads left out.
QList<int> slotsReadBy(const QStringList& types);

// Marks the slots whose input a game with these input types reads (as the
// emulator's definitions list them). The slots every game reads stay
// unmarked, as with the profiles. It never unmarks.
void markInputs(ui::Form1& form, const QStringList& types);

// True when every input such a game reads has a slot.
bool everyInputHasASlot(const QStringList& types);

// Which release's values the panel falls back on: the 2011 release's keys
// (its emulator ships no game definitions and binds nothing by itself), or
// the current release's built-in values (kGameInputs).
enum class Release { Earlier, Current };

// What Restore makes of a slot's `value`, given the input's built-in value:
// the built-in keyboard and mouse sources; the slot's own joystick sources
// where it has any, else the built-in's; and the slot's other sources, a
// "NONE" left out once anything else is there. The built-in's order.
//   "KEY_G,JOY2_BUTTON3" + "KEY_A,JOY1_BUTTON1,MOUSE_LEFT_BUTTON"
//     -> "KEY_A,JOY2_BUTTON3,MOUSE_LEFT_BUTTON"
QString restoredValue(const QString& value, const QString& builtIn);

// Loads the default bindings into every chart slot; each counts as edited.
// With the current release, restoredValue of the built-in value; with the
// earlier one, its key in place of the keys of the value (joystick sources
// stay). Colours, the panel's edited mark and any capture are left as they
// are.
void Restore(ui::Form1& form, BindingStore& store, Release release);

// The default binding list: input name ";" key ";" for the 49 slots in order.
QString defaultBindingText();

} // namespace bindings
