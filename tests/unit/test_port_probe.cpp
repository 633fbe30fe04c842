#include "platform/PortProbe.h"
#include "support/Listening.h"

#include <QTest>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

class TestPortProbe : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aListenedPortIsTaken();
    void aFreePortPassesLeftWaiting();
};

void TestPortProbe::aListenedPortIsTaken() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    const int port = listening(fd);
    QCOMPARE(platform::portTaken(port), QStringLiteral("another program listens on it"));
    ::close(fd);
}

// A port is free though the side that closed a connection first keeps it
// in TIME_WAIT for a while: the emulator's next run listens there all the
// same.
void TestPortProbe::aFreePortPassesLeftWaiting() {
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    const int port = listening(listener);
    const int client = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{AF_INET, htons(quint16(port)), {htonl(INADDR_LOOPBACK)}, {}};
    QCOMPARE(::connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const int accepted = ::accept(listener, nullptr, nullptr);
    QVERIFY(accepted >= 0);
    for (const int fd : {accepted, client, listener})
        ::close(fd);
    QCOMPARE(platform::portTaken(port), std::nullopt);
}

QTEST_APPLESS_MAIN(TestPortProbe)
#include "test_port_probe.moc"
