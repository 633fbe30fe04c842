#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace emulator {

// Every emulator window reads every pad, focused or not. So that each
// linked cabinet is driven by a pad of its own, cabinet k's inputs read pad
// k where cabinet 1's read pad 1 or any pad; keys reach the focused window
// alone and stay as they are.

// `value`, a comma list of sources, with each source of pad 1 or of any pad
// ("JOY1_BUTTON1", "JOY_XAXIS", in any case) made one of pad `cabinet`
// ("JOY2_BUTTON1", "JOY2_XAXIS"); every other source, and every byte
// between them, as it was.
QByteArray padSourcesFor(QByteArrayView value, int cabinet);

// The name of a setting of pad 1 made the same setting of pad `cabinet`
// ("InputJoy1XDeadZone" -> "InputJoy3XDeadZone"); any other name as it is.
QByteArray padSettingFor(QByteArrayView name, int cabinet);

} // namespace emulator
