// Linked-play benchmark: the front-end's work before the first of four
// cabinets runs: cabinet 1's ring settings read from the working copy, the
// ports tried, the tiles and command lines made, and cabinets 2 to 4 made
// ready in their folders (the installation's files brought, the
// configuration kept in step, ports and pads written). The first start
// copies the installation into each folder; later starts are timed with the
// working copy unchanged and with one setting changed in it each time.
//
//   linked-bench EMULATOR_FOLDER [RUNS]

#include "emulator/CabinetFolders.h"
#include "emulator/CabinetTiles.h"
#include "emulator/ConfigDocument.h"
#include "emulator/ConfigFile.h"
#include "emulator/ConfigLocations.h"
#include "platform/PortProbe.h"

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

// One linked start's work, up to the first process; false when it failed.
bool prepare(const QString& program, const QString& emulatorFolder) {
    const emulator::ConfigRead read = emulator::readConfigFile(emulator::workingConfig(program));
    const emulator::ConfigDocument document(read.bytes);
    const emulator::Ring ring =
        emulator::linkRing(kCabinets, emulator::ringSettings(document, kSet), kSet);
    if (!ring.problem.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(ring.problem));
        return false;
    }
    for (const emulator::CabinetPorts& ports : ring.cabinets) {
        if (const auto taken = platform::portTaken(ports.in)) {
            std::fprintf(stderr, "port %d: %s\n", ports.in, qPrintable(*taken));
            return false;
        }
    }
    const QList<emulator::Tile> tiles =
        emulator::cabinetTiles(kCabinets, QRect(0, 27, 1920, 1053), QPoint(0, 0), 1.0);
    emulator::GameLaunch launch;
    launch.emulatorFolder = emulatorFolder;
    launch.romFolder = QStringLiteral("/roms/");
    launch.romSet = QString::fromLatin1(kSet);
    for (int k = 1; k <= kCabinets; ++k) {
        if (k > 1) {
            const emulator::CabinetReady ready = emulator::prepareCabinet(
                program, emulatorFolder, {k, kSet, kTypes, ring.cabinets[k - 1]});
            if (ready.failure || !ready.problems.isEmpty()) {
                std::fprintf(stderr, "%s\n",
                             qPrintable(ready.failure.value_or(ready.problems.join(u'\n'))));
                return false;
            }
            emulator::cabinetHasNvram(program, k, QString::fromLatin1(kSet));
        }
        emulator::cabinetCommandLine(launch, tiles[k - 1], u'"');
    }
    return true;
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
