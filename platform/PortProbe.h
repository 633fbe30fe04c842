#pragma once

#include <QString>
#include <optional>

namespace platform {

// Whether a TCP port can be listened on here as the emulator listens on
// one: on every interface (0.0.0.0), with address reuse, so a port a
// connection ended on a moment ago (still waiting out TIME_WAIT) counts as
// free, as it is for the emulator. Returns why it cannot ("it is taken"),
// or nothing when it can.
std::optional<QString> portTaken(int port);

} // namespace platform
