#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

class QIODevice;

namespace app {

// The front-end's own settings file: no sections and no keys, one value per
// line. Reading keeps the first ten non-empty lines, each trimmed of spaces.

constexpr int kSettingsSlotCount = 10;
using SettingsSlots = std::array<QString, kSettingsSlotCount>;

// Slot n holds the (n+1)-th non-empty line, with leading and trailing space
// characters (only U+0020) removed; the other slots stay empty. The bytes are
// UTF-8 (invalid sequences become replacement characters); a line ends at
// CR LF, at a CR alone or at an LF alone. Lines from the eleventh non-empty
// one on are dropped. Any byte sequence of any length is accepted.
SettingsSlots parseSettings(const QByteArray& bytes);

// The values the program uses: the first seven slots.
constexpr int kSettingsValueCount = 7;

// The longest line readSettings keeps; the rest of a longer line is skipped
// unread by anything but the line scan.
inline constexpr qsizetype kLineLimit = 64 * 1024;

// What parseSettings gives for the device's content, in the first
// kSettingsValueCount slots, read a line at a time and only as far as those
// values go. A line longer than kLineLimit bytes is cut to it.
SettingsSlots readSettings(QIODevice& device);

struct SettingsValues {
    QString emuPath;
    QString romPath;
    QString width;
    QString height;
    int showFps = 0;
    int fullScreen = 0;
    int noThrottle = 0;
};

// True when `text` holds nothing but spaces: such a value would read back as
// a missing line, since the reader trims spaces and skips empty lines.
bool isBlank(const QString& text);

inline constexpr const char* kDefaultWidth = "640";
inline constexpr const char* kDefaultHeight = "480";

// The seven lines, each ended by CR LF, in UTF-8: the two paths and the
// width and height without line breaks (platform::withoutLineBreaks), otherwise
// unchanged, then the three option values written with one
// space on each side (" 0 ", " 1 ", " 2 "). A width or height that is empty
// or holds only spaces is written as its default ("640", "480") so that every
// value keeps its line at the next read.
QByteArray formatSettings(const SettingsValues& values);

// The number at the start of `text` (optional sign, digits, optional
// fraction, optional exponent; leading spaces skipped), rounded to the
// nearest whole number with halves going to the even one. A text that does
// not start with a number gives 0. Returns nothing when the number lies
// outside the 16-bit signed range (-32768..32767).
std::optional<int> optionNumber(const QString& text);

} // namespace app
