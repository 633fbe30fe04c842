#pragma once

#include "emulator/Launcher.h"

#include <memory>
#include <vector>

namespace platform {

// Starts the emulator in the folder it is given, with the program and
// each argument passed as they are, never through a shell, and watches it
// from the event loop. Its output goes to a file in the system's temporary
// folder (never to a pipe, which would break under it when the front-end
// ends), read back only when it ends. It runs in a session of its own and is
// never killed from here: closing the front-end, or the terminal that
// started it, leaves it running.
class ProcessLauncher final : public emulator::Launcher {
    Q_OBJECT
public:
    ProcessLauncher();
    ~ProcessLauncher() override;

    bool start(const QString& program, const QStringList& arguments, emulator::WindowState state,
               const QString& workingFolder) override;
    bool running() const override { return !m_runs.empty(); }

private:
    struct Run;
    void ended(Run* run, int status);

    std::vector<std::unique_ptr<Run>> m_runs;
};

} // namespace platform
