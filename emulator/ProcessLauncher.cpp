#include "emulator/ProcessLauncher.h"

#include "emulator/RunOutput.h"

#include <QIODevice>

namespace emulator {

ProcessLauncher::ProcessLauncher() {
    connect(&m_starter, &platform::ProcessStarter::finished, this,
            [this](int status, QIODevice* output) {
                Q_EMIT finished(status, output ? lastErrorLines(*output) : QStringList(),
                                output != nullptr);
            });
}

bool ProcessLauncher::start(const QString& program, const QStringList& arguments, WindowState state,
                            const QString& workingFolder) {
    return m_starter.start({program, arguments, workingFolder, state == WindowState::Minimized});
}

} // namespace emulator
