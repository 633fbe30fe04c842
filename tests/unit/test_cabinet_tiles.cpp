#include "emulator/CabinetTiles.h"

#include <QTest>

using emulator::Tile;

using Tiles = QList<Tile>;

class TestCabinetTiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void tiles_data();
    void tiles();
    void commandLine();
};

void TestCabinetTiles::tiles_data() {
    QTest::addColumn<int>("cabinets");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QPoint>("origin");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<Tiles>("tiles");

    QTest::newRow("two side by side") << 2 << QRect(0, 0, 1920, 1080) << QPoint(0, 0) << 1.0
                                      << Tiles{{0, 0, 960, 1080}, {960, 0, 960, 1080}};
    QTest::newRow("three in quarters, under a top panel")
        << 3 << QRect(0, 27, 1280, 997) << QPoint(0, 0) << 1.0
        << Tiles{{0, 27, 640, 498}, {640, 27, 640, 498}, {0, 525, 640, 499}};
    QTest::newRow("four at twice the pixels") << 4 << QRect(0, 0, 1920, 1080) << QPoint(0, 0) << 2.0
                                              << Tiles{{0, 0, 1920, 1080},
                                                       {1920, 0, 1920, 1080},
                                                       {0, 1080, 1920, 1080},
                                                       {1920, 1080, 1920, 1080}};
    // 1.25 of 1536 x 864 is 1920 x 1080; an odd width splits without a gap.
    QTest::newRow("odd pixels at a quarter more")
        << 2 << QRect(0, 0, 1537, 864) << QPoint(0, 0) << 1.25
        << Tiles{{0, 0, 960, 1080}, {960, 0, 961, 1080}};
    // A second screen right of a 2560-pixel one keeps its device origin.
    QTest::newRow("second screen, scaled from its origin")
        << 2 << QRect(2560, 30, 1920, 1050) << QPoint(2560, 0) << 1.5
        << Tiles{{2560, 45, 1440, 1575}, {4000, 45, 1440, 1575}};
}

void TestCabinetTiles::tiles() {
    QFETCH(int, cabinets);
    QFETCH(QRect, available);
    QFETCH(QPoint, origin);
    QFETCH(qreal, ratio);
    QFETCH(Tiles, tiles);
    QCOMPARE(emulator::cabinetTiles(cabinets, available, origin, ratio), tiles);
}

void TestCabinetTiles::commandLine() {
    emulator::GameLaunch launch;
    launch.emulatorFolder = QStringLiteral("/emu/");
    launch.romFolder = QStringLiteral("/roms/");
    launch.romSet = QStringLiteral("daytona2");
    launch.width = QStringLiteral("1920");
    launch.height = QStringLiteral("1080");
    launch.fullScreen = launch.showFps = true;
    const emulator::CommandLine line =
        emulator::cabinetCommandLine(launch, {960, -20, 960, 540}, u'"');
    QCOMPARE(line.arguments,
             QStringList({"/roms/daytona2.zip", "-res=960,540", "-show-fps", "-window",
                          "-borderless", "-window-pos=960,-20", "-net", "-simulate-netboard"}));
    QCOMPARE(emulator::splitCommandLine(line.text, u'"').mid(1), line.arguments);
}

QTEST_GUILESS_MAIN(TestCabinetTiles)
#include "test_cabinet_tiles.moc"
