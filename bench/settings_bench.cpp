// The settings face's speed with the emulator's full first-start file as a
// user edits it (263 lines), on tmpfs: its first opening (which builds it),
// switching scope, switching games while it shows, and Save's work after an
// edit for a game. Each step is run many times; the median and the worst
// are printed.
//
//   settings-bench [RUNS]

#include "app/Frontend.h"
#include "bench/Fakes.h"
#include "emulator/Launcher.h"
#include "tests/support/Definitions.h"
#include "ui/Dialogs.h"
#include "ui/Form1.h"
#include "ui/GameList.h"
#include "ui/SettingsFace.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

void write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

struct Window {
    QTemporaryDir dir{QStringLiteral("/dev/shm/settings-bench-XXXXXX")};
    ui::Form1 form;
    YesDialogs dialogs;
    NoLauncher launcher;
    app::Frontend frontend{form, dialogs, launcher, dir.path(), [] {}};

    Window() {
        write(dir.path() + QStringLiteral("/Config/Supermodel.ini"), usersFile());
        write(dir.path() + QStringLiteral("/Supermodel_0.1a_Win32/Config/Games.xml"),
              builtInDefinitions([](int) { return QStringList{QStringLiteral("common")}; }));
        frontend.start();
        form.show();
        QApplication::processEvents(); // the definitions join just after start-up
        form.List2->setCurrentRow(3);
        QApplication::processEvents();
    }
};

double ms(QElapsedTimer& timer) {
    return double(timer.nsecsElapsed()) / 1e6;
}

void report(const char* what, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    std::printf("%-34s median %6.2f ms   worst %6.2f ms   (%zu runs)\n", what,
                times[times.size() / 2], times.back(), times.size());
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int runs = args.size() > 1 ? args[1].toInt() : 30;
    std::vector<double> open, scope, row, save;
    for (int i = 0; i < runs; ++i) {
        Window w;
        QElapsedTimer timer;
        timer.start();
        w.form.Command9->click();
        QApplication::processEvents();
        open.push_back(ms(timer));
        ui::SettingsFace* face = w.form.settingsFace();
        timer.restart();
        face->thisGameButton()->click();
        QApplication::processEvents();
        scope.push_back(ms(timer));
        timer.restart();
        w.form.List2->setCurrentRow(i % 2 ? 2 : 0);
        QApplication::processEvents();
        row.push_back(ms(timer));
        w.form.List2->setCurrentRow(3);
        face->thisGameButton()->click();
        qobject_cast<QCheckBox*>(face->editor(QStringLiteral("WideScreen")))->click();
        timer.restart();
        face->saveButton()->click();
        QApplication::processEvents();
        save.push_back(ms(timer));
    }
    report("open the settings (first time)", open);
    report("switch to this game", scope);
    report("switch games while it shows", row);
    report("Save after an edit for a game", save);
    return 0;
}
