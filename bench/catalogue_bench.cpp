// catalogue-bench GAMES_XML [--make-fixture DIR]
//
// With --make-fixture: writes DIR/emu/Config/Games.xml and one archive per
// set of the definitions in DIR/roms/ (a genuine directory, no data), the
// collection the start-up benchmark starts the program on, and ends.
//
// Otherwise: times, on the window model with such a collection, reading the
// definitions into the game list just after start-up, New Scan over every
// archive, and selecting a game whose archive is a sparse 200 MB file with a
// genuine directory (read again each time: its time changes). Medians of 15.
// Then the hostile shapes, each selected once and ten times more: archives
// with a 64 MiB directory, and at the reader's bounds; a clone whose parent's
// archive has such a directory; a ROM folder of 100,000 archives. And New
// Scan over generated definitions: a chain of 40,000 clones, and 100,000
// titles.

#include "app/Frontend.h"
#include "bench/Memory.h"
#include "catalogue/Definitions.h"
#include "catalogue/RomScan.h"
#include "catalogue/SelectionView.h"
#include "emulator/Launcher.h"
#include "ui/Dialogs.h"
#include "ui/Form1.h"
#include "ui/GameList.h"

#include "../tests/support/ZipBytes.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

struct NoDialogs final : ui::Dialogs {
    void tell(const QString&, const QString&) override {}
    bool ask(const QString&, const QString&) override { return false; }
};

struct NoLauncher final : emulator::Launcher {
    bool start(const QString&, const QStringList&, emulator::WindowState, const QString&) override {
        return false;
    }
    bool running() const override { return false; }
    int lastRun() const override { return -1; }
};

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "catalogue-bench: %s\n", what);
    std::exit(2);
}

QList<zipbytes::Member> membersOf(const catalogue::GameSet& set) {
    QList<zipbytes::Member> members;
    for (const catalogue::RomRegion& region : set.regions) {
        for (const catalogue::RomFile& file : region.files)
            members.append(zipbytes::member(file.name.toUtf8(), file.crc32));
    }
    return members;
}

void write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        fail("cannot write the fixture");
}

catalogue::Definitions makeFixture(const QString& gamesXml, const QString& dir) {
    QFile file(gamesXml);
    if (!file.open(QIODevice::ReadOnly))
        fail("cannot read the definitions");
    const QByteArray xml = file.readAll();
    const auto definitions = catalogue::parseDefinitions(xml);
    if (!definitions)
        fail("the definitions do not parse");
    write(dir + QStringLiteral("/emu/Config/Games.xml"), xml);
    for (const catalogue::GameSet& set : definitions->sets)
        write(dir + QStringLiteral("/roms/") + set.name + QStringLiteral(".zip"),
              zipbytes::archive(membersOf(set)));
    return *definitions;
}

double medianMs(int runs, const std::function<void()>& before, const std::function<void()>& work) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        before();
        QElapsedTimer timer;
        timer.start();
        work();
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

// The processor time of this process so far.
double processorMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// A selection step: its time, its processor time (the machine may be
// shared) and what it added to the peak memory.
struct Step {
    double ms = 0;
    double cpuMs = 0;
    double mb = 0;
};

Step measured(const std::function<void()>& work) {
    bench::resetPeak();
    const qint64 before = bench::statusKiB("VmRSS");
    const double cpuBefore = processorMs();
    QElapsedTimer timer;
    timer.start();
    work();
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    return {ms, processorMs() - cpuBefore, double(bench::statusKiB("VmHWM") - before) / 1024.0};
}

// Members with numbered names of `nameLength` bytes, each with `extra` and
// `comment` as given.
QList<zipbytes::Member> fillers(int count, int nameLength, const QByteArray& extra = {},
                                const QByteArray& comment = {}) {
    QList<zipbytes::Member> members;
    for (int i = 0; i < count; ++i) {
        zipbytes::Member m =
            zipbytes::member(QByteArray::number(i).rightJustified(nameLength, 'f'), quint32(i));
        m.extra = extra;
        m.comment = comment;
        members.append(m);
    }
    return members;
}

// A directory alone, its end record a zip64 one when the count needs it.
QByteArray directoryArchive(const QList<zipbytes::Member>& members) {
    const QByteArray dir = zipbytes::directory(members);
    const auto n = quint64(members.size());
    if (n < 0xFFFF)
        return dir + zipbytes::endRecord(n, quint64(dir.size()), 0);
    return dir + zipbytes::zip64End(n, quint64(dir.size()), 0, quint64(dir.size()));
}

// Generated definitions: `count` sets, each titled by `title(i)`, set i a
// clone of set i - 1 when `chain` (set 0 a clone of a set the file lacks
// when `rootMissing`), and one more set that stands alone.
QByteArray generatedDefinitions(int count, bool chain, bool rootMissing,
                                const std::function<QByteArray(int)>& title) {
    QByteArray xml = "<games>\n";
    auto name = [](int i) { return "g" + QByteArray::number(i).rightJustified(6, '0'); };
    for (int i = 0; i < count; ++i) {
        QByteArray parent;
        if (chain && i > 0)
            parent = " parent=\"" + name(i - 1) + "\"";
        else if (chain && rootMissing)
            parent = " parent=\"missing\"";
        // Short enough for 100,000 of them to stay under the 16 MiB a
        // definitions file may have.
        xml += "<game name=\"" + name(i) + "\"" + parent + "><identity><title>" + title(i) +
               "</title></identity><roms><region name=\"crom\"><file name=\"f\" crc32=\"0x" +
               QByteArray::number(i, 16) + "\"/></region></roms></game>\n";
    }
    xml += "<game name=\"alone\"><identity><title>Alone</title></identity><roms><region "
           "name=\"crom\"><file name=\"f\" crc32=\"0xa10e\"/></region>"
           "</roms></game>\n</games>\n";
    return xml;
}

bool allMet = true;

void report(const char* what, double value, const char* unit, double goal, double cpuMs = -1) {
    const bool met = value < goal;
    allMet = allMet && met;
    std::printf("%-58s %8.2f %s (goal: under %g)%s", what, value, unit, goal,
                met ? "" : ", NOT MET");
    if (cpuMs >= 0)
        std::printf(", processor %.2f ms", cpuMs);
    std::printf("\n");
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList args = application.arguments();
    if (args.size() < 2)
        fail("usage: catalogue-bench GAMES_XML [--make-fixture DIR]");
    if (args.size() == 4 && args[2] == QLatin1String("--make-fixture")) {
        makeFixture(args[1], args[3]);
        return 0;
    }

    QTemporaryDir dir;
    const QString root = dir.path();
    const catalogue::Definitions definitions = makeFixture(args[1], root);
    write(root + QStringLiteral("/emu/supermodel"), "#!/bin/sh\n");
    write(root + QStringLiteral("/program/Config/Kestrun.ini"),
          (root + QStringLiteral("/emu/\r\n") + root +
           QStringLiteral("/roms/\r\n640\r\n480\r\n0\r\n0\r\n0\r\n"))
              .toUtf8());
    // Virtua Fighter 3's archive: its genuine directory after 200 MB.
    const QString vf3 = root + QStringLiteral("/roms/vf3.zip");
    QList<zipbytes::Member> members = membersOf(definitions.sets[definitions.indexOf("vf3")]);
    for (zipbytes::Member& member : members)
        member.offset = 0;
    const QByteArray directory = zipbytes::directory(members);
    const qint64 hole = qint64(200) << 20;
    if (!zipbytes::writeSparse(vf3, {}, hole,
                               directory + zipbytes::endRecord(quint64(members.size()),
                                                               quint64(directory.size()),
                                                               quint64(hole))))
        fail("cannot write the sparse archive");

    ui::Form1 form;
    NoDialogs dialogs;
    NoLauncher launcher;
    app::Frontend frontend(form, dialogs, launcher, root + QStringLiteral("/program"), [] {});
    frontend.start(); // the built-in rows; the definitions are what is timed

    const double load = medianMs(
        15, [] {},
        [&form, &frontend] { catalogue::JoinDefinitions(form, frontend.gameCatalogue()); });
    if (form.List2->count() != 27 || form.Label2[2]->text() != QLatin1String("63"))
        fail("the collection did not give 27 rows and 63 archives");
    const double scan = medianMs(
        15, [] {}, [&form, &frontend] { catalogue::NewScan(form, frontend.gameCatalogue()); });
    int touch = 0;
    const double select = medianMs(
        15,
        [&] {
            form.List2->setCurrentRow(1);
            QFile file(vf3);
            file.open(QIODevice::ReadWrite);
            file.setFileTime(QDateTime::currentDateTime().addSecs(++touch),
                             QFileDevice::FileModificationTime);
        },
        [&form] { form.List2->setCurrentRow(0); });

    std::printf("definitions into the list after start-up: %6.2f ms (median of 15)\n", load);
    report("New Scan over 63 archives", scan, "ms", 30);
    report("selecting a game, sparse 200 MB archive", select, "ms", 10);

    // A game's archive in a hostile shape: its first selection, then the
    // slowest of ten more (another game selected between them).
    auto selectTenTimes = [&form](int row, const char* what) {
        form.List2->setCurrentRow(row == 0 ? 1 : 0);
        const Step first = measured([&form, row] { form.List2->setCurrentRow(row); });
        Step slowest;
        for (int i = 0; i < 10; ++i) {
            form.List2->setCurrentRow(row == 0 ? 1 : 0);
            const Step next = measured([&form, row] { form.List2->setCurrentRow(row); });
            if (next.ms > slowest.ms)
                slowest = next;
        }
        std::printf("%s\n", what);
        report("  first selection", first.ms, "ms", 200, first.cpuMs);
        report("  first selection, memory", first.mb, "MB", 50);
        report("  slowest of ten more", slowest.ms, "ms", 10, slowest.cpuMs);
    };
    const QString lemans = root + QStringLiteral("/roms/lemans24.zip");
    const QList<zipbytes::Member> lemansFiles =
        membersOf(definitions.sets[definitions.indexOf("lemans24")]);
    write(lemans, directoryArchive(fillers(100000, 624)));
    selectTenTimes(1, "lemans24.zip, a 64 MiB directory of 100,000 members:");
    // 4,000 four-byte extra fields per member, the most a 64 MiB directory
    // of 4,096 members holds.
    write(lemans, directoryArchive(lemansFiles + fillers(4096 - int(lemansFiles.size()), 12,
                                                         QByteArray(16000, '\0'))));
    selectTenTimes(1, "lemans24.zip, a 64 MiB directory of 4,096 members with extra fields:");
    write(lemans, directoryArchive(lemansFiles + fillers(4096 - int(lemansFiles.size()), 1024)));
    selectTenTimes(1, "lemans24.zip, 4,096 members with names of 1 KiB:");

    // Scud Race Plus, a clone, beside scud.zip with a 64 MiB directory.
    const QList<zipbytes::Member> scudFiles =
        membersOf(definitions.sets[definitions.indexOf("scud")]);
    write(root + QStringLiteral("/roms/scud.zip"),
          directoryArchive(scudFiles +
                           fillers(4096 - int(scudFiles.size()), 12, {}, QByteArray(16000, 'c'))));
    selectTenTimes(3, "scudplus.zip beside scud.zip with a 64 MiB directory:");

    // The collection as it was, for what follows.
    write(lemans, zipbytes::archive(lemansFiles));
    write(root + QStringLiteral("/roms/scud.zip"), zipbytes::archive(scudFiles));

    // Generated definitions, read and listed by New Scan: each time from
    // the collection's own (the same file again is not read anew). The
    // processor time is given too, as the machine may be shared.
    const QString emu = form.Text4->text();
    auto scanDefinitions = [&](const char* what, const QByteArray& xml, int rows) {
        const QString folder = root + QStringLiteral("/generated/");
        write(folder + QStringLiteral("Config/Games.xml"), xml);
        std::vector<double> cpu;
        const double ms = medianMs(
            3,
            [&form, &frontend, &emu, &folder] {
                form.Text4->setText(emu);
                catalogue::NewScan(form, frontend.gameCatalogue());
                form.Text4->setText(folder);
            },
            [&form, &frontend, &cpu] {
                const double before = processorMs();
                catalogue::NewScan(form, frontend.gameCatalogue());
                cpu.push_back(processorMs() - before);
            });
        if (form.List2->count() != rows)
            fail("the generated definitions did not give the rows expected");
        std::sort(cpu.begin(), cpu.end());
        report(what, ms, "ms", 200, cpu[cpu.size() / 2]);
    };
    scanDefinitions("New Scan, a chain of 40,000 clones of a missing set",
                    generatedDefinitions(40000, true, true, [](int) { return "Chain"; }), 17);
    scanDefinitions("New Scan, a chain of 40,000 clones of a set",
                    generatedDefinitions(40000, true, false, [](int) { return "Chain"; }), 18);
    scanDefinitions("New Scan, 100,000 titles",
                    generatedDefinitions(100000, false, false,
                                         [](int i) { return "Title " + QByteArray::number(i); }),
                    100017);
    form.Text4->setText(emu);
    catalogue::NewScan(form, frontend.gameCatalogue());

    // A ROM folder of 100,000 archives besides the collection's.
    for (int i = 0; i < 100000; ++i)
        write(root + QStringLiteral("/roms/x") + QString::number(i) + QStringLiteral(".zip"), {});
    catalogue::NewScan(form, frontend.gameCatalogue());
    Step slowest;
    for (int i = 0; i < 10; ++i) {
        const Step next = measured([&form, i] { form.List2->setCurrentRow(i % 2); });
        if (next.ms > slowest.ms)
            slowest = next;
    }
    report("selecting a game, 100,000 archives in the folder (slowest)", slowest.ms, "ms", 10,
           slowest.cpuMs);
    const double again = medianMs(
        3, [] {}, [&form, &frontend] { catalogue::NewScan(form, frontend.gameCatalogue()); });
    std::printf("New Scan, 100,000 archives in the folder: %.2f ms (median of 3)\n", again);
    return allMet ? 0 : 1;
}
