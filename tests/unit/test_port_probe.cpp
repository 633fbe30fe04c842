#include "platform/PortProbe.h"

#include <QTest>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A socket on an ephemeral port of every interface, with address reuse as
// the emulator's; listening or only bound. Its port, or 0.
struct Socket {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    int port = 0;

    explicit Socket(bool listening) {
        const int on = 1;
        ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_ANY);
        socklen_t size = sizeof address;
        if (::bind(fd, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
            (listening && ::listen(fd, 1) != 0) ||
            ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0)
            return;
        port = ntohs(address.sin_port);
    }
    ~Socket() { ::close(fd); }
};

} // namespace

class TestPortProbe : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aListenedPortIsTaken();
    void aFreePortPasses();
    void aPortLeftWaitingPasses();
};

void TestPortProbe::aListenedPortIsTaken() {
    const Socket held(true);
    QVERIFY(held.port != 0);
    const auto taken = platform::portTaken(held.port);
    QVERIFY(taken.has_value());
    QCOMPARE(*taken, QStringLiteral("another program listens on it"));
}

void TestPortProbe::aFreePortPasses() {
    int port = 0;
    {
        const Socket once(false);
        port = once.port;
    }
    QVERIFY(port != 0);
    QCOMPARE(platform::portTaken(port), std::nullopt);
}

// The side that closes a connection first keeps its port in TIME_WAIT for a
// while: the emulator's next run listens there all the same.
void TestPortProbe::aPortLeftWaitingPasses() {
    int port = 0;
    {
        const Socket listener(true);
        port = listener.port;
        QVERIFY(port != 0);
        const int client = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(quint16(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        QCOMPARE(::connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        const int accepted = ::accept(listener.fd, nullptr, nullptr);
        QVERIFY(accepted >= 0);
        ::close(accepted);
        ::close(client);
    }
    QCOMPARE(platform::portTaken(port), std::nullopt);
}

QTEST_APPLESS_MAIN(TestPortProbe)
#include "test_port_probe.moc"
