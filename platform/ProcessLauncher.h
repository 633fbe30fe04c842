#pragma once

#include "emulator/Launcher.h"

namespace platform {

// Starts the emulator detached: not waited for, no handle kept, in the
// front-end's current folder, with the program and each argument passed as
// they are, never through a shell.
class ProcessLauncher final : public emulator::Launcher {
public:
    bool start(const QString& program, const QStringList& arguments,
               emulator::WindowState state) override;
};

} // namespace platform
