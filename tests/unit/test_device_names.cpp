#include "bindings/DeviceNames.h"

#include <QTest>

using bindings::Numbering;
using platform::DeviceState;

namespace {

// "a=0,-32768 b=3,40 h=0,1": axis values, the pressed buttons' indices (of
// 40 buttons, or `buttons` when larger) and hat values.
DeviceState state(const QString& text) {
    DeviceState s;
    s.buttons.assign(40, false);
    for (const QString& part : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList values = part.mid(2).split(QLatin1Char(','));
        for (const QString& v : values) {
            const int n = v.toInt();
            if (part.startsWith(QLatin1String("a=")))
                s.axes.push_back(n);
            else if (part.startsWith(QLatin1String("h=")))
                s.hats.push_back(n);
            else
                s.buttons[std::size_t(n)] = true;
        }
    }
    return s;
}

// The source taken, "?control" for a control without a name, "" for none.
QString outcome(const bindings::DeviceEvent& e) {
    switch (e.kind) {
    case bindings::DeviceEvent::Kind::Named:
        return e.source;
    case bindings::DeviceEvent::Kind::Unnamed:
        return QLatin1Char('?') + e.control;
    default:
        return QString();
    }
}

} // namespace

class TestDeviceNames : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void events_data();
    void events();
    void heldControlsComeBack();
    void numbering();
};

void TestDeviceNames::events_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<bool>("pad");
    QTest::addColumn<bool>("whole");
    QTest::addColumn<QString>("rest");
    QTest::addColumn<QString>("now");
    QTest::addColumn<QString>("taken");

    const QString centred = QStringLiteral("a=0,0,0,0,0,0,0,0,0 h=0,0,0,0,0");
    // clang-format off
    QTest::newRow("button 3")           << 1 << false << false << centred << centred + " b=3"  << "JOY1_BUTTON4";
    QTest::newRow("button 31")          << 1 << false << false << centred << centred + " b=31" << "JOY1_BUTTON32";
    QTest::newRow("button 32 unnamed")  << 1 << false << false << centred << centred + " b=32" << "?button 33";
    QTest::newRow("named beats unnamed")<< 1 << false << false << centred << centred + " b=32,7" << "JOY1_BUTTON8";
    QTest::newRow("held since start")   << 1 << false << false << "b=3"   << "b=3"             << "";
    QTest::newRow("second device")      << 2 << false << false << centred << centred + " b=0"  << "JOY2_BUTTON1";
    QTest::newRow("x positive")         << 1 << false << false << "a=0"   << "a=32767"         << "JOY1_XAXIS_POS";
    QTest::newRow("x negative")         << 1 << false << false << "a=0"   << "a=-32768"        << "JOY1_XAXIS_NEG";
    QTest::newRow("drift")              << 1 << false << false << "a=1200" << "a=9000"         << "";
    QTest::newRow("drift, pedal slot")  << 1 << false << true  << "a=0,0" << "a=-7000,8000"    << "";
    QTest::newRow("slider 2")           << 1 << false << false << centred << "a=0,0,0,0,0,0,0,-30000,0" << "JOY1_SLIDER2_NEG";
    QTest::newRow("axis 9 unnamed")     << 1 << false << false << centred << "a=0,0,0,0,0,0,0,0,30000"  << "?axis 9";
    QTest::newRow("trigger, key slot")  << 1 << false << false << "a=0,0,0,0,0,-32768" << "a=0,0,0,0,0,32767" << "JOY1_RZAXIS_POS";
    QTest::newRow("trigger, pedal slot")<< 1 << false << true  << "a=0,0,0,0,0,-32768" << "a=0,0,0,0,0,32767" << "JOY1_RZAXIS";
    QTest::newRow("trigger half-way")   << 1 << false << true  << "a=0,0,0,0,0,-32768" << "a=0,0,0,0,0,-2000" << "";
    QTest::newRow("pedal from the top") << 1 << false << true  << "a=0,32767" << "a=0,-32768" << "JOY1_YAXIS_INV";
    QTest::newRow("stick, pedal slot")  << 1 << false << true  << "a=0,0" << "a=0,-32768"      << "JOY1_YAXIS_NEG";
    QTest::newRow("trigger at rest")    << 1 << false << false << "a=-32768" << "a=-32768"     << "";
    QTest::newRow("hat up")             << 1 << false << false << centred << "h=1"             << "JOY1_POV1_UP";
    QTest::newRow("hat 4 left")         << 1 << false << false << centred << "h=0,0,0,8"       << "JOY1_POV4_LEFT";
    QTest::newRow("hat 5 unnamed")      << 1 << false << false << centred << "h=0,0,0,0,4"     << "?hat 5";
    QTest::newRow("hat held diagonal")  << 1 << false << false << "h=1"   << "h=3"             << "JOY1_POV1_RIGHT";
    QTest::newRow("pad A")              << 1 << true  << false << "a=0,0,0,0,0,0" << "a=0,0,0,0,0,0 b=0"  << "JOY1_BUTTON1";
    QTest::newRow("pad left shoulder")  << 1 << true  << false << "a=0,0,0,0,0,0" << "a=0,0,0,0,0,0 b=9"  << "JOY1_BUTTON5";
    QTest::newRow("pad back")           << 1 << true  << false << "a=0,0,0,0,0,0" << "a=0,0,0,0,0,0 b=4"  << "JOY1_BUTTON7";
    QTest::newRow("pad start")          << 1 << true  << false << "a=0,0,0,0,0,0" << "a=0,0,0,0,0,0 b=6"  << "JOY1_BUTTON8";
    QTest::newRow("pad right stick click") << 1 << true << false << "a=0,0,0,0,0,0" << "a=0,0,0,0,0,0 b=8" << "JOY1_BUTTON10";
    QTest::newRow("pad d-pad left")     << 1 << true  << false << "a=0,0,0,0,0,0" << "a=0,0,0,0,0,0 b=13" << "JOY1_POV1_LEFT";
    QTest::newRow("pad guide")          << 1 << true  << false << "a=0,0,0,0,0,0" << "a=0,0,0,0,0,0 b=5"  << "?button Guide";
    QTest::newRow("pad right stick")    << 1 << true  << false << "a=0,0,0,0,0,0" << "a=0,0,-32768,0,0,0" << "JOY1_RXAXIS_NEG";
    QTest::newRow("pad trigger, pedal") << 1 << true  << true  << "a=0,0,0,0,0,0" << "a=0,0,0,0,0,32767" << "JOY1_RZAXIS";
    QTest::newRow("pad trigger, key")   << 1 << true  << false << "a=0,0,0,0,0,0" << "a=0,0,0,0,32767,0" << "JOY1_ZAXIS_POS";
    // clang-format on
}

void TestDeviceNames::events() {
    QFETCH(int, number);
    QFETCH(bool, pad);
    QFETCH(bool, whole);
    QFETCH(QString, rest);
    QFETCH(QString, now);
    QFETCH(QString, taken);
    const Numbering numbering = pad ? Numbering::GameController : Numbering::Joystick;
    QCOMPARE(outcome(bindings::deviceEvent(number, state(rest), state(now), numbering, whole)),
             taken);
}

// A button held when the capture began counts once released and pressed
// again; a device is back at rest only with everything let go.
void TestDeviceNames::heldControlsComeBack() {
    DeviceState rest = state(QStringLiteral("a=0,-32768 b=2"));
    bindings::settle(rest, state(QStringLiteral("a=0,-32768 b=2")));
    QCOMPARE(outcome(bindings::deviceEvent(1, rest, state(QStringLiteral("a=0,-32768 b=2")),
                                           Numbering::Joystick, false)),
             QString());
    bindings::settle(rest, state(QStringLiteral("a=0,-32768")));
    QCOMPARE(outcome(bindings::deviceEvent(1, rest, state(QStringLiteral("a=0,-32768 b=2")),
                                           Numbering::Joystick, false)),
             QStringLiteral("JOY1_BUTTON3"));

    const auto atRest = [&rest](const char* now) {
        return bindings::backAtRest(rest, state(QLatin1String(now)), Numbering::Joystick);
    };
    QVERIFY(!atRest("a=32767,-32768"));
    QVERIFY(!atRest("a=0,-32768 b=5"));
    QVERIFY(!atRest("a=0,-32768 h=4"));
    QVERIFY(!atRest("a=0,0")); // the trigger is half pulled
    QVERIFY(atRest("a=3000,-30000"));
}

void TestDeviceNames::numbering() {
    QCOMPARE(bindings::numberingFor(u" SDLGamepad "), Numbering::GameController);
    QCOMPARE(bindings::numberingFor(u"sdl"), Numbering::Joystick);
    QCOMPARE(bindings::numberingFor(u""), Numbering::Joystick);
    QVERIFY(bindings::takesWholeAxis("Accelerator") && bindings::takesWholeAxis("Brake"));
    QVERIFY(!bindings::takesWholeAxis("SteeringLeft"));
}

QTEST_GUILESS_MAIN(TestDeviceNames)
#include "test_device_names.moc"
