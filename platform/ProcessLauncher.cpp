#include "platform/ProcessLauncher.h"

#include "emulator/RunOutput.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryFile>
#include <vector>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace platform {

struct ProcessLauncher::Run {
    // Deleted only once the process has ended: deleting a running QProcess
    // kills it.
    QProcess* process = new QProcess;
    QTemporaryFile output{QDir::tempPath() + QStringLiteral("/kestrun-emulator-XXXXXX.log")};
};

ProcessLauncher::ProcessLauncher() = default;

namespace {

// The QProcesses of runs still going when their launcher goes: never deleted,
// and kept reachable for the rest of the process rather than leaked.
std::vector<QProcess*>& givenUp() {
    static auto* const processes = new std::vector<QProcess*>;
    return *processes;
}

} // namespace

ProcessLauncher::~ProcessLauncher() {
    // Whatever still runs is left running.
    for (const auto& run : m_runs) {
        run->process->disconnect();
        if (run->process->state() == QProcess::NotRunning)
            delete run->process;
        else
            givenUp().push_back(run->process);
    }
}

bool ProcessLauncher::start(const QString& program, const QStringList& arguments,
                            emulator::WindowState state, const QString& workingFolder) {
    auto run = std::make_unique<Run>();
    QProcess& process = *run->process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(workingFolder);
    process.setStandardInputFile(QProcess::nullDevice());
    // Both streams into one file, as "2>&1" would; without a file, nowhere.
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setStandardOutputFile(run->output.open() ? run->output.fileName()
                                                     : QProcess::nullDevice());
#ifdef Q_OS_WIN
    process.setCreateProcessArgumentsModifier([state](QProcess::CreateProcessArguments* args) {
        args->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        args->startupInfo->wShowWindow =
            state == emulator::WindowState::Minimized ? SW_SHOWMINIMIZED : SW_SHOWNORMAL;
    });
#else
    // Window states are a Windows notion; elsewhere the emulator opens its
    // own window as it likes.
    (void)state;
    // Its own session: the hang-up of the terminal the front-end was started
    // from, or Ctrl+C there, does not reach it.
    process.setChildProcessModifier([] { ::setsid(); });
#endif
    process.start();
    if (!process.waitForStarted(-1)) {
        delete run->process;
        return false;
    }
#ifndef Q_OS_WIN
    // The file is open on both sides; without its name nothing is left behind
    // however either process ends.
    if (run->output.isOpen())
        QFile::remove(run->output.fileName());
#endif
    Run* const watched = run.get();
    connect(&process, &QProcess::finished, this,
            [this, watched](int exitCode, QProcess::ExitStatus exitStatus) {
                ended(watched, exitStatus == QProcess::NormalExit ? exitCode : -1);
            });
    m_runs.push_back(std::move(run));
    return true;
}

void ProcessLauncher::ended(Run* run, int status) {
    QStringList errorLines;
    if (run->output.isOpen())
        errorLines = emulator::lastErrorLines(emulator::readOutputTail(run->output));
    run->process->deleteLater();
    std::erase_if(m_runs, [run](const auto& owned) { return owned.get() == run; });
    Q_EMIT finished(status, errorLines);
}

} // namespace platform
