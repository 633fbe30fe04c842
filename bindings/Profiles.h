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

// Loads the default bindings: every slot's input name into its tag and its
// default key in place of the keys of its value (joystick sources stay);
// each slot counts as edited. Colours, the panel's edited mark and any
// capture are left as they are.
void Restore(ui::Form1& form);

// The panel's defaults with no file to read: every slot's name and default
// key, as read (not edited).
void ShowDefaults(ui::Form1& form);

// The default binding list: input name ";" key ";" for the 49 slots in order.
QString defaultBindingText();

} // namespace bindings
