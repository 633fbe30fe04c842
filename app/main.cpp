#include "app/Frontend.h"
#include "emulator/ProcessLauncher.h"
#include "platform/InstanceLock.h"
#include "platform/TerminationSignals.h"
#include "ui/Dialogs.h"
#include "ui/Form1.h"

#include <QApplication>
#include <QDir>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrun"));
    QApplication::setQuitOnLastWindowClosed(false);

    // A second copy says so and ends, having touched nothing. With nowhere to
    // keep a lock, the program runs unguarded rather than not at all.
    platform::InstanceLock instance(QApplication::applicationFilePath());
    if (instance.acquire() == platform::InstanceLock::Outcome::RunningElsewhere) {
        ui::MessageBoxDialogs(nullptr).tell(QStringLiteral("Program has been running ..."),
                                            QStringLiteral("Err"));
        return 0;
    }

    ui::Form1 form;
    ui::MessageBoxDialogs dialogs(&form);
    emulator::ProcessLauncher launcher;
    app::Frontend frontend(form, dialogs, launcher,
                           QDir::toNativeSeparators(QApplication::applicationDirPath()),
                           [&instance] {
                               instance.release();
                               platform::endProcess(0);
                           });

    platform::TerminationSignals termination;
    QObject::connect(&termination, &platform::TerminationSignals::terminationRequested, &frontend,
                     &app::Frontend::shutdown);
    QObject::connect(&application, &QGuiApplication::commitDataRequest, &frontend,
                     &app::Frontend::shutdown);

    frontend.start();
    form.show();
    return QApplication::exec();
}
