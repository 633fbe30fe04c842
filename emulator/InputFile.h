#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <span>
#include <vector>

class QIODevice;

namespace emulator {

// The emulator's input configuration file, "Config/Supermodel.ini".

struct SlotBinding {
    QString inputName; // without the "Input" prefix, e.g. "Start1"
    QString key;       // a key name as the file holds it, e.g. "1", "Up"
};

constexpr int kInputFileSlots = 49;

// The lines the front-end writes, each ended by CR LF, in UTF-8:
// ";", "; Supermodel Configuration File", ";", "", "[ Global ]", "", then for
// every slot in order "Input" + name + " = " + quote + key + quote; then the
// same line again under the current emulator's name for each of
// TwinJoyLeftShot, TwinJoyRightShot, TwinJoyLeftTurbo and TwinJoyRightTurbo
// present (TwinJoyShot1, TwinJoyShot2, TwinJoyTurbo1, TwinJoyTurbo2), in
// that order. The 49 slots of the panel give 59 lines; the reader stops
// after the 49th "Input" line, so it never reads the repeated ones.
QByteArray formatInputFile(std::span<const SlotBinding> slots, QChar quote);

// Reads any bytes (UTF-8, line ends CR LF, CR alone or LF alone). Every line
// that contains "Input" (case-sensitive, anywhere) gives one binding, in file
// order, at most kInputFileSlots of them; the other lines are skipped.
//  - key: the text between the first and the second double quote; after a
//    lone quote, the rest of the line; with no quote at all, empty.
//  - name: the text before the first double quote (the whole line when it has
//    none) with every "=" removed, then trailing blanks (U+0020 only)
//    removed, then every "Input" removed. Leading blanks stay.
// Never crashes or hangs, whatever the size or content.
std::vector<SlotBinding> parseInputFile(const QByteArray& bytes);

// The longest key or input name kept: a caption longer than this is of no
// use, and one of millions of characters is more than text layout can take.
constexpr qsizetype kLongestKeyName = 4096;

// What parseInputFile gives for the device's content, read a line at a time
// and only as far as the bindings go, with two bounds: a line longer than
// platform::kLineLimit bytes is cut to it, and a key or name longer than
// kLongestKeyName characters is cut to that many.
std::vector<SlotBinding> readInputFile(QIODevice& device);

} // namespace emulator
