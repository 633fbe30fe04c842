// Game devices in the capture, through SDL's virtual joysticks: no hardware.
// A real device on the machine comes first in SDL's order, so the expected
// numbers count from the devices there before the test's own.

#include "support/Fakes.h"
#include "support/RealEmulator.h"
#include "support/VirtualPad.h"

#include "bindings/Capture.h"
#include "bindings/DeviceNames.h"
#include "platform/GameDevices.h"
#include "ui/CaptureBox.h"
#include "ui/ClickableLabel.h"
#include "ui/GameList.h"
#include "ui/TextFit.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <SDL.h>

using ui::Form1;

namespace {

int g_realDevices = 0;

// "JOY1_X" with the test's first device numbered after the real ones.
QString numbered(QString value) {
    for (int n : {2, 1})
        value.replace(QStringLiteral("JOY%1_").arg(n),
                      QStringLiteral("JOY%1_").arg(g_realDevices + n));
    return value;
}

struct DeviceFixture : FrontEndFixture {
    explicit DeviceFixture(const QByteArray& config = {}) {
        QDir().mkpath(path(QStringLiteral("Supermodel_0.1a_Win32")));
        if (!config.isEmpty())
            writeFile(QStringLiteral("Config/Supermodel.ini"), config);
        frontend.start();
        form.show();
        QTest::mouseClick(form.Command3, Qt::LeftButton);
    }
    bool waiting() const { return !form.Text6->isHidden(); }
    // Starts capturing `slot` and waits until the capture has seen `device`.
    bool capture(int slot, const char* device) {
        QTest::mouseDClick(form.Label1[std::size_t(slot)], Qt::LeftButton);
        return QTest::qWaitFor(
            [&] { return form.Label3->toolTip().contains(QLatin1String(device)); }, 2000);
    }
    // True when nothing is taken for a while.
    bool staysWaiting(int slot, const QString& before) {
        QTest::qWait(120);
        return waiting() && value(slot) == before;
    }
};

} // namespace

class DeviceCaptureTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void controls_data();
    void controls();
    void secondDevice();
    void deviceAddedWhileWaiting();
    void walkIgnoresAHeldStick();
    void gameControllerNumbering();
    void gameControllersCountAlone_data();
    void gameControllersCountAlone();
    void kindOfController();
    void missingLibraryStartsNothing();
    void everySourceIsOneTheEmulatorReads();
    void slotMenuRemovesTheJoystickOrTheKey_data();
    void slotMenuRemovesTheJoystickOrTheKey();
};

void DeviceCaptureTest::initTestCase() {
    // Held for the whole test: the virtual devices live as long as it does.
    g_realDevices = virtualpad::initialise();
    QVERIFY(g_realDevices >= 0);
}

void DeviceCaptureTest::cleanupTestCase() {
    virtualpad::finish();
}

void DeviceCaptureTest::controls_data() {
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("taken"); // empty: nothing, the capture waits on
    QTest::addColumn<QString>("says");  // in the prompt meanwhile

    // clang-format off
    QTest::newRow("button 3")            << 12 << "" << "b3"        << "KEY_A,JOY1_BUTTON4"       << "";
    QTest::newRow("axis 0 positive")     << 16 << "" << "a0=32767"  << "KEY_LEFT,JOY1_XAXIS_POS"  << "";
    QTest::newRow("axis 0 negative")     << 16 << "" << "a0=-32768" << "KEY_LEFT,JOY1_XAXIS_NEG"  << "";
    QTest::newRow("hat up")              << 8  << "" << "h0=1"      << "KEY_UP,JOY1_POV1_UP"      << "";
    QTest::newRow("pedal, whole axis")   << 18 << "a5=-32768" << "a5=32767" << "KEY_UP,JOY1_RZAXIS" << "";
    QTest::newRow("pedal resting")       << 18 << "a5=-32768" << ""         << ""               << "";
    QTest::newRow("drifting axis")       << 12 << "a1=2000"   << "a1=9000"  << ""               << "";
    QTest::newRow("button 33 unnamed")   << 12 << "" << "b32"       << ""   << "button 33: no name in the emulator";
    // clang-format on
}

void DeviceCaptureTest::controls() {
    QFETCH(int, slot);
    QFETCH(QString, before);
    QFETCH(QString, action);
    QFETCH(QString, taken);
    QFETCH(QString, says);
    VirtualPad pad("Kestrun Test Wheel");
    pad.set(before);
    DeviceFixture f;
    const QString value = f.value(slot);
    QVERIFY(f.capture(slot, "Kestrun Test Wheel"));
    pad.set(action);
    if (taken.isEmpty()) {
        QVERIFY(f.staysWaiting(slot, value));
        QVERIFY(f.form.Label3->text().contains(says) || f.form.Label3->toolTip().contains(says));
    } else {
        QTRY_COMPARE(f.value(slot), numbered(taken));
        QVERIFY(!f.waiting());
    }
}

void DeviceCaptureTest::secondDevice() {
    VirtualPad first("Kestrun Test Pad A");
    VirtualPad second("Kestrun Test Pad B");
    DeviceFixture f;
    QVERIFY(f.capture(13, "Kestrun Test Pad B"));
    QVERIFY(f.form.Label3->toolTip().contains(QLatin1String("Kestrun Test Pad A")));
    second.set(QStringLiteral("b0"));
    QTRY_COMPARE(f.value(13), numbered(QStringLiteral("KEY_S,JOY2_BUTTON1")));
}

void DeviceCaptureTest::deviceAddedWhileWaiting() {
    DeviceFixture f;
    QTest::mouseDClick(f.form.Label1[12], Qt::LeftButton);
    QTest::qWait(50);
    VirtualPad pad("Kestrun Late Pad, a wheel with pedals and a name longer than the prompt");
    QTRY_VERIFY(f.form.Label3->toolTip().contains(QLatin1String("Kestrun Late Pad")));
    // The prompt names it, cut to fit its line.
    QVERIFY(f.form.Label3->text().contains(QLatin1String("or joystick")));
    QVERIFY(ui::fitsWhole(f.form.Label3->font(), f.form.Label3->text(),
                          f.form.Label3->contentsRect().size()));
    pad.set(QStringLiteral("b1"));
    QTRY_COMPARE(f.value(12), numbered(QStringLiteral("KEY_A,JOY1_BUTTON2")));
}

// One push binds one slot: the next slot of the walk takes the stick only
// once it has been back at rest.
void DeviceCaptureTest::walkIgnoresAHeldStick() {
    VirtualPad pad("Kestrun Test Stick");
    DeviceFixture f;
    QTest::mouseClick(f.form.Command5, Qt::LeftButton);
    QTRY_VERIFY(f.form.Label3->toolTip().contains(QLatin1String("Kestrun Test Stick")));
    pad.set(QStringLiteral("a1=-32768"));
    QTRY_COMPARE(f.value(0), numbered(QStringLiteral("JOY1_YAXIS_NEG")));
    QVERIFY(f.staysWaiting(1, f.value(1)));
    pad.set(QStringLiteral("a1=0"));
    QVERIFY(f.staysWaiting(1, f.value(1)));
    pad.set(QStringLiteral("a1=-32768"));
    QTRY_COMPARE(f.value(1), numbered(QStringLiteral("JOY1_YAXIS_NEG")));
}

void DeviceCaptureTest::gameControllerNumbering() {
    VirtualPad pad("Kestrun Test Controller", true);
    DeviceFixture f("[ Global ]\r\nInputSystem = \"sdlgamepad\"\r\n");
    QVERIFY(f.capture(12, "Kestrun Test Controller"));
    pad.set(QStringLiteral("b") + QString::number(SDL_CONTROLLER_BUTTON_LEFTSHOULDER));
    QTRY_COMPARE(f.value(12), numbered(QStringLiteral("KEY_A,JOY1_BUTTON5")));
}

// Under sdlgamepad the emulator skips a device that is no game controller,
// and numbers the controllers after it from 1: read from [ Global ], or
// from the selected game's own section.
void DeviceCaptureTest::gameControllersCountAlone_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("global") << QByteArray("[ Global ]\r\nInputSystem = \"sdlgamepad\"\r\n");
    QTest::newRow("the game's section")
        << QByteArray("[ Global ]\r\nInputSystem = sdl\r\n[ vf3 ]\r\nInputSystem = sdlgamepad\r\n");
}

void DeviceCaptureTest::gameControllersCountAlone() {
    QFETCH(QByteArray, file);
    VirtualPad wheel("Kestrun Test Wheel");
    VirtualPad pad("Kestrun Test Controller", true);
    DeviceFixture f(file);
    f.form.List2->setCurrentRow(0); // Virtua Fighter 3
    QVERIFY(f.capture(12, "Kestrun Test Controller"));
    QVERIFY(f.form.Label3->toolTip().contains(
        QLatin1String("Not game controllers, which the emulator skips under sdlgamepad: "
                      "Kestrun Test Wheel")));
    pad.set(QStringLiteral("b") + QString::number(SDL_CONTROLLER_BUTTON_B));
    QTRY_COMPARE(f.value(12), numbered(QStringLiteral("KEY_A,JOY1_BUTTON2")));
}

void DeviceCaptureTest::kindOfController() {
    VirtualPad wheel("Kestrun Test Wheel");
    VirtualPad nintendo("Kestrun Test Switch Pad", true, 0x057e, 0x2009);
    VirtualPad xbox("Kestrun Test Xbox Pad", true, 0x045e, 0x028e);
    platform::GameDevices devices;
    QVERIFY(devices.start(platform::GameDevices::Reading::Joystick));
    QHash<QString, std::pair<bool, platform::ControllerType>> seen;
    for (const platform::GameDevice& device : devices.devices())
        seen.insert(device.name, {device.gameController, device.type});
    using platform::ControllerType;
    QCOMPARE(seen.value(QStringLiteral("Kestrun Test Wheel")),
             std::pair(false, ControllerType::Unknown));
    QCOMPARE(seen.value(QStringLiteral("Kestrun Test Switch Pad")),
             std::pair(true, ControllerType::Nintendo));
    QCOMPARE(seen.value(QStringLiteral("Kestrun Test Xbox Pad")),
             std::pair(true, ControllerType::Xbox));
}

void DeviceCaptureTest::missingLibraryStartsNothing() {
    platform::GameDevices devices(QStringLiteral("libkestrun-no-such-sdl.so.0"));
    QVERIFY(!devices.start(platform::GameDevices::Reading::Joystick));
    QVERIFY(!devices.running());
}

// Every source a capture can name, for the first two devices.
QStringList everySource() {
    using platform::DeviceState;
    QStringList sources;
    for (int number : {1, 2}) {
        const auto take = [&](const DeviceState& rest, const DeviceState& now, bool whole) {
            sources << bindings::deviceEvent(number, rest, now, bindings::Numbering::Joystick,
                                             whole)
                           .source;
        };
        DeviceState centred{std::vector<int>(8, 0), std::vector<bool>(32, false),
                            std::vector<int>(4, 0)};
        for (int b = 0; b < 32; ++b) {
            DeviceState now = centred;
            now.buttons[std::size_t(b)] = true;
            take(centred, now, false);
        }
        for (int h = 0; h < 4; ++h)
            for (int direction : {1, 2, 4, 8}) {
                DeviceState now = centred;
                now.hats[std::size_t(h)] = direction;
                take(centred, now, false);
            }
        for (std::size_t a = 0; a < 8; ++a)
            for (int end : {-32768, 32767}) {
                DeviceState now = centred;
                now.axes[a] = end;
                take(centred, now, false); // a half
                DeviceState rest = centred;
                rest.axes[a] = -end;
                take(rest, now, true); // the whole axis, reversed from the top
            }
    }
    return sources;
}

void DeviceCaptureTest::everySourceIsOneTheEmulatorReads() {
    if (const QString missing = realemulator::missing(); !missing.isEmpty())
        QSKIP(qPrintable(missing));
    const QStringList sources = everySource();
    QCOMPARE(sources.size(), 2 * (32 + 16 + 32));
    QVERIFY(!sources.contains(QString()));
    for (qsizetype first = 0; first < sources.size(); first += Form1::kSlotCount) {
        DeviceFixture f;
        const QStringList round = sources.mid(first, Form1::kSlotCount);
        for (int i = 0; i < round.size(); ++i) {
            bindings::BeginCapture(f.form, f.store(), i);
            bindings::CaptureDevice(f.form, f.store(), round[i]);
        }
        QTest::mouseClick(f.form.Command6, Qt::LeftButton);
        const QByteArray saved = f.readFile(QStringLiteral("Config/Supermodel.ini"));
        QVERIFY(!saved.isEmpty());

        QTemporaryDir run;
        QVERIFY(QDir(run.path()).mkpath(QStringLiteral("Config")));
        QVERIFY(QFile::copy(QStringLiteral(KESTRUN_REAL_EMULATOR "/Config/Games.xml"),
                            run.filePath(QStringLiteral("Config/Games.xml"))));
        QVERIFY(QFile::link(QStringLiteral(KESTRUN_REAL_EMULATOR "/Assets"),
                            run.filePath(QStringLiteral("Assets"))));
        QFile ini(run.filePath(QStringLiteral("Config/Supermodel.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(saved);
        ini.close();
        const QString printed = realemulator::printInputs(run.path());
        QVERIFY(!printed.isEmpty());
        QVERIFY2(!printed.contains(QLatin1String("Unable to map input")), qPrintable(printed));
        for (const QString& source : round) {
            const QRegularExpression whole(QStringLiteral("[ ,]%1[,\n]").arg(source));
            QVERIFY2(printed.contains(whole), qPrintable(source));
        }
    }
}

void DeviceCaptureTest::slotMenuRemovesTheJoystickOrTheKey_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("left");
    QTest::newRow("right click") << "right click"
                                 << "Remove the &joystick"
                                 << "KEY_A";
    QTest::newRow("Menu key") << "Menu"
                              << "Remove the &key"
                              << "JOY1_BUTTON1";
    QTest::newRow("Shift+F10") << "Shift+F10"
                               << "Remove the &joystick"
                               << "KEY_A";
}

void DeviceCaptureTest::slotMenuRemovesTheJoystickOrTheKey() {
    QFETCH(QString, how);
    QFETCH(QString, action);
    QFETCH(QString, left);
    DeviceFixture f("[ Global ]\nInputPunch = \"KEY_A,JOY1_BUTTON1\"\n");
    ui::ClickableLabel* slot = f.form.Label1[12];
    QCOMPARE(f.value(12), QStringLiteral("KEY_A,JOY1_BUTTON1"));
    if (how == QLatin1String("right click")) {
        QContextMenuEvent click(QContextMenuEvent::Mouse, slot->rect().center(),
                                slot->mapToGlobal(slot->rect().center()));
        QCoreApplication::sendEvent(slot, &click);
    } else {
        // Tab reaches the slots: they follow the buttons that open the panel
        // and the settings, and the one that turns to the game's page.
        f.form.Command3->setEnabled(true);
        f.form.Command3->setFocus();
        for (int i = 0; i <= 14; ++i)
            QTest::keyClick(f.form.focusWidget(), Qt::Key_Tab);
        QCOMPARE(f.form.focusWidget(), static_cast<QWidget*>(slot));
        if (how == QLatin1String("Menu"))
            QTest::keyClick(slot, Qt::Key_Menu);
        else
            QTest::keyClick(slot, Qt::Key_F10, Qt::ShiftModifier);
    }
    QMenu* menu = nullptr;
    QTRY_VERIFY((menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())));
    for (QAction* item : menu->actions())
        if (item->text() == action) {
            QVERIFY(item->isEnabled());
            item->trigger();
        }
    menu->close();
    QCOMPARE(f.value(12), left);
    QVERIFY(f.store().find(QStringLiteral("Punch"))->edited);
}

QTEST_MAIN(DeviceCaptureTest)
#include "test_device_capture.moc"
