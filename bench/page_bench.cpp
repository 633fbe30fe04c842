// The binding panel's speed with the emulator's full first-start file as a
// user edits it (263 lines), on tmpfs: opening the panel, turning to the
// game's page, switching games on it, and Save's work after its questions.
// Each step is run many times; the median and the worst are printed.
//
//   page-bench [RUNS]                 the timings
//   page-bench --shot OUT.png [ROW]   a picture of the panel on the page of
//                                     row ROW (5: Virtual On, the largest),
//                                     its inputs as the definitions list them
//   page-bench --pad-shot OUT.png [SCALE]  the game controller set up for a
//                                     racer, a fighter, Virtual On and a
//                                     light-gun game, two by two, at SCALE

#include "app/Frontend.h"
#include "bench/Fakes.h"
#include "bindings/PadLayout.h"
#include "bindings/PadView.h"
#include "emulator/Launcher.h"
#include "tests/support/Definitions.h"
#include "ui/ClickableLabel.h"
#include "ui/Dialogs.h"
#include "ui/Form1.h"
#include "ui/GameList.h"
#include "ui/PadPicture.h"
#include "ui/PadSetupView.h"
#include "ui/Panel.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// The input types of the built-in rows' sets, as the emulator's definitions
// list them.
const QStringList kTypes[] = {
    {"common", "joystick1", "joystick2", "fighting"},             // vf3
    {"common", "vehicle", "vr4", "shiftupdown"},                  // lemans24
    {"common", "vehicle", "shift4", "vr4"},                       // scud
    {"common", "vehicle", "shift4", "vr4"},                       // scudp
    {"common", "analog_gun1", "analog_gun2"},                     // lostwsga
    {"common", "twin_joysticks"},                                 // von2
    {"common", "joystick1", "joystick2", "soccer"},               // vs298
    {"common", "vehicle", "shift4", "handbrake", "viewchange"},   // srally2
    {"common", "vehicle", "shift4", "vr4"},                       // daytona2
    {"common", "vehicle", "shift4", "vr4"},                       // dayto2pe
    {"common", "joystick1", "joystick2", "fighting"},             // fvipers2
    {"common", "vehicle", "shiftupdown", "harley", "viewchange"}, // harley
    {"common", "analog_gun1", "analog_gun2"},                     // lamachin
    {"common", "analog_gun1", "analog_gun2"},                     // oceanhun
    {"common", "analog_joystick"},                                // swtrilgy
    {"common", "vehicle", "shiftupdown", "viewchange"},           // eca
};

struct Panel {
    QTemporaryDir dir{QStringLiteral("/dev/shm/page-bench-XXXXXX")};
    ui::Form1 form;
    YesDialogs dialogs;
    NoLauncher launcher;
    app::Frontend frontend{form, dialogs, launcher, dir.path(), [] {}};

    Panel() {
        QDir(dir.path()).mkpath(QStringLiteral("Config"));
        QDir(dir.path()).mkpath(QStringLiteral("Supermodel_0.1a_Win32"));
        QFile file(dir.path() + QStringLiteral("/Config/Supermodel.ini"));
        if (file.open(QIODevice::WriteOnly))
            file.write(usersFile());
        QDir(dir.path()).mkpath(QStringLiteral("Supermodel_0.1a_Win32/Config"));
        QFile games(dir.path() + QStringLiteral("/Supermodel_0.1a_Win32/Config/Games.xml"));
        if (games.open(QIODevice::WriteOnly))
            games.write(builtInDefinitions([](int row) { return kTypes[row]; }));
        frontend.start();
        form.show();
        QApplication::processEvents(); // the definitions join just after start-up
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

// Player 1's pad for four kinds of game, two by two, drawn at `scale`.
int padShot(const QString& out, qreal scale) {
    const QStringList games[] = {
        {"common", "vehicle", "shift4", "vr4"},           // Scud Race
        {"common", "joystick1", "joystick2", "fighting"}, // Virtua Fighter 3
        {"common", "twin_joysticks"},                     // Virtual On
        {"common", "analog_gun1", "analog_gun2"},         // The Lost World
    };
    const QSize size = ui::PadPicture().sizeHint();
    const int gap = 12;
    QImage image(QSize(2 * size.width() + gap, 2 * size.height() + gap) * scale,
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (int i = 0; i < 4; ++i) {
        ui::PadPicture picture;
        QPalette white = picture.palette();
        white.setColor(QPalette::Window, Qt::white);
        picture.setPalette(white);
        picture.resize(size);
        const QStringList& types = games[i];
        bindings::showPadLayout(picture,
                                bindings::defaultPadLayout(types, bindings::padPlayers(types)), 1,
                                false, types);
        picture.render(&painter,
                       QPoint(i % 2 * (size.width() + gap), i / 2 * (size.height() + gap)));
    }
    painter.end();
    return image.save(out) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 3 && args[1] == QLatin1String("--pad-shot"))
        return padShot(args[2], args.size() > 3 ? args[3].toDouble() : 1.0);
    if (args.size() >= 3 && args[1] == QLatin1String("--shot")) {
        Panel p;
        p.form.List2->setCurrentRow(args.size() > 3 ? args[3].toInt() : 5);
        p.form.Command3->click();
        p.form.page().Command8->click();
        QApplication::processEvents();
        return p.form.grab().save(args[2]) ? 0 : 1;
    }
    const int runs = args.size() > 1 ? args[1].toInt() : 30;
    std::vector<double> open, turn, change, save;
    for (int i = 0; i < runs; ++i) {
        Panel p;
        p.form.List2->setCurrentRow(5);
        QApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        p.form.Command3->click();
        QApplication::processEvents();
        open.push_back(ms(timer));
        timer.restart();
        p.form.page().Command8->click();
        QApplication::processEvents();
        turn.push_back(ms(timer));
        timer.restart();
        p.form.List2->setCurrentRow(i % 2 ? 7 : 0);
        QApplication::processEvents();
        change.push_back(ms(timer));
        // An edit on the page and one on the chart, then Save (its questions
        // answer at once here).
        p.form.slotLabel(ui::Form1::kPageFirstSlot + 3)->setFocus();
        Q_EMIT p.form.slotDoubleClicked(ui::Form1::kPageFirstSlot + 3);
        Q_EMIT p.form.captureKeyPressed(Qt::Key_G, QStringLiteral("g"), 0);
        timer.restart();
        p.form.Command6->click();
        QApplication::processEvents();
        save.push_back(ms(timer));
    }
    report("open the panel", open);
    report("turn to the page (Virtual On)", turn);
    report("switch games on the page", change);
    report("Save after its questions", save);

    // The game controller set-up: painted before SDL starts, which is timed
    // on its own (the first start loads the library).
    std::vector<double> setUp, sdl, follow, applySave;
    for (int i = 0; i < runs; ++i) {
        Panel p;
        p.form.List2->setCurrentRow(0);
        p.form.Command3->click();
        p.form.page().Command8->click();
        QApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        p.form.page().Command10->click();
        p.form.padSetup().Picture6->repaint();
        setUp.push_back(ms(timer));
        timer.restart();
        QApplication::processEvents(); // SDL starts here
        sdl.push_back(ms(timer));
        timer.restart();
        p.form.List2->setCurrentRow(i % 2 ? 8 : 5);
        p.form.padSetup().Picture6->repaint();
        follow.push_back(ms(timer));
        p.form.List2->setCurrentRow(0);
        QApplication::processEvents();
        timer.restart();
        p.form.padSetup().Command12->click();
        p.form.Command6->click();
        QApplication::processEvents();
        applySave.push_back(ms(timer));
    }
    std::printf("SDL's first start                  %6.2f ms\n", sdl.front());
    sdl.erase(sdl.begin());
    report("open the pad set-up, painted", setUp);
    report("SDL started again", sdl);
    report("switch games on the set-up", follow);
    report("Apply + Save (263-line file)", applySave);
    return 0;
}
