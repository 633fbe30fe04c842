#include "emulator/CabinetFolders.h"
#include "emulator/ConfigDocument.h"
#include "support/FileTree.h"

#include <QTest>

namespace {

const QByteArray kWorking = "[ Global ]\r\nPortIn = 5000\r\nPortOut = 5001\r\nOutputs = net\r\n"
                            "WideScreen = 1\r\nInputStart1 = \"KEY_1,JOY1_BUTTON9\"\r\n"
                            "InputJoy1XDeadZone = 7\r\n\r\n"
                            "[ daytona2 ]\r\nInputAccelerator = \"KEY_UP,JOY_RZAXIS_POS\"\r\n";

struct Cabinet {
    Tree tree;
    QString program = tree.root + QStringLiteral("front/");
    int writes = 0;

    Cabinet() {
        for (const char* line :
             {"emu/Config/Games.xml=G", "emu/Assets/p1crosshair.bmp=A", "front/Config/"})
            tree.make(QLatin1String(line));
    }
    // Newer each time, whatever the clock's grain.
    void write(const char* file, const QByteArray& bytes) {
        tree.make(QLatin1String(file) + u'=' + QString::fromUtf8(bytes) + u'@' +
                  QString::number(100 - ++writes));
    }
    QByteArray own() const {
        QFile file(program + QStringLiteral("Cabinets/2/Config/Supermodel.ini"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    emulator::CabinetReady prepare(int portIn, int portOut) {
        return emulator::prepareCabinet(program, tree.root + QStringLiteral("emu/"),
                                        {2, "daytona2", {"common", "vehicle"}, {portIn, portOut}});
    }
    // Each "section name=value" is what the cabinet's file gives.
    void has(const QStringList& settings) const {
        const emulator::ConfigDocument file(own());
        for (const QString& setting : settings) {
            const QByteArray line = setting.toUtf8();
            const qsizetype blank = line.indexOf(' '), equals = line.indexOf('=');
            QCOMPARE(file.value(line.first(blank), line.sliced(blank + 1, equals - blank - 1)),
                     line.sliced(equals + 1));
        }
    }
};

} // namespace

class TestCabinetFolders : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void firstStartCopiesTheWorkingCopy();
    void laterStartsKeepInStep();
    void aWorkingCopyMadeLaterArrivesWhole();
};

void TestCabinetFolders::firstStartCopiesTheWorkingCopy() {
    Cabinet c;
    c.write("front/Config/Supermodel.ini", kWorking);
    const emulator::CabinetReady ready = c.prepare(5001, 5000);
    QCOMPARE(ready.failure, std::nullopt);
    QCOMPARE(ready.problems, QStringList());
    for (const char* line :
         {"front/Cabinets/2/Config/Games.xml=G", "front/Cabinets/2/Assets/p1crosshair.bmp=A",
          "front/Cabinets/2/NVRAM/"})
        c.tree.check(QLatin1String(line));
    // Cabinet 1's file stays the player's.
    c.tree.check(QStringLiteral("front/Config/Supermodel.ini=") + QString::fromUtf8(kWorking));
    QVERIFY(!emulator::cabinetHasNvram(c.program, 2, QStringLiteral("daytona2")));
    c.has({"Global PortIn=5001", "Global PortOut=5000", "Global AddressOut=127.0.0.1",
           "Global Outputs=none", "Global WideScreen=1",
           "Global InputStart1=KEY_1,JOY1_BUTTON9",            // the copy, as it was
           "daytona2 InputStart1=KEY_1,JOY2_BUTTON9",          // from [ Global ]
           "daytona2 InputAccelerator=KEY_UP,JOY2_RZAXIS_POS", // from the section
           "daytona2 InputSteering=JOY2_XAXIS",                // built-in
           "daytona2 InputStart2=KEY_2,JOY2_BUTTON9",          // pad 2's, as it was
           "daytona2 InputJoy2XDeadZone=7"});
}

void TestCabinetFolders::laterStartsKeepInStep() {
    Cabinet c;
    c.write("front/Config/Supermodel.ini", kWorking);
    QCOMPARE(c.prepare(5001, 5000).failure, std::nullopt);

    // The player moves the ring and changes bindings and settings in both
    // files; the cabinet's own change of a port is the front-end's to undo.
    c.write("front/Config/Supermodel.ini", QByteArray(kWorking)
                                               .replace("PortIn = 5000", "PortIn = 6000")
                                               .replace("PortOut = 5001", "PortOut = 6001")
                                               .replace("WideScreen = 1", "WideScreen = 0")
                                               .replace("JOY1_BUTTON9", "JOY1_BUTTON1")
                                               .append("Throttle = 0\r\n"));
    c.write("front/Cabinets/2/Config/Supermodel.ini",
            c.own()
                .replace("PortIn = 5001", "PortIn = 1")
                .append("[ Global ]\r\nVSync = 0\r\n[ daytona2 ]\r\nThrottle = 1\r\n"));
    const emulator::CabinetReady ready = c.prepare(6001, 6000);
    QCOMPARE(ready.failure, std::nullopt);
    QCOMPARE(ready.problems.size(), 1);
    QVERIFY2(ready.problems.front().startsWith("Throttle in [ daytona2 ]"),
             qPrintable(ready.problems.front()));
    c.has({"Global PortIn=6001", "Global PortOut=6000", "Global WideScreen=0", "Global VSync=0",
           "daytona2 Throttle=1", // changed in both: the cabinet's
           "daytona2 InputStart1=KEY_1,JOY2_BUTTON1"});
}

// Without a working copy the emulator runs on its built-in values; the
// cabinet still gets its ring, and the working copy once there.
void TestCabinetFolders::aWorkingCopyMadeLaterArrivesWhole() {
    Cabinet c;
    QCOMPARE(c.prepare(1971, 1970).failure, std::nullopt);
    c.has({"Global PortIn=1971", "daytona2 InputStart1=KEY_1,JOY2_BUTTON9"});
    QVERIFY(c.own().startsWith("; Written by Kestrun"));
    c.write("front/Config/Supermodel.ini", kWorking);
    QCOMPARE(c.prepare(5001, 5000).problems, QStringList());
    c.has({"Global WideScreen=1", "Global PortIn=5001"});
}

QTEST_GUILESS_MAIN(TestCabinetFolders)
#include "test_cabinet_folders.moc"
