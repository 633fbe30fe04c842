#pragma once

#include <QString>
#include <QStringList>

namespace bindings {

// A binding value as the emulator's file holds it: a comma-separated list of
// sources ("KEY_A,JOY1_BUTTON1,MOUSE_LEFT_BUTTON"), any of which drives the
// input. The panel edits only the keyboard and mouse sources; every other
// source stays as it was, in its order. Pure functions.

// The sources of a value, each trimmed; empty pieces dropped.
QStringList splitSources(const QString& value);
QString joinSources(const QStringList& sources);

enum class SourceKind {
    Keyboard, // KEY_x, KEYn_x, or a bare key name ("A", "Up")
    Mouse,    // MOUSE_x, MOUSEn_x, and the earlier "MouseLeft" and the like
    Joystick, // JOY_x, JOYn_x
    Other,    // anything else, NONE included: kept, never edited
};

// Names and parts compare without regard to case, as the emulator reads them.
SourceKind sourceKind(const QString& source);

// The slot text of a keyboard or mouse source: "KEY_A" -> "A",
// "KEY_LEFT" -> "Left", "MOUSE_LEFT_BUTTON" -> "MouseLeft"; empty for any
// other kind.
QString sourceKeyText(const QString& source);

// The key a slot shows: the slot text of the value's first keyboard or mouse
// source, or empty when it has none.
QString shownKey(const QString& value);

// True when the value has a keyboard or mouse source.
bool hasKey(const QString& value);

// Replaces all keyboard and mouse sources by the one for `slotKeyText` (a slot
// text, e.g. "G", "MouseLeft"), at the place of the first of them (after the
// other sources when it had none), keeping the other sources in order. The
// new key is written in the style of the source it replaces: with the same
// "KEY_" / "KEYn_" prefix when it had one, bare when it was bare; when there
// was none, with "KEY_" if the value holds other sources, else bare. Mouse
// buttons are always written under the emulator's names. An empty
// `slotKeyText` is withoutKey.
//   "KEY_A,JOY1_BUTTON1,MOUSE_LEFT_BUTTON" + "G" -> "KEY_G,JOY1_BUTTON1"
QString withKey(const QString& value, const QString& slotKeyText);

// The value with its keyboard and mouse sources removed.
QString withoutKey(const QString& value);

// Replaces all joystick sources by `joySource`, placed right after the first
// keyboard or mouse source (first when there is none).
QString withJoystick(const QString& value, const QString& joySource);
QString withoutJoystick(const QString& value);
bool hasJoystick(const QString& value);

// "NONE" says an input has no source: beside another source it goes, and
// withKey and withJoystick drop it so ("NONE" + "J" -> "KEY_J").
QString withoutNone(const QString& value);

// Readable text for one source: "A", "left mouse button",
// "joystick 1 button 1", "any joystick X axis positive half",
// "joystick 2 hat 1 up"; an unknown source as it is written.
QString describeSource(const QString& source);

// The whole value for a tooltip or a screen reader: "A, or joystick 1 button
// 1"; "no key" for an empty value.
QString describe(const QString& value);

// A short caption for a value bound only to joysticks, e.g. "Joy 2 Up",
// "Joy 1 B1", "Joy X+": the first joystick source, abridged. Empty when the
// value has no joystick source.
QString joystickCaption(const QString& value);

} // namespace bindings
