#pragma once

#include "emulator/Launcher.h"
#include "platform/ProcessStarter.h"

#include <QStringDecoder>

namespace emulator {

// The real launcher: starts the emulator through the platform's process
// starter, tells what the input set-up prints as it prints it, and when a run
// ends, the "Error:" lines it printed.
class ProcessLauncher final : public Launcher {
    Q_OBJECT
public:
    ProcessLauncher();

    bool start(const QString& program, const QStringList& arguments, WindowState state,
               const QString& workingFolder) override;
    bool running() const override { return m_starter.running(); }
    int lastRun() const override { return m_starter.lastRun(); }

private:
    platform::ProcessStarter m_starter;
    // A character may be split between two reads.
    QStringDecoder m_decoder{QStringDecoder::Utf8};
};

} // namespace emulator
