// Linked-play benchmark: the front-end's work before the first of four
// cabinets runs, through the start's own path: cabinet 1's installation
// files brought and working copy kept in step, its ring settings read, the
// ports tried, the tiles and command lines made, and cabinets 2 to 4 made
// ready in their folders (the installation's files brought, the
// configuration kept in step, ports and pads written). The first start
// copies the installation into each folder; later starts are timed with the
// working copy unchanged and with one setting changed in it each time.
//
//   linked-bench EMULATOR_FOLDER [RUNS]

#include "emulator/ConfigLocations.h"
#include "emulator/LinkedStart.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kCabinets = 4;
constexpr double kGoalMs = 100;
const QByteArray kSet = "daytona2";
const QStringList kTypes{"common", "vehicle", "shift4"};

// A working copy of a player who set a few things up: the first-start file
// the tests use, when found, and the ring on free ports.
QByteArray workingCopy(int base, int change) {
    QFile first(QStringLiteral(KESTRUN_SOURCE "/tests/support/first-start-Supermodel.ini"));
    QByteArray bytes = first.open(QIODevice::ReadOnly) ? first.readAll() : "[ Global ]\r\n";
    bytes += "PortIn = " + QByteArray::number(base) +
             "\r\nPortOut = " + QByteArray::number(base + 1) +
             "\r\nSoundVolume = " + QByteArray::number(change) +
             "\r\n[ daytona2 ]\r\nInputAccelerator = \"KEY_UP,JOY1_RZAXIS_POS\"\r\n";
    return bytes;
}

bool write(const QString& path, const QByteArray& bytes, int age) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush())
        return false;
    return file.setFileTime(QDateTime::currentDateTime().addSecs(-age),
                            QFileDevice::FileModificationTime);
}

// One linked start's work, up to the first process, as the row menu's
// entry does it; false when it failed.
bool prepare(const QString& program, const QString& emulatorFolder) {
    emulator::LinkedRequest request;
    request.programFolder = program;
    request.launch.emulatorFolder = emulatorFolder;
    request.launch.romFolder = QStringLiteral("/roms/");
    request.launch.romSet = QString::fromLatin1(kSet);
    request.launch.width = QStringLiteral("496");
    request.launch.height = QStringLiteral("384");
    request.set = QString::fromLatin1(kSet);
    request.inputTypes = kTypes;
    request.cabinets = kCabinets;
    request.tiles = emulator::cabinetTiles(kCabinets, QRect(0, 27, 1920, 1053), QPoint(0, 0), 1.0);
    const emulator::LinkedStart start = emulator::prepareLinkedStart(request);
    if (start.failure || !start.problems.isEmpty()) {
        std::fprintf(stderr, "%s\n",
                     qPrintable(start.failure.value_or(start.problems.join(u'\n'))));
        return false;
    }
    return start.lines.size() == kCabinets;
}

double median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: linked-bench EMULATOR_FOLDER [RUNS]\n");
        return 2;
    }
    const QString emulatorFolder = QDir(args[1]).absolutePath() + u'/';
    const int runs = args.size() > 2 ? std::max(1, args[2].toInt()) : 21;
    QTemporaryDir dir;
    // No player's own files from this machine's home come in.
    qputenv("HOME", QFile::encodeName(dir.path()));
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("XDG_DATA_HOME");
    const QString program = dir.path() + QStringLiteral("/front/");
    QDir().mkpath(program + QStringLiteral("Config"));
    const QString working = emulator::workingConfig(program);
    const int base = 41970 + int(QCoreApplication::applicationPid() % 1000) * 4;

    int change = 0;
    if (!write(working, workingCopy(base, change), 1000))
        return 1;
    QElapsedTimer timer;
    timer.start();
    if (!prepare(program, emulatorFolder))
        return 1;
    const double first = double(timer.nsecsElapsed()) / 1e6;

    std::vector<double> unchanged, changed;
    for (int i = 0; i < runs; ++i) {
        timer.restart();
        if (!prepare(program, emulatorFolder))
            return 1;
        unchanged.push_back(double(timer.nsecsElapsed()) / 1e6);

        if (!write(working, workingCopy(base, ++change), 1000 - i - 1))
            return 1;
        timer.restart();
        if (!prepare(program, emulatorFolder))
            return 1;
        changed.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("linked play, %d cabinets, before the first runs (goal %.0f ms after the first):\n"
                "  first start (installation copied): %.1f ms\n"
                "  later start, working copy unchanged: %.1f ms (median of %d)\n"
                "  later start, a setting changed: %.1f ms (median of %d)\n",
                kCabinets, kGoalMs, first, median(unchanged), runs, median(changed), runs);
    return median(changed) <= kGoalMs && median(unchanged) <= kGoalMs ? 0 : 1;
}
