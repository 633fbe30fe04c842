#include "emulator/LinkedStart.h"

#include "emulator/CabinetFolders.h"
#include "emulator/ConfigDocument.h"
#include "emulator/ConfigFile.h"
#include "emulator/ConfigLocations.h"
#include "emulator/EmulatorFiles.h"
#include "emulator/LinkRing.h"
#include "emulator/PlayerConfig.h"
#include "emulator/PlayerFiles.h"
#include "platform/PortProbe.h"

#include <future>
#include <vector>

namespace emulator {

namespace {

QString cabinetList(const QList<int>& cabinets) {
    QStringList numbers;
    for (int cabinet : cabinets)
        numbers << QString::number(cabinet);
    if (numbers.size() == 1)
        return QStringLiteral("Cabinet ") + numbers.front();
    const QString last = numbers.takeLast();
    return QStringLiteral("Cabinets ") + numbers.join(QLatin1String(", ")) +
           QStringLiteral(" and ") + last;
}

} // namespace

LinkedStart prepareLinkedStart(const LinkedRequest& request) {
    LinkedStart start;
    const QString& program = request.programFolder;
    const QString& emulatorFolder = request.launch.emulatorFolder;
    if (auto failure = bringEmulatorFiles(emulatorFolder, program)) {
        start.failure = failure;
        return start;
    }
    start.problems = keepConfigInStep(program, emulatorFolder);

    const QByteArray set = request.set.toUtf8();
    const ConfigRead read = readConfigFile(workingConfig(program));
    const ConfigDocument document(read.problem == ConfigProblem::None ? read.bytes : QByteArray());
    const Ring ring = linkRing(request.cabinets, ringSettings(document, set), set);
    if (!ring.problem.isEmpty()) {
        start.failure = QStringLiteral("Linked play cannot start: ") + ring.problem;
        return start;
    }
    for (qsizetype k = 0; k < ring.cabinets.size(); ++k) {
        const int port = ring.cabinets[k].in;
        if (const auto why = platform::portTaken(port)) {
            start.failure = QStringLiteral("Linked play cannot start: cabinet %1 is to listen on "
                                           "port %2, and %3. Close what uses it, or change "
                                           "PortIn (and PortOut) in the settings.")
                                .arg(k + 1)
                                .arg(port)
                                .arg(*why);
            return start;
        }
    }

    // Each cabinet's folder is its own: they are made ready side by side, so
    // that the writes' waits for the disk overlap (one after the other where
    // no thread can be had).
    std::vector<std::future<CabinetReady>> ready;
    for (int k = 2; k <= request.cabinets; ++k)
        ready.push_back(
            std::async(std::launch::async | std::launch::deferred, [&request, &ring, &set, k] {
                return prepareCabinet(request.programFolder, request.launch.emulatorFolder,
                                      {k, set, request.inputTypes, ring.cabinets[k - 1]});
            }));
    for (std::future<CabinetReady>& each : ready) {
        const CabinetReady cabinet = each.get();
        if (cabinet.failure && !start.failure)
            start.failure = cabinet.failure;
        start.problems += cabinet.problems;
    }
    if (start.failure)
        return start;
    for (int k = 1; k <= request.cabinets; ++k) {
        start.lines.append(cabinetCommandLine(request.launch, request.tiles[k - 1], request.quote));
        start.folders.append(cabinetFolder(program, k));
    }
    start.problems += bringPlayerFiles(emulatorFolder, program, request.set);
    for (int k = 1; k <= request.cabinets; ++k) {
        if (!cabinetHasNvram(program, k, request.set))
            start.withoutNvram.append(k);
    }
    return start;
}

QString linkRoleNote(const QList<int>& cabinets, const QString& set) {
    if (cabinets.isEmpty())
        return {};
    const bool one = cabinets.size() == 1;
    return QStringLiteral("%1 %2 no NVRAM for %3 yet: set %4 link role in the game's test menu.")
        .arg(cabinetList(cabinets), one ? QStringLiteral("has") : QStringLiteral("have"), set,
             one ? QStringLiteral("its") : QStringLiteral("each one's"));
}

} // namespace emulator
