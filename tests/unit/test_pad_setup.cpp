// The set-up's moves by a pad's press and what Apply writes where.
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
    void applyWritesEachSetFromItsOwnValues();
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

void PadSetupTest::applyWritesEachSetFromItsOwnValues() {
    PadSetup setup = setUp({"common", "joystick1", "joystick2", "fighting"});
    setup.deadZone = 6;
    setup.nintendo = {false, true};
    BindingStore store;
    store.load([](const QString&) { return std::optional<QString>(); },
               [](const QString& set, const QString& input) {
                   return set == QLatin1String("b") && input == QLatin1String("Kick")
                              ? std::optional<QString>(QStringLiteral("KEY_K"))
                              : std::nullopt;
               });
    applyPadSetup(setup, store);
    QCOMPARE(store.gameValue(QStringLiteral("a"), QStringLiteral("Kick")),
             std::optional<QString>(QStringLiteral("KEY_S,JOY1_BUTTON4")));
    QCOMPARE(store.gameValue(QStringLiteral("b"), QStringLiteral("Kick")),
             std::optional<QString>(QStringLiteral("KEY_K,JOY1_BUTTON4")));
    // Player 2's pad in Nintendo letters: north is written as button 3.
    QCOMPARE(store.gameValue(QStringLiteral("a"), QStringLiteral("Kick2")),
             std::optional<QString>(QStringLiteral("JOY2_BUTTON3")));
    QCOMPARE(store.inputSystemFor(QStringLiteral("b")), QStringLiteral("sdlgamepad"));
    QCOMPARE(store.inputSystem(), QString());
    QCOMPARE(store.settingEdits()
                 .value(QStringLiteral("a"))
                 .value(QStringLiteral("InputJoy2RYDeadZone")),
             QStringLiteral("6"));
    QVERIFY(!store.settingEdits().contains(kGlobalSection));
}

QTEST_GUILESS_MAIN(PadSetupTest)
#include "test_pad_setup.moc"
