// The current release's inputs by input type, the names the chart's slots
// write, which sources an input takes, and a whole axis from a device.

#include "bindings/BindingStore.h"
#include "bindings/BuiltInValues.h"
#include "bindings/DeviceNames.h"
#include "bindings/GameInputs.h"
#include "bindings/GamePage.h"

#include <QTest>

using bindings::InputKind;

Q_DECLARE_METATYPE(bindings::InputKind)

namespace {

QStringList names(const std::vector<const bindings::GameInput*>& inputs) {
    QStringList list;
    for (const bindings::GameInput* input : inputs)
        list << QString::fromLatin1(input->name.data(), qsizetype(input->name.size()));
    return list;
}

platform::DeviceState axes(std::vector<int> values) {
    platform::DeviceState state;
    state.axes = std::move(values);
    return state;
}

} // namespace

class GameInputsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void typesToInputs_data();
    void typesToInputs();
    void lightGunSlotsWriteTheAnalogTriggers();
    void whichSourcesAnInputTakes_data();
    void whichSourcesAnInputTakes();
    void wholeAxisFromEndToEnd_data();
    void wholeAxisFromEndToEnd();
};

void GameInputsTest::typesToInputs_data() {
    QTest::addColumn<QStringList>("types");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("first");
    QTest::addColumn<QStringList>("absent");
    QTest::newRow("Virtua Fighter 3")
        << QStringList{"common", "joystick1", "joystick2", "fighting"} << 24
        << QStringList{"Start1", "Start2"} << QStringList{"GearShiftUp"};
    QTest::newRow("Virtual On") << QStringList{"twin_joysticks", "common"} << 28
                                << QStringList{"Start1"} << QStringList{};
    QTest::newRow("shift up and down only") << QStringList{"common", "vehicle", "shiftupdown"} << 15
                                            << QStringList{} << QStringList{"GearShift1"};
    QTest::newRow("four gears: their steps too")
        << QStringList{"shift4"} << 7 << QStringList{"GearShiftUp", "GearShiftDown", "GearShift1"}
        << QStringList{};
    QTest::newRow("no type the emulator knows")
        << QStringList{"pinball"} << 0 << QStringList{} << QStringList{};
}

void GameInputsTest::typesToInputs() {
    QFETCH(QStringList, types);
    QFETCH(QStringList, first);
    QFETCH(QStringList, absent);
    QStringList got = names(bindings::gameInputs(types));
    QTEST(int(got.size()), "count");
    QCOMPARE(got.mid(0, first.size()), first);
    QCOMPARE(int(QStringList(got).removeDuplicates()), 0);
    for (const QString& name : absent)
        QVERIFY2(!got.contains(name), qPrintable(name));
}

void GameInputsTest::lightGunSlotsWriteTheAnalogTriggers() {
    QCOMPARE(bindings::currentInputName("Trigger"), std::string_view("AnalogTriggerLeft"));
    QCOMPARE(bindings::currentInputName("Offscreen"), std::string_view("AnalogTriggerRight"));
    QCOMPARE(bindings::currentInputName("TwinJoyLeftShot"), std::string_view("TwinJoyShot1"));
    QCOMPARE(bindings::currentInputName("Punch"), std::string_view("Punch"));
    QCOMPARE(bindings::builtInValue("Offscreen"),
             std::string_view("KEY_S,JOY1_BUTTON2,MOUSE_RIGHT_BUTTON"));
    // The page shows them as the chart's own slots, not apart.
    QCOMPARE(bindings::chartSlotOf("AnalogTriggerLeft"), 47);
    QVERIFY(!bindings::pageInputNames().contains(QStringLiteral("Trigger")));
    QVERIFY(!bindings::pageInputNames().contains(QStringLiteral("AnalogTriggerRight")));
    QVERIFY(bindings::pageInputNames().contains(QStringLiteral("GearShiftUp")));
    QCOMPARE(bindings::pageInputNames().size(), 151 - 49 - 2);
}

void GameInputsTest::whichSourcesAnInputTakes_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("taken");
    QTest::newRow("ski X: a stick axis") << "SkiX"
                                         << "JOY3_XAXIS" << true;
    QTest::newRow("ski X: reversed") << "SkiX"
                                     << "JOY1_RXAXIS_INV" << true;
    QTest::newRow("ski X: the mouse") << "SkiX"
                                      << "MOUSE_XAXIS" << true;
    QTest::newRow("ski X: a slider") << "SkiX"
                                     << "JOY1_SLIDER2" << true;
    QTest::newRow("ski X: a key") << "SkiX"
                                  << "KEY_A" << false;
    QTest::newRow("ski X: a half axis") << "SkiX"
                                        << "JOY1_XAXIS_POS" << false;
    QTest::newRow("gun aim: a button") << "AnalogGunX"
                                       << "JOY1_BUTTON1" << false;
    QTest::newRow("magical lever: a mouse button") << "MagicalLever1"
                                                   << "MOUSE_LEFT_BUTTON" << false;
    QTest::newRow("reel: a pedal's whole axis") << "FishingReel"
                                                << "JOY1_ZAXIS" << true;
    QTest::newRow("rear brake: a key") << "RearBrake"
                                       << "KEY_S" << true;
    QTest::newRow("pole: a whole axis, as the emulator takes it") << "SkiPollLeft"
                                                                  << "JOY1_XAXIS" << true;
    QTest::newRow("steer left: a half axis") << "SteeringLeft"
                                             << "JOY1_XAXIS_NEG" << true;
}

void GameInputsTest::whichSourcesAnInputTakes() {
    QFETCH(QString, input);
    QFETCH(QString, source);
    QTEST(bindings::accepts(bindings::inputKind(input.toStdString()), source), "taken");
    // The pedal-like inputs take a pedal pressed all the way in the capture.
    QCOMPARE(bindings::takesWholeAxis(input.toStdString()),
             bindings::inputKind(input.toStdString()) == InputKind::Pedal);
}

void GameInputsTest::wholeAxisFromEndToEnd_data() {
    QTest::addColumn<int>("rest");
    QTest::addColumn<QList<int>>("positions");
    QTest::addColumn<QString>("source"); // empty: none yet
    QTest::newRow("centred, right then left") << 0 << QList<int>{32767, 0, -32768} << "JOY1_XAXIS";
    QTest::newRow("centred, left first: reversed")
        << 0 << QList<int>{-32768, -20000, 32767} << "JOY1_XAXIS_INV";
    QTest::newRow("held at one end only") << 0 << QList<int>{-32768, -32768} << "";
    QTest::newRow("drift") << 0 << QList<int>{9000, -9000, 9000} << "";
    QTest::newRow("pedal at the top, pressed") << 32767 << QList<int>{-32768} << "JOY1_XAXIS_INV";
    QTest::newRow("pedal at the bottom, pressed") << -32768 << QList<int>{32767} << "JOY1_XAXIS";
}

void GameInputsTest::wholeAxisFromEndToEnd() {
    QFETCH(int, rest);
    QFETCH(QList<int>, positions);
    bindings::AxisTravel travel;
    bindings::DeviceEvent event;
    const platform::DeviceState at = axes({rest, 0});
    for (int position : positions) {
        platform::DeviceState now = axes({position, 0});
        now.buttons = {true}; // buttons never count here
        event = bindings::wholeAxisEvent(1, at, now, bindings::Numbering::Joystick, travel);
        if (event.kind != bindings::DeviceEvent::Kind::None)
            break;
    }
    QTEST(event.source, "source");
}

QTEST_GUILESS_MAIN(GameInputsTest)
#include "test_game_inputs.moc"
