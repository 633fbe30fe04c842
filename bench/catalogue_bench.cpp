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

#include "app/Frontend.h"
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
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
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
};

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "catalogue-bench: %s\n", what);
    std::exit(2);
}

QList<zipbytes::Member> membersOf(const catalogue::GameSet& set) {
    QList<zipbytes::Member> members;
    for (const catalogue::RomRegion& region : set.regions) {
        for (const catalogue::RomFile& file : region.files)
            members.append({file.name.toUtf8(), file.crc32});
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
        15, [] {}, [&form] { catalogue::completeStartup(form); });
    if (form.List2->count() != 27 || form.Label2[2]->text() != QLatin1String("63"))
        fail("the collection did not give 27 rows and 63 archives");
    const double scan = medianMs(
        15, [] {}, [&form] { catalogue::newScan(form); });
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
    std::printf("New Scan over 63 archives:                %6.2f ms (goal: under 30)%s\n", scan,
                scan < 30 ? "" : ", NOT MET");
    std::printf("selecting a game, sparse 200 MB archive:  %6.2f ms (goal: under 10)%s\n", select,
                select < 10 ? "" : ", NOT MET");
    return scan < 30 && select < 10 ? 0 : 1;
}
