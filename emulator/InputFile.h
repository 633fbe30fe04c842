#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <span>
#include <vector>

namespace emulator {

// The front-end's own full input file, "Config/Supermodel.ini" as the panel
// writes it when there is no configuration to edit (see ConfigDocument.h).

struct SlotBinding {
    QString inputName; // without the "Input" prefix, e.g. "Start1"
    QString key;       // the value as the file holds it, e.g. "1", "KEY_A,JOY1_BUTTON1"
};

// The comment line that says which program wrote a file the front-end made;
// it also tells such a file from the copies earlier versions made.
inline constexpr char kWrittenBy[] = "; Written by Kestrun, a front-end for Supermodel";

// The lines the front-end writes, each ended by CR LF, in UTF-8:
// ";", "; Supermodel Configuration File", kWrittenBy, ";", "", "[ Global ]",
// "", then for every slot in order "Input" + name + " = " + quote + key +
// quote; then the same line again under the current emulator's name for
// each of TwinJoyLeftShot, TwinJoyRightShot, TwinJoyLeftTurbo,
// TwinJoyRightTurbo, Trigger and Offscreen present (TwinJoyShot1,
// TwinJoyShot2, TwinJoyTurbo1, TwinJoyTurbo2, AnalogTriggerLeft,
// AnalogTriggerRight), in that order. The 49 slots of the panel give 62
// lines: the file Save starts from when there is no configuration at all,
// which both releases read.
QByteArray formatInputFile(std::span<const SlotBinding> slots, QChar quote);

// True when the bytes have the shape of a copy an earlier version of the
// front-end made, which neither the emulator nor a player gives a file: the
// header lines ";", "; Supermodel Configuration File", ";", "", "[ Global ]",
// "", then only lines `InputNAME = "VALUE"` of the chart's inputs (under
// either of their names), every line ended by CR LF. Such a copy holds the
// front-end's own defaults, not the player's settings.
bool isEarlierFrontEndFile(const QByteArray& bytes);

} // namespace emulator
