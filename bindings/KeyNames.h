#pragma once

#include <QString>
#include <optional>
#include <qnamespace.h>

namespace bindings {

// Key names: the texts stored in slot captions and, through the translation
// below, written into the emulator's input file. Every name they produce is one
// the emulator binds. Pure functions of the event's facts.

// Key-down names by Windows virtual-key code: 16 "LeftShift", 17 "LeftCtrl",
// 18 "LeftAlt", 19 "Pause", 20 "CapsLock", 33 "Pgup", 34 "Pgdn", 35 "End",
// 36 "Home", 37 "Left", 38 "Up", 39 "Right", 40 "Down", 45 "Insert",
// 46 "Del", 144 "NumLock", 145 "ScrollLock". Any other code: no name.
std::optional<QString> keyDownName(int virtualKey);

// What a typed character does to a capture.
struct KeyPressName {
    bool finishes = true;        // false: the capture keeps waiting
    std::optional<QString> name; // none for Esc: the slot keeps its key
};

// Key-press names by character code: 8 "Backspace", 13 "Return", 27 Esc (no
// name), 32 "Space", 39 "Quote", 44 "Comma", 45 "Minus", 46 "Period",
// 47 "Slash", 59 "Semicolon", 61 "Equals", 91 "LeftBracket",
// 92 "BackSlash", 93 "RightBracket", 96 "BackQuote"; a letter a-z or A-Z
// upper-cased; a digit itself. Any other character ("+", "&", "é", "ß", the
// double quote) has no name the emulator can bind: the capture keeps waiting
// unless the key that typed it has a name (physicalKeyName).
KeyPressName keyPressName(char32_t characterCode);

// The name of the key at a native scan code, by its position on a US
// keyboard, for the keys that type characters: "1" for the key that types
// "&" on a French keyboard, "KeypadPlus" for the keypad's "+". The code is
// the X keycode (Linux input event code + 8) on Linux, the set-1 scan code
// on Windows. A key with no such name (0, the extra key beside left Shift):
// none.
std::optional<QString> physicalKeyName(quint32 nativeScanCode);

// The one table between what a slot shows and what the emulator's file holds.
// Slot text to file: "MouseLeft" -> "MOUSE_LEFT_BUTTON" (also Right, Middle);
// any other text as it is.
QString storedKeyName(const QString& slotText);
// File to slot text, ignoring case: "MOUSE_LEFT_BUTTON" and the earlier
// "MouseLeft" -> "MouseLeft", the earlier "ScorollLock" -> "ScrollLock"; any
// other name as it is.
QString slotKeyText(const QString& storedName);

// The slot spelling of a key name the panel knows, whatever its case:
// "LEFT" -> "Left", "keypadplus" -> "KeypadPlus", "a" -> "A", and the earlier
// "ScorollLock" -> "ScrollLock". None for a name the panel has no key for.
std::optional<QString> slotSpelling(const QString& anyCase);

// Mouse buttons: 1 "MouseLeft", 2 "MouseRight", 4 "MouseMiddle".
std::optional<QString> mouseButtonName(int button);

// The facts of one Qt key event in the terms above: the virtual-key code when
// the key is one of the key-down table (both Shifts, Ctrls and Alts give the
// left code), else the character it types (Backspace 8, Enter and Return 13,
// Esc 27, keypad digits their digits, printable text its first character),
// else neither: such a key (F5, say) leaves a capture waiting.
struct KeyFacts {
    std::optional<int> virtualKey;
    std::optional<char32_t> characterCode;
};
KeyFacts keyFactsFromQt(int qtKey, const QString& text);

// Qt mouse button to 1, 2 or 4; 0 for any other button.
int mouseButtonCode(Qt::MouseButton button);

} // namespace bindings
