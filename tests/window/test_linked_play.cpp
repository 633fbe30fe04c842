// Linked play from the row menu, with the test launcher: which rows offer
// it, what refuses it, and what each cabinet is started with.

#include "support/Fakes.h"
#include "support/Listening.h"
#include "support/ZipBytes.h"

#include "ui/CheckBox.h"
#include "ui/GameList.h"
#include "ui/Notice.h"

#include <QApplication>
#include <QMenu>
#include <QTest>

#include <unistd.h>

namespace {

// Daytona USA 2 links; Virtua Fighter 3 does not.
const QByteArray kDefinitions = R"(<games>
  <game name="vf3"><identity><title>Virtua Fighter 3</title><version>Japan</version></identity>
    <hardware><inputs><input type="common"/><input type="fighting"/></inputs></hardware>
    <roms><region name="crom"><file offset="0" name="a.20" crc32="0x11111111"/></region></roms></game>
  <game name="daytona2"><identity><title>Daytona USA 2</title><version>Export</version></identity>
    <hardware><netboard>true</netboard>
      <inputs><input type="common"/><input type="vehicle"/></inputs></hardware>
    <roms><region name="crom"><file offset="0" name="d.20" crc32="0x22222222"/></region></roms></game>
</games>)";

constexpr int kVf3Row = 0;
constexpr int kDaytonaRow = 8;

struct LinkedFixture : FrontEndFixture {
    explicit LinkedFixture(bool definitions = true) {
        if (definitions)
            writeFile(QStringLiteral("Supermodel_0.1a_Win32/Config/Games.xml"), kDefinitions);
        writeFile(emulatorFile(), "#!/bin/sh\n");
        writeFile(QStringLiteral("Roms/vf3.zip"),
                  zipbytes::archive({zipbytes::member("a.20", 0x11111111)}));
        writeFile(QStringLiteral("Roms/daytona2.zip"),
                  zipbytes::archive({zipbytes::member("d.20", 0x22222222)}));
        frontend.start();
        QCoreApplication::processEvents(); // the definitions join just after start-up
    }
    // The player's ring in the working copy.
    void ring(int in, int out) {
        writeFile(QStringLiteral("Config/Supermodel.ini"),
                  "[ Global ]\r\nPortIn = " + QByteArray::number(in) +
                      "\r\nPortOut = " + QByteArray::number(out) + "\r\n");
    }
    // The row's menu, as the window opens it.
    QMenu* rowMenu(int row) {
        form.List2->setCurrentRow(row);
        Q_EMIT form.list2MenuRequested(row, QPoint());
        return qobject_cast<QMenu*>(QApplication::activePopupWidget());
    }
    // Chooses "Linked play", then `cabinets` cabinets, on the row's menu.
    void linkedPlay(int row, int cabinets) {
        QMenu* menu = rowMenu(row);
        QVERIFY(menu);
        QAction* linked = menu->actions().value(menu->actions().size() - 3);
        QVERIFY(linked && linked->menu());
        linked->menu()->actions().value(cabinets - 2)->trigger();
        menu->close();
    }
};

} // namespace

class LinkedPlayTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void offeredForNetBoardSetsOnly_data();
    void offeredForNetBoardSetsOnly();
    void refusedWithTheReason_data();
    void refusedWithTheReason();
    void everyCabinetStartsInItsFolderOnItsTile();
};

void LinkedPlayTest::offeredForNetBoardSetsOnly_data() {
    QTest::addColumn<bool>("definitions");
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("linked"); // the entries of "Linked play"
    QTest::newRow("a set with a net board")
        << true << kDaytonaRow << QStringList{"&2 cabinets", "&3 cabinets", "&4 cabinets"};
    QTest::newRow("a set without") << true << kVf3Row << QStringList{};
    QTest::newRow("the built-in table alone") << false << kDaytonaRow << QStringList{};
}

void LinkedPlayTest::offeredForNetBoardSetsOnly() {
    QFETCH(bool, definitions);
    QFETCH(int, row);
    QFETCH(QStringList, linked);
    LinkedFixture f(definitions);
    QMenu* menu = f.rowMenu(row);
    QVERIFY(menu);
    QStringList entries;
    for (const QAction* action : menu->actions()) {
        if (action->menu() && action->text() == QLatin1String("&Linked play")) {
            for (const QAction* each : action->menu()->actions())
                entries << each->text();
        }
    }
    menu->close();
    QCOMPARE(entries, linked);
}

void LinkedPlayTest::refusedWithTheReason_data() {
    QTest::addColumn<int>("portOut"); // 0: PortIn + 1
    QTest::addColumn<QString>("named");
    QTest::newRow("a port taken") << 0 << QStringLiteral("listen on port %1");
    QTest::newRow("PortOut not PortIn + 1")
        << 5 << QStringLiteral("PortOut is \"5\" in [ Global ]");
}

void LinkedPlayTest::refusedWithTheReason() {
    QFETCH(int, portOut);
    QFETCH(QString, named);
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    const int taken = listening(fd);
    LinkedFixture f;
    f.ring(taken, portOut ? portOut : taken + 1);
    f.linkedPlay(kDaytonaRow, 2);
    ::close(fd);
    QCOMPARE(f.launcher.starts.size(), 0);
    QCOMPARE(f.dialogs.boxes.size(), 1);
    QVERIFY2(f.dialogs.boxes[0].text.contains(named.arg(taken)),
             qPrintable(f.dialogs.boxes[0].text));
    QVERIFY(!QDir(f.path(QStringLiteral("Cabinets"))).exists());
}

void LinkedPlayTest::everyCabinetStartsInItsFolderOnItsTile() {
    // A port just free, and the next ones most likely too.
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    const int base = listening(fd);
    ::close(fd);
    LinkedFixture f;
    f.ring(base, base + 1);
    f.form.Check2->setValue(1); // full screen: never for a cabinet
    f.form.show();
    f.linkedPlay(kDaytonaRow, 3);
    QVERIFY2(f.dialogs.boxes.isEmpty(), qPrintable(f.dialogs.boxes.value(0).text));
    QCOMPARE(f.launcher.starts.size(), 3);
    for (int k = 1; k <= 3; ++k) {
        const FakeLauncher::Start& start = f.launcher.starts[k - 1];
        QCOMPARE(start.workingFolder,
                 k == 1 ? f.folder() : f.path(QStringLiteral("Cabinets/%1/").arg(k)));
        QCOMPARE(start.arguments.value(0), f.path(QStringLiteral("Roms/daytona2.zip")));
        QVERIFY(!start.arguments.contains(QStringLiteral("-fullscreen")));
        for (const char* option : {"-window", "-borderless", "-net", "-simulate-netboard"})
            QVERIFY(start.arguments.contains(QLatin1String(option)));
        QCOMPARE(start.arguments.filter(QStringLiteral("-window-pos=")).size(), 1);
        QCOMPARE(start.arguments.filter(QStringLiteral("-res=")).size(), 1);
    }
    QVERIFY(f.readFile(QStringLiteral("Cabinets/3/Config/Supermodel.ini"))
                .contains("PortIn = " + QByteArray::number(base + 2)));
    QCOMPARE(ui::noticeShown(f.form),
             QStringLiteral("Cabinets 1, 2 and 3 have no NVRAM for daytona2 yet: set each one's "
                            "link role in the game's test menu."));
    // Cabinet 1's file is the player's, untouched for the link.
    QVERIFY(!f.readFile(QStringLiteral("Config/Supermodel.ini")).contains("Outputs"));

    // The window comes back with the last one; one box, by cabinet.
    f.launcher.finish(1, {QStringLiteral("Error: one")}, true, 1);
    f.launcher.finish(0, {}, true, 0);
    QCOMPARE(f.dialogs.boxes.size(), 0);
    QVERIFY(f.form.isMinimized());
    f.launcher.finish(-1, {}, true, 2);
    QVERIFY(!f.form.isMinimized());
    QCOMPARE(f.dialogs.boxes.size(), 1);
    QCOMPARE(f.dialogs.boxes[0].text,
             QStringLiteral("Emu Error ...\nCabinet 2:\n    Error: one\nCabinet 3:\n    The "
                            "emulator stopped abnormally and printed no error line."));
}

QTEST_MAIN(LinkedPlayTest)
#include "test_linked_play.moc"
