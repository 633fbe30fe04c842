#include "emulator/ProcessLauncher.h"

#include "emulator/RunOutput.h"

#include <QIODevice>

namespace emulator {

ProcessLauncher::ProcessLauncher() {
    connect(&m_starter, &platform::ProcessStarter::finished, this,
            [this](int status, QIODevice* output, int run) {
                Q_EMIT finished(status, output ? lastErrorLines(*output) : QStringList(),
                                output != nullptr, run);
            });
    connect(&m_starter, &platform::ProcessStarter::printed, this,
            [this](const QByteArray& bytes) { Q_EMIT printed(shownOutput(m_decoder(bytes))); });
}

bool ProcessLauncher::start(const QString& program, const QStringList& arguments, WindowState state,
                            const QString& workingFolder) {
    m_decoder.resetState();
    return m_starter.start({program, arguments, workingFolder, state == WindowState::Minimized,
                            state == WindowState::Normal});
}

} // namespace emulator
