// A game controller laid out for a game: the pad's parts by input type, the
// values written, and moving an input on the pad.
#include "bindings/GameInputs.h"
#include "bindings/PadLayout.h"

#include <QTest>

using namespace bindings;

namespace {

constexpr const char* kPartNames[kPadPartCount] = {"S",  "E",  "W",  "N", "LB",   "RB",   "LT",
                                                   "RT", "LS", "RS", "D", "Back", "Start"};

// "W:P1 Punch; N:P1 Kick": each part used, with its caption.
QString described(const std::vector<PartUse>& uses) {
    QStringList parts;
    for (const PartUse& use : uses)
        parts << QLatin1String(kPartNames[int(use.part)]) + u':' + use.caption;
    return parts.join(QLatin1String("; "));
}

QString valueOf(const std::vector<InputValue>& values, const QString& input) {
    for (const InputValue& v : values) {
        if (v.input == input)
            return v.value;
    }
    return QStringLiteral("(absent)");
}

} // namespace

class PadLayoutTest final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void partsByInputType_data();
    void partsByInputType();
    void everyInputHasItsPlace();
    void noControlDrivesTwoInputs();
    void valuesWritten_data();
    void valuesWritten();
    void onePlayerLeavesTheSecondAlone();
    void movingAnInput();
    void sourcesNameTheControls();
};

void PadLayoutTest::partsByInputType_data() {
    QTest::addColumn<QString>("type");
    QTest::addColumn<int>("player");
    QTest::addColumn<QString>("parts");
    // clang-format off
    QTest::newRow("common") << "common" << 1 << "Back:P1 Coin; Start:P1 Start";
    QTest::newRow("common P2") << "common" << 2 << "Back:P2 Coin; Start:P2 Start";
    QTest::newRow("joystick1") << "joystick1" << 1 << "LS:P1 Joystick Up/Down/Left/Right; D:P1 Joystick Up/Down/Left/Right";
    QTest::newRow("joystick2") << "joystick2" << 2 << "LS:P2 Joystick Up/Down/Left/Right; D:P2 Joystick Up/Down/Left/Right";
    QTest::newRow("fighting") << "fighting" << 1 << "S:P1 Guard; E:P1 Escape; W:P1 Punch; N:P1 Kick";
    QTest::newRow("fighting P2") << "fighting" << 2 << "S:P2 Guard; E:P2 Escape; W:P2 Punch; N:P2 Kick";
    QTest::newRow("spikeout") << "spikeout" << 1 << "S:Beat; E:Shift; W:Charge; N:Jump; RB:Shift";
    QTest::newRow("soccer") << "soccer" << 1 << "S:P1 Long Pass; E:P1 Shoot; W:P1 Short Pass";
    QTest::newRow("soccer P2") << "soccer" << 2 << "S:P2 Long Pass; E:P2 Shoot; W:P2 Short Pass";
    QTest::newRow("vehicle") << "vehicle" << 1 << "LB:Shift Down; RB:Shift Up; LT:Brake Pedal/Front Brake; RT:Accelerator Pedal; LS:Full Steering";
    QTest::newRow("shift4") << "shift4" << 1 << "LB:Shift Down; RB:Shift Up; RS:Shift 1/2/3/4";
    QTest::newRow("shiftupdown") << "shiftupdown" << 1 << "LB:Shift Down; RB:Shift Up";
    QTest::newRow("vr4") << "vr4" << 1 << "S:VR2; E:VR4; W:VR3; N:VR1";
    QTest::newRow("viewchange") << "viewchange" << 1 << "N:View Change";
    QTest::newRow("handbrake") << "handbrake" << 1 << "S:Hand Brake";
    QTest::newRow("harley") << "harley" << 1 << "S:Rear Brake; E:Music Selection";
    QTest::newRow("twin_joysticks") << "twin_joysticks" << 1 << "S:Macro Crouch; N:Macro Jump; LB:Left Turbo; RB:Right Turbo; LT:Left Shot Trigger; RT:Right Shot Trigger; LS:Macro Forward/Reverse/Strafe Left/Strafe Right; RS:Macro Turn Left/Right";
    QTest::newRow("analog_joystick") << "analog_joystick" << 1 << "S:Event Button 1; W:Trigger Button 1; RT:Trigger Button 1; LS:Analog X-Axis/Y-Axis";
    QTest::newRow("gun1") << "gun1" << 1 << "";
    QTest::newRow("gun2") << "gun2" << 2 << "";
    QTest::newRow("analog_gun1") << "analog_gun1" << 1 << "";
    QTest::newRow("analog_gun2") << "analog_gun2" << 2 << "";
    QTest::newRow("ski") << "ski" << 1 << "S:Ski Champ Select 2; E:Ski Champ Select 3; W:Ski Champ Select 1; LT:Ski Champ Poll Left; RT:Ski Champ Poll Right; LS:Ski Champ X-Axis; RS:Ski Champ Y-Axis";
    QTest::newRow("magtruck") << "magtruck" << 1 << "S:P1 Magical Pedal; LS:P1 Magical Lever";
    QTest::newRow("magtruck P2") << "magtruck" << 2 << "S:P2 Magical Pedal; LS:P2 Magical Lever";
    QTest::newRow("fishing") << "fishing" << 1 << "S:Cast; E:Select; LT:Tension; RT:Reel Speed; LS:Rod X-Axis/Y-Axis; RS:Stick X-Axis/Y-Axis";
    // clang-format on
}

void PadLayoutTest::partsByInputType() {
    QFETCH(QString, type);
    QFETCH(int, player);
    const PadLayout layout = defaultPadLayout({type}, 2);
    QTEST(described(partsUsed(layout, player)), "parts");
    // A second player where the game has one of its own: Start 2 alone is none.
    const bool second =
        QStringList{"joystick2", "fighting", "soccer", "gun2", "analog_gun2", "magtruck"}.contains(
            type);
    QCOMPARE(padPlayers({type}), second ? 2 : 1);
    QCOMPARE(offPadNote({type}).isEmpty(), !type.contains(QLatin1String("gun")));
}

void PadLayoutTest::everyInputHasItsPlace() {
    QStringList types;
    for (const GameInput& input : kGameInputs)
        types << QString::fromLatin1(input.type.data(), qsizetype(input.type.size()));
    types.removeDuplicates();
    QCOMPARE(types.size(), 21);
    QCOMPARE(defaultPadLayout(types, 2).size(), kGameInputs.size());
}

// In every combination of input types the emulator's games list.
void PadLayoutTest::noControlDrivesTwoInputs() {
    const QList<QStringList> games{
        {"common", "fishing"},
        {"common", "shift4", "vehicle", "vr4"},
        {"common", "shiftupdown", "vehicle", "viewchange"},
        {"common", "fighting", "joystick1", "joystick2"},
        {"common", "harley", "shiftupdown", "vehicle", "viewchange"},
        {"analog_gun1", "analog_gun2", "common"},
        {"common", "shiftupdown", "vehicle", "vr4"},
        {"common", "magtruck"},
        {"common", "ski"},
        {"common", "joystick1", "spikeout"},
        {"common", "handbrake", "shift4", "vehicle", "viewchange"},
        {"analog_joystick", "common"},
        {"common", "twin_joysticks"},
        {"common", "joystick1", "joystick2", "soccer"},
    };
    for (const QStringList& types : games) {
        QHash<std::pair<int, int>, QString> driven; // by player and control
        for (const PadAssignment& a : defaultPadLayout(types, 2)) {
            for (PadControl control : a.controls) {
                const QString other = driven.value({a.player, int(control)});
                QVERIFY2(other.isEmpty(),
                         qPrintable(types.join(u' ') + u':' + other + u' ' + a.input));
                driven.insert({a.player, int(control)}, a.input);
            }
        }
    }
}

void PadLayoutTest::valuesWritten_data() {
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("nintendo1");
    QTest::addColumn<bool>("nintendo2");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("current"); // empty: not given, the built-in value
    QTest::addColumn<QString>("written");
    // clang-format off
    QTest::newRow("Start, keys kept") << "common" << false << false << "Start1" << "" << "KEY_1,JOY1_BUTTON8";
    QTest::newRow("trigger as a pedal") << "vehicle" << false << false << "Accelerator" << "KEY_UP,JOY1_UP" << "KEY_UP,JOY1_RZAXIS_POS";
    QTest::newRow("steering whole") << "vehicle" << false << false << "Steering" << "" << "JOY1_XAXIS";
    QTest::newRow("half loses the stick, keeps the key") << "vehicle" << false << false << "SteeringLeft" << "KEY_LEFT,JOY1_XAXIS_NEG" << "KEY_LEFT";
    QTest::newRow("half with nothing left") << "ski" << false << false << "SkiLeft" << "JOY1_XAXIS_NEG" << "NONE";
    QTest::newRow("NONE gives way") << "analog_joystick" << false << false << "AnalogJoyEvent" << "NONE" << "JOY1_BUTTON1";
    QTest::newRow("stick and d-pad") << "joystick1" << false << false << "JoyUp" << "" << "KEY_UP,JOY1_YAXIS_NEG,JOY1_POV1_UP";
    QTest::newRow("mouse kept") << "analog_joystick" << false << false << "AnalogJoyX" << "" << "MOUSE_XAXIS,JOY1_XAXIS";
    QTest::newRow("light gun: mouse only") << "analog_gun1" << false << false << "AnalogGunX" << "" << "MOUSE_XAXIS";
    QTest::newRow("light gun P2: nothing") << "analog_gun2" << false << false << "AnalogGunX2" << "JOY2_XAXIS" << "NONE";
    QTest::newRow("P2") << "fighting" << false << false << "Punch2" << "" << "JOY2_BUTTON3";
    QTest::newRow("Nintendo west") << "fighting" << true << false << "Punch" << "KEY_A,JOY1_BUTTON1" << "KEY_A,JOY1_BUTTON4";
    QTest::newRow("Nintendo south") << "fighting" << true << false << "Guard" << "" << "KEY_D,JOY1_BUTTON2";
    QTest::newRow("Nintendo P2 alone") << "fighting" << false << true << "Punch2" << "" << "JOY2_BUTTON4";
    QTest::newRow("Nintendo P1 alone") << "fighting" << true << false << "Punch2" << "" << "JOY2_BUTTON3";
    QTest::newRow("Nintendo: shoulders stay") << "spikeout" << true << false << "Shift" << "" << "KEY_A,JOY1_BUTTON1,JOY1_BUTTON6";
    QTest::newRow("other sources kept") << "vr4" << false << false << "VR1" << "KEY_A,JOY2_BUTTON3,MOUSE_LEFT_BUTTON" << "KEY_A,JOY1_BUTTON4,MOUSE_LEFT_BUTTON";
    QTest::newRow("tension on the trigger") << "fishing" << false << false << "FishingTension" << "" << "KEY_T,JOY1_ZAXIS_POS";
    // clang-format on
}

void PadLayoutTest::valuesWritten() {
    QFETCH(QString, type);
    QFETCH(bool, nintendo1);
    QFETCH(bool, nintendo2);
    QFETCH(QString, input);
    QFETCH(QString, current);
    QHash<QString, QString> values;
    if (!current.isEmpty())
        values.insert(input, current);
    QTEST(valueOf(padValues({type}, 2, {nintendo1, nintendo2}, values), input), "written");
}

void PadLayoutTest::onePlayerLeavesTheSecondAlone() {
    const auto values =
        padValues({"common", "joystick1", "joystick2", "fighting"}, 1, {false, false}, {});
    QCOMPARE(values.size(), std::size_t(8 - 2 + 4 + 4));
    QCOMPARE(valueOf(values, QStringLiteral("Punch2")), QStringLiteral("(absent)"));
    QCOMPARE(valueOf(values, QStringLiteral("Start2")), QStringLiteral("(absent)"));
}

void PadLayoutTest::movingAnInput() {
    PadLayout layout = defaultPadLayout({"fighting", "vehicle"}, 2);
    // Punch onto Guard's button: Guard takes Punch's.
    QVERIFY(moveInput(layout, QStringLiteral("Punch"), PadControl::South));
    QCOMPARE(described(partsUsed(layout, 1)).section(u';', 0, 3),
             QStringLiteral("S:P1 Punch; E:P1 Escape; W:P1 Guard; N:P1 Kick"));
    // The second player's pad is another pad.
    QCOMPARE(described(partsUsed(layout, 2)).section(u';', 0, 0), QStringLiteral("S:P2 Guard"));
    // Only a whole-axis input takes a whole stick axis, and only that.
    QVERIFY(!moveInput(layout, QStringLiteral("Steering"), PadControl::LeftShoulder));
    QVERIFY(!moveInput(layout, QStringLiteral("Kick"), PadControl::RightStickX));
    QVERIFY(moveInput(layout, QStringLiteral("Steering"), PadControl::RightStickX));
    QVERIFY(!moveInput(layout, QStringLiteral("NoSuchInput"), PadControl::South));
    takeOffPad(layout, QStringLiteral("Kick"));
    const auto values = padValues(layout, {false, false}, {});
    QCOMPARE(valueOf(values, QStringLiteral("Kick")), QStringLiteral("KEY_S"));
    QCOMPARE(valueOf(values, QStringLiteral("Steering")), QStringLiteral("JOY1_RXAXIS"));
    QCOMPARE(valueOf(values, QStringLiteral("Punch")), QStringLiteral("KEY_A,JOY1_BUTTON1"));
}

void PadLayoutTest::sourcesNameTheControls() {
    for (int c = 0; c < kPadControlCount; ++c) {
        for (bool nintendo : {false, true}) {
            const auto control = PadControl(c);
            QCOMPARE(padControl(padSource(control, 2, nintendo), nintendo), control);
        }
    }
    QCOMPARE(padControl(QStringLiteral("joy1_up"), false), PadControl::LeftStickUp);
    QCOMPARE(padControl(QStringLiteral("JOY1_BUTTON1"), true), PadControl::East);
    QVERIFY(!padControl(QStringLiteral("JOY1_XAXIS_INV"), false));
    QVERIFY(!padControl(QStringLiteral("JOY1_BUTTON11"), false));
    QVERIFY(!padControl(QStringLiteral("KEY_A"), false));
}

QTEST_GUILESS_MAIN(PadLayoutTest)
#include "test_pad_layout.moc"
