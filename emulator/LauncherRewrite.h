#pragma once

#include <QByteArrayView>

namespace emulator {

// The emulator's own launcher (its window when started without arguments)
// saves the configuration file by writing it anew with the global section
// alone: game sections, other sections and comments are gone, and every
// setting it knows stands in "[ Global ]", unquoted, the built-in ones
// merged with the file's.

// Whether `player`, the player's file now, has the shape such a save leaves
// of `base`, the file before it: `base` had a section besides the global
// one or a comment; `player` has neither, opens with "[ Global ]" and names
// there every setting whose built-in value is not empty, save those the
// launcher writes only when the file names them (the force feedback's
// strength, the joysticks' dead zones and saturations).
bool rewrittenByLauncher(QByteArrayView base, QByteArrayView player);

} // namespace emulator
