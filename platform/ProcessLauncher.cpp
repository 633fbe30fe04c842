#include "platform/ProcessLauncher.h"

#include <QProcess>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace platform {

bool ProcessLauncher::start(const QString& program, const QStringList& arguments,
                            emulator::WindowState state) {
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
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
#endif
    return process.startDetached();
}

} // namespace platform
