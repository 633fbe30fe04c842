#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <span>
#include <vector>

namespace emulator {

// The front-end's own full input file, "Config/Supermodel.ini" as the panel
// writes it when there is no configuration to edit (see ConfigFile.h).

struct SlotBinding {
    QString inputName; // without the "Input" prefix, e.g. "Start1"
    QString key;       // the value as the file holds it, e.g. "1", "KEY_A,JOY1_BUTTON1"
};

constexpr int kInputFileSlots = 49;

// The lines the front-end writes, each ended by CR LF, in UTF-8:
// ";", "; Supermodel Configuration File", ";", "", "[ Global ]", "", then for
// every slot in order "Input" + name + " = " + quote + key + quote; then the
// same line again under the current emulator's name for each of
// TwinJoyLeftShot, TwinJoyRightShot, TwinJoyLeftTurbo and TwinJoyRightTurbo
// present (TwinJoyShot1, TwinJoyShot2, TwinJoyTurbo1, TwinJoyTurbo2), in
// that order. The 49 slots of the panel give 59 lines: the file Save starts
// from when there is no configuration at all, which both releases read.
QByteArray formatInputFile(std::span<const SlotBinding> slots, QChar quote);

} // namespace emulator
