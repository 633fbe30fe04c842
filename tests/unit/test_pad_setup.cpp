// The set-up's moves by a pad's press and by taking a part off the pad.
#include "bindings/BindingStore.h"
#include "bindings/PadSetup.h"

#include <QTest>

using namespace bindings;

namespace {

PadSetup setUp(const QStringList& types) {
    PadSetup setup;
    resetPadSetup(setup, QStringLiteral("A game"), types,
                  {QStringLiteral("a"), QStringLiteral("b")});
    return setup;
}

} // namespace

class PadSetupTest final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void pressMovesThePendingInput_data();
    void pressMovesThePendingInput();
    void takeOffLeavesTheOtherPart();
};

void PadSetupTest::pressMovesThePendingInput_data() {
    QTest::addColumn<QStringList>("types");
    QTest::addColumn<int>("part"); // PadPart chosen
    QTest::addColumn<QString>("pressed");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("value"); // its value afterwards; empty: not moved
    // clang-format off
    QTest::newRow("punch to the north button")
        << QStringList{"common", "fighting"} << int(PadPart::West) << "JOY3_BUTTON4" << "Punch" << "KEY_A,JOY1_BUTTON4";
    QTest::newRow("steering to the right stick, pushed right")
        << QStringList{"common", "vehicle"} << int(PadPart::LeftStick) << "JOY1_RXAXIS_POS" << "Steering" << "JOY1_RXAXIS";
    QTest::newRow("steering refuses a trigger")
        << QStringList{"common", "vehicle"} << int(PadPart::LeftStick) << "JOY1_RZAXIS_POS" << "Steering" << "";
    QTest::newRow("a key is no pad part")
        << QStringList{"common", "fighting"} << int(PadPart::West) << "KEY_A" << "Punch" << "";
    // clang-format on
}

void PadSetupTest::pressMovesThePendingInput() {
    QFETCH(QStringList, types);
    QFETCH(int, part);
    QFETCH(QString, pressed);
    QFETCH(QString, input);
    QFETCH(QString, value);
    PadSetup setup = setUp(types);
    choosePadPart(setup, PadPart(part));
    QCOMPARE(setup.pending.value(0), input);
    QCOMPARE(movePendingInput(setup, pressed), !value.isEmpty());
    if (value.isEmpty())
        return;
    BindingStore store;
    store.load([](const QString&) { return std::optional<QString>(); });
    QCOMPARE(padSettings(setup, store, QString()).value(QStringLiteral("Input") + input), value);
}

void PadSetupTest::takeOffLeavesTheOtherPart() {
    PadSetup setup = setUp({"common", "joystick1"});
    choosePadPart(setup, PadPart::Dpad);
    takePartOffPad(setup);
    BindingStore store;
    store.load([](const QString&) { return std::optional<QString>(); });
    QCOMPARE(padSettings(setup, store, QString()).value(QStringLiteral("InputJoyUp")),
             QStringLiteral("KEY_UP,JOY1_YAXIS_NEG"));
}

QTEST_GUILESS_MAIN(PadSetupTest)
#include "test_pad_setup.moc"
