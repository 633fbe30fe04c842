#include "emulator/ConfigDocument.h"
#include "emulator/LinkRing.h"

#include <QTest>

using emulator::CabinetPorts;
using emulator::ConfigDocument;
using emulator::linkRing;
using emulator::ringSettings;

using Ports = QList<CabinetPorts>;

class TestLinkRing : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void ports_data();
    void ports();
    void refused_data();
    void refused();
};

void TestLinkRing::ports_data() {
    QTest::addColumn<int>("cabinets");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<Ports>("ports");

    QTest::newRow("two, built-in") << 2 << QByteArray() << Ports{{1970, 1971}, {1971, 1970}};
    QTest::newRow("three") << 3 << QByteArray("PortIn = 5000\nPortOut = 5001\n")
                           << Ports{{5000, 5001}, {5001, 5002}, {5002, 5000}};
    QTest::newRow("four, hex, localhost")
        << 4 << QByteArray("PortIn = 0x1388\nPortOut = \"5001\"\nAddressOut = LocalHost\n")
        << Ports{{5000, 5001}, {5001, 5002}, {5002, 5003}, {5003, 5000}};
    QTest::newRow("the set's own section wins")
        << 2 << QByteArray("PortIn = 9\n[ daytona2 ]\nPortIn = 6000\nPortOut = 6001\n")
        << Ports{{6000, 6001}, {6001, 6000}};
    QTest::newRow("highest ports") << 3
                                   << QByteArray("PortIn = 65533\nPortOut = 65534\n"
                                                 "AddressOut = 127.0.1.1\n")
                                   << Ports{{65533, 65534}, {65534, 65535}, {65535, 65533}};
}

void TestLinkRing::ports() {
    QFETCH(int, cabinets);
    QFETCH(QByteArray, file);
    QFETCH(Ports, ports);
    const ConfigDocument document(file);
    const emulator::Ring ring = linkRing(cabinets, ringSettings(document, "daytona2"), "daytona2");
    QCOMPARE(ring.problem, QString());
    QCOMPARE(ring.cabinets, ports);
}

// The message names the setting to change, where it stands and the value
// it needs.
void TestLinkRing::refused_data() {
    QTest::addColumn<int>("cabinets");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("told");

    QTest::newRow("port out not next")
        << 2 << QByteArray("PortOut = 1980\n")
        << QStringList{"PortOut is \"1980\" in [ Global ]", "Change PortOut to 1971."};
    QTest::newRow("port out follows a section's port in")
        << 2 << QByteArray("[ daytona2 ]\nPortIn = 3000\n")
        << QStringList{"PortOut is \"1971\" by default", "Change PortOut to 3001."};
    QTest::newRow("another machine")
        << 2 << QByteArray("[ daytona2 ]\nAddressOut = 192.168.1.20\n")
        << QStringList{"AddressOut is \"192.168.1.20\" in [ daytona2 ]",
                       "Change AddressOut to 127.0.0.1."};
    QTest::newRow("an address like a loopback one")
        << 2 << QByteArray("AddressOut = 127.0.0\n") << QStringList{"Change AddressOut"};
    QTest::newRow("not a number") << 2 << QByteArray("PortIn = abc\n")
                                  << QStringList{"PortIn is \"abc\" in [ Global ]",
                                                 "Change PortIn to a number from 1024 to 65534."};
    QTest::newRow("needs the administrator")
        << 2 << QByteArray("PortIn = 80\nPortOut = 81\n") << QStringList{"from 1024 to 65534"};
    QTest::newRow("the last cabinet past the end")
        << 4 << QByteArray("PortIn = 65533\nPortOut = 65534\n")
        << QStringList{"PortIn to PortIn + 3", "from 1024 to 65532"};
}

void TestLinkRing::refused() {
    QFETCH(int, cabinets);
    QFETCH(QByteArray, file);
    QFETCH(QStringList, told);
    const ConfigDocument document(file);
    const emulator::Ring ring = linkRing(cabinets, ringSettings(document, "daytona2"), "daytona2");
    QVERIFY(ring.cabinets.isEmpty());
    for (const QString& part : told)
        QVERIFY2(ring.problem.contains(part), qPrintable(ring.problem));
}

QTEST_GUILESS_MAIN(TestLinkRing)
#include "test_link_ring.moc"
