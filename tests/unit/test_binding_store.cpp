// The binding store: loaded from the configuration file by input name, one
// value per input, and its edits given back as the settings Save writes.
#include "bindings/BindingStore.h"
#include "emulator/BindingFile.h"
#include "emulator/ConfigDocument.h"

#include <QTest>

using bindings::BindingStore;
using bindings::ValueOrigin;

namespace {

BindingStore loaded(const QByteArray& file) {
    BindingStore store;
    emulator::loadBindings(store, emulator::ConfigDocument(file));
    return store;
}

} // namespace

class BindingStoreTest final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void loadsByInputName_data();
    void loadsByInputName();
    void givesItsEditsBack_data();
    void givesItsEditsBack();
    void answersForTheGameSections();
};

void BindingStoreTest::loadsByInputName_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("builtIn");
    QTest::newRow("a chart input the file names")
        << QByteArray("InputPunch = \"KEY_G\"\n") << "Punch"
        << "KEY_G" << false;
    QTest::newRow("not in the file: the emulator's own") << QByteArray() << "Punch"
                                                         << "KEY_A,JOY1_BUTTON1" << true;
    QTest::newRow("a game section is not the global value")
        << QByteArray("[ vf3 ]\nInputPunch = KEY_G\n") << "Punch"
        << "KEY_A,JOY1_BUTTON1" << true;
    QTest::newRow("a renamed input by its earlier name")
        << QByteArray("InputTwinJoyLeftShot = KEY_Q\n") << "TwinJoyShot1"
        << "KEY_Q" << false;
    QTest::newRow("the current name wins")
        << QByteArray("InputTwinJoyShot1 = KEY_W\nInputTwinJoyLeftShot = KEY_Q\n") << "TwinJoyShot1"
        << "KEY_W" << false;
    QTest::newRow("a page input") << QByteArray("InputGearShiftUp = KEY_J\n") << "GearShiftUp"
                                  << "KEY_J" << false;
    QTest::newRow("a page input the file lacks") << QByteArray("InputPunch = KEY_G\n") << "Kick2"
                                                 << "JOY2_BUTTON2" << true;
}

void BindingStoreTest::loadsByInputName() {
    QFETCH(QByteArray, file);
    QFETCH(QString, input);
    const BindingStore store = loaded(file);
    const bindings::Binding* binding = store.find(input);
    QVERIFY(binding);
    QTEST(binding->value, "value");
    QTEST(binding->origin == ValueOrigin::BuiltIn, "builtIn");
    QVERIFY(!binding->edited);
}

void BindingStoreTest::givesItsEditsBack_data() {
    QTest::addColumn<QByteArray>("file");      // as it is when Save writes
    QTest::addColumn<QStringList>("edits");    // "input=value", in order
    QTest::addColumn<QStringList>("settings"); // sorted
    const QByteArray earlier = "InputTwinJoyLeftShot = KEY_A\nInputTrigger = MOUSE_LEFT_BUTTON\n";
    QTest::newRow("nothing edited") << earlier << QStringList() << QStringList();
    QTest::newRow("a chart input and a page input")
        << QByteArray() << QStringList{"Punch=KEY_G", "SkiX=MOUSE_XAXIS"}
        << QStringList{"InputPunch=KEY_G", "InputSkiX=MOUSE_XAXIS"};
    QTest::newRow("a renamed input, its earlier line in the file")
        << earlier << QStringList{"TwinJoyShot1=KEY_Q"}
        << QStringList{"InputTwinJoyLeftShot=KEY_Q", "InputTwinJoyShot1=KEY_Q"};
    QTest::newRow("a renamed input, no earlier line")
        << QByteArray("InputTwinJoyShot1 = KEY_A\n") << QStringList{"TwinJoyShot1=KEY_Q"}
        << QStringList{"InputTwinJoyShot1=KEY_Q"};
    QTest::newRow("the page's Trigger wins over the chart's earlier name")
        << earlier << QStringList{"Trigger=KEY_T", "AnalogTriggerLeft=KEY_L"}
        << QStringList{"InputAnalogTriggerLeft=KEY_L", "InputTrigger=KEY_T"};
    QTest::newRow("the last edit of an input counts")
        << QByteArray() << QStringList{"Punch=KEY_G", "Punch=KEY_H"}
        << QStringList{"InputPunch=KEY_H"};
}

void BindingStoreTest::givesItsEditsBack() {
    QFETCH(QByteArray, file);
    QFETCH(QStringList, edits);
    BindingStore store = loaded(file);
    for (const QString& edit : edits)
        store.edit(edit.section(u'=', 0, 0), edit.section(u'=', 1));
    for (const QString& edit : edits) {
        const bindings::Binding* binding = store.find(edit.section(u'=', 0, 0));
        QVERIFY(binding->edited);
        QCOMPARE(binding->origin, ValueOrigin::File);
    }
    const QHash<QString, QString> given =
        emulator::bindingSettings(store, emulator::ConfigDocument(file));
    QStringList settings;
    for (auto it = given.cbegin(); it != given.cend(); ++it)
        settings.append(it.key() + u'=' + it.value());
    settings.sort();
    QTEST(settings, "settings");
}

void BindingStoreTest::answersForTheGameSections() {
    const BindingStore store = loaded("InputSystem = sdlgamepad\nInputSkiX = JOY1_XAXIS\n"
                                      "[ skichamp, vf3 ]\nInputSkiX = MOUSE_XAXIS\n"
                                      "[ skichamp ]\nInputSkiX = JOY2_XAXIS\n");
    QCOMPARE(store.gameValue(QStringLiteral("skichamp"), QStringLiteral("SkiX")),
             std::optional<QString>(QStringLiteral("JOY2_XAXIS")));
    QCOMPARE(store.gameValue(QStringLiteral("vf3"), QStringLiteral("SkiX")),
             std::optional<QString>(QStringLiteral("MOUSE_XAXIS")));
    QCOMPARE(store.gameValue(QStringLiteral("scud"), QStringLiteral("SkiX")), std::nullopt);
    QCOMPARE(store.gameValue(QString(), QStringLiteral("SkiX")), std::nullopt); // no set
    QCOMPARE(store.value(QStringLiteral("SkiX")), QStringLiteral("JOY1_XAXIS"));
    QCOMPARE(store.inputSystem(), QStringLiteral("sdlgamepad"));
}

QTEST_GUILESS_MAIN(BindingStoreTest)
#include "test_binding_store.moc"
