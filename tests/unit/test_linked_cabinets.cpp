#include "emulator/CabinetPads.h"
#include "emulator/CabinetTiles.h"
#include "emulator/ConfigDocument.h"
#include "emulator/LinkRing.h"

#include <QTest>

using emulator::CabinetPorts;
using emulator::Tile;
using Ports = QList<CabinetPorts>;
using Tiles = QList<Tile>;

class TestLinkedCabinets : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void ring_data();
    void ring();
    void tiles_data();
    void tiles();
    void commandLine();
    void padSources_data();
    void padSources();
};

// The ports of each cabinet, or what the message says: the setting to
// change, where it stands and the value it needs.
void TestLinkedCabinets::ring_data() {
    QTest::addColumn<int>("cabinets");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<Ports>("ports");
    QTest::addColumn<QStringList>("told");

    const QStringList none;
    QTest::newRow("two, built-in")
        << 2 << QByteArray() << Ports{{1970, 1971}, {1971, 1970}} << none;
    QTest::newRow("three") << 3 << QByteArray("PortIn = 5000\nPortOut = 5001\n")
                           << Ports{{5000, 5001}, {5001, 5002}, {5002, 5000}} << none;
    QTest::newRow("four to the last port, the set's own, hex, localhost")
        << 4
        << QByteArray("PortIn = 9\n[ daytona2 ]\nPortIn = 0xfffc\nPortOut = \"65533\"\n"
                      "AddressOut = LocalHost\n")
        << Ports{{65532, 65533}, {65533, 65534}, {65534, 65535}, {65535, 65532}} << none;
    QTest::newRow("port out not next")
        << 2 << QByteArray("[ daytona2 ]\nPortIn = 3000\n") << Ports{}
        << QStringList{"PortOut is \"1971\" by default", "Change PortOut to 3001."};
    QTest::newRow("another machine") << 2 << QByteArray("AddressOut = 127.0.0\n") << Ports{}
                                     << QStringList{"AddressOut is \"127.0.0\" in [ Global ]",
                                                    "Change AddressOut to 127.0.0.1."};
    QTest::newRow("the last cabinet past the end")
        << 4 << QByteArray("PortIn = 65533\nPortOut = 65534\n") << Ports{}
        << QStringList{"PortIn to PortIn + 3", "from 1024 to 65532"};
}

void TestLinkedCabinets::ring() {
    QFETCH(int, cabinets);
    QFETCH(QByteArray, file);
    QFETCH(Ports, ports);
    QFETCH(QStringList, told);
    const emulator::ConfigDocument document(file);
    const emulator::Ring ring =
        emulator::linkRing(cabinets, emulator::ringSettings(document, "daytona2"), "daytona2");
    QCOMPARE(ring.cabinets, ports);
    QCOMPARE(ring.problem.isEmpty(), told.isEmpty());
    for (const QString& part : told)
        QVERIFY2(ring.problem.contains(part), qPrintable(ring.problem));
}

void TestLinkedCabinets::tiles_data() {
    QTest::addColumn<int>("cabinets");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QPoint>("origin");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<Tiles>("tiles");

    QTest::newRow("two side by side") << 2 << QRect(0, 0, 1920, 1080) << QPoint() << 1.0
                                      << Tiles{{0, 0, 960, 1080}, {960, 0, 960, 1080}};
    QTest::newRow("four in quarters, under a panel")
        << 4 << QRect(0, 27, 1280, 997) << QPoint() << 1.0
        << Tiles{{0, 27, 640, 498}, {640, 27, 640, 498}, {0, 525, 640, 499}, {640, 525, 640, 499}};
    QTest::newRow("odd pixels at a quarter more") << 2 << QRect(0, 0, 1537, 864) << QPoint() << 1.25
                                                  << Tiles{{0, 0, 960, 1080}, {960, 0, 961, 1080}};
    // A screen right of a 2560-pixel one keeps its origin; the rest scales.
    QTest::newRow("three on a second screen")
        << 3 << QRect(2560, 30, 1920, 1050) << QPoint(2560, 0) << 2.0
        << Tiles{{2560, 60, 1920, 1050}, {4480, 60, 1920, 1050}, {2560, 1110, 1920, 1050}};
}

void TestLinkedCabinets::tiles() {
    QFETCH(int, cabinets);
    QFETCH(QRect, available);
    QFETCH(QPoint, origin);
    QFETCH(qreal, ratio);
    QFETCH(Tiles, tiles);
    QCOMPARE(emulator::cabinetTiles(cabinets, available, origin, ratio), tiles);
}

void TestLinkedCabinets::commandLine() {
    emulator::GameLaunch launch;
    launch.emulatorFolder = QStringLiteral("/emu/");
    launch.romFolder = QStringLiteral("/roms/");
    launch.romSet = QStringLiteral("daytona2");
    launch.showFps = launch.fullScreen = true;
    const emulator::CommandLine line =
        emulator::cabinetCommandLine(launch, {960, -20, 960, 540}, u'"');
    QCOMPARE(line.arguments,
             QStringList({"/roms/daytona2.zip", "-res=960,540", "-show-fps", "-window",
                          "-borderless", "-window-pos=960,-20", "-net", "-simulate-netboard"}));
    QCOMPARE(emulator::splitCommandLine(line.text, u'"').mid(1), line.arguments);
}

void TestLinkedCabinets::padSources_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QByteArray>("made");

    QTest::newRow("pad 1 in a list")
        << QByteArray("KEY_1,JOY1_BUTTON9") << QByteArray("KEY_1,JOY3_BUTTON9");
    QTest::newRow("any pad") << QByteArray("JOY_XAXIS,MOUSE_XAXIS")
                             << QByteArray("JOY3_XAXIS,MOUSE_XAXIS");
    QTest::newRow("any case, blanks kept") << QByteArray("KEY_A, joy1_button1 ,Joy_Button2")
                                           << QByteArray("KEY_A, JOY3_button1 ,JOY3_Button2");
    QTest::newRow("other pads, keys and mice stay")
        << QByteArray("JOY2_BUTTON9,JOY10_UP,KEY_JOY1_X,MOUSE1_LEFT_BUTTON,NONE")
        << QByteArray("JOY2_BUTTON9,JOY10_UP,KEY_JOY1_X,MOUSE1_LEFT_BUTTON,NONE");
    QTest::newRow("empty pieces") << QByteArray(",JOY1_UP,") << QByteArray(",JOY3_UP,");
}

void TestLinkedCabinets::padSources() {
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, made);
    QCOMPARE(emulator::padSourcesFor(value, 3), made);
}

QTEST_GUILESS_MAIN(TestLinkedCabinets)
#include "test_linked_cabinets.moc"
