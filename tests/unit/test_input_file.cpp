#include "support/DefaultInputFile.h"
#include "support/UsersFile.h"

#include "bindings/KeyNames.h"
#include "bindings/SlotTable.h"
#include "emulator/ConfigDocument.h"
#include "emulator/InputFile.h"

#include <QTest>

using emulator::SlotBinding;

namespace {

// Start1, Start2, an empty Coin1, then made-up slots up to 49.
std::vector<SlotBinding> sampleSlots() {
    std::vector<SlotBinding> slots{{"Start1", "1"}, {"Start2", "2"}, {"Coin1", ""}};
    for (int i = int(slots.size()); i < bindings::kSlotCount; ++i)
        slots.push_back({QStringLiteral("Extra%1").arg(i), QStringLiteral("K%1").arg(i)});
    return slots;
}

// The global value of `name` as the emulator reads the file, "-" for none.
QString globalValue(const QByteArray& file, const QString& name) {
    const auto value =
        emulator::ConfigDocument(file).value(emulator::ConfigDocument::kGlobal, name.toUtf8());
    return value ? QString::fromUtf8(*value) : QStringLiteral("-");
}

} // namespace

class TestInputFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void defaultFileByteForByte();
    void renamedInputsFollowTheirSlots();
    void formatLines_data();
    void formatLines();
    void roundTrip();
    void earlierCopiesAreKnownByTheirShape_data();
    void earlierCopiesAreKnownByTheirShape();
};

void TestInputFile::defaultFileByteForByte() {
    std::vector<SlotBinding> slots;
    for (const bindings::InputSlot& slot : bindings::kSlots)
        slots.push_back(
            {QString::fromLatin1(slot.inputName.data(), qsizetype(slot.inputName.size())),
             bindings::storedKeyName(
                 QString::fromLatin1(slot.defaultKey.data(), qsizetype(slot.defaultKey.size())))});
    const QByteArray bytes = emulator::formatInputFile(slots, u'"');
    QCOMPARE(bytes, kDefaultInputFile);
    QCOMPARE(bytes.count("\r\n"), 62);
    QCOMPARE(bytes.count('\n'), 62);

    // Read by name, every slot finds its key, under both names where renamed.
    for (const SlotBinding& slot : slots)
        QCOMPARE(globalValue(bytes, QStringLiteral("Input") + slot.inputName), slot.key);
    QCOMPARE(globalValue(bytes, QStringLiteral("InputTwinJoyShot1")), QStringLiteral("A"));
    QCOMPARE(globalValue(bytes, QStringLiteral("InputTwinJoyTurbo2")), QStringLiteral("X"));
    QCOMPARE(globalValue(bytes, QStringLiteral("InputAnalogTriggerRight")),
             QStringLiteral("MOUSE_RIGHT_BUTTON"));
}

void TestInputFile::renamedInputsFollowTheirSlots() {
    // Their own keys, in the fixed order whatever the slots' order; a missing
    // slot gives no line.
    const std::vector<SlotBinding> slots{{"TwinJoyRightTurbo", "T"},
                                         {"Start1", "1"},
                                         {"TwinJoyLeftShot", "MOUSE_LEFT_BUTTON"},
                                         {"TwinJoyRightShot", ""}};
    const QByteArray bytes = emulator::formatInputFile(slots, u'\'');
    QVERIFY2(bytes.endsWith("InputTwinJoyRightShot = ''\r\n"
                            "InputTwinJoyShot1 = 'MOUSE_LEFT_BUTTON'\r\n"
                            "InputTwinJoyShot2 = ''\r\n"
                            "InputTwinJoyTurbo2 = 'T'\r\n"),
             bytes.constData());
    QCOMPARE(bytes.count("\r\n"), 7 + 4 + 3);
}

void TestInputFile::formatLines_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QChar>("quote");
    QTest::addColumn<QByteArray>("line");

    QTest::newRow("default Start1") << "Start1"
                                    << "1" << QChar(u'"') << QByteArray("InputStart1 = \"1\"");
    QTest::newRow("mouse key") << "AnalogJoyTrigger"
                               << "MouseLeft" << QChar(u'"')
                               << QByteArray("InputAnalogJoyTrigger = \"MouseLeft\"");
    QTest::newRow("empty key") << "Coin2"
                               << "" << QChar(u'"') << QByteArray("InputCoin2 = \"\"");
    QTest::newRow("other quote") << "JoyUp"
                                 << "Up" << QChar(u'\'') << QByteArray("InputJoyUp = 'Up'");
    QTest::newRow("non-ASCII key")
        << "Punch" << QStringLiteral("É") << QChar(u'"') << QByteArray("InputPunch = \"\xc3\x89\"");
}

void TestInputFile::formatLines() {
    QFETCH(QString, name);
    QFETCH(QString, key);
    QFETCH(QChar, quote);
    QFETCH(QByteArray, line);

    const std::vector<SlotBinding> slots{{"Start1", "1"}, {name, key}};
    const QByteArray bytes = emulator::formatInputFile(slots, quote);
    const QList<QByteArray> lines = bytes.split('\n');
    // Seven header lines, two slots, and the empty piece after the last LF.
    QCOMPARE(lines.size(), 10);
    QCOMPARE(lines[8], line + '\r');
    QCOMPARE(lines[9], QByteArray());
}

void TestInputFile::roundTrip() {
    std::vector<SlotBinding> slots = sampleSlots();
    slots[3].key = QStringLiteral("Key with blanks = and é");
    slots[4].key = QStringLiteral(" ");
    slots[5].inputName = QStringLiteral("Ünïcode");
    const QByteArray bytes = emulator::formatInputFile(slots, u'"');
    for (const SlotBinding& slot : slots)
        QCOMPARE(globalValue(bytes, QStringLiteral("Input") + slot.inputName), slot.key);
}

void TestInputFile::earlierCopiesAreKnownByTheirShape_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("earlier");
    const QByteArray earlier = earlierInputFile();
    // The first versions wrote the 49 slots alone.
    const qsizetype renamed = earlier.indexOf("InputTwinJoyShot1");
    QTest::newRow("49 slots") << earlier.left(renamed) << true;
    QTest::newRow("and the current names") << earlier << true;
    QTest::newRow("a binding changed since")
        << QByteArray(earlier).replace("InputStart1 = \"1\"",
                                       "InputStart1 = \"KEY_G,JOY1_BUTTON2\"")
        << true;
    QTest::newRow("written by us now") << kDefaultInputFile << false;
    QTest::newRow("LF line ends") << QByteArray(earlier).replace("\r\n", "\n") << false;
    QTest::newRow("a line end missing") << earlier.chopped(2) << false;
    QTest::newRow("a value without quotes")
        << QByteArray(earlier).replace("InputStart1 = \"1\"", "InputStart1 = 1") << false;
    QTest::newRow("another setting") << earlier + "WideScreen = \"1\"\r\n" << false;
    QTest::newRow("an input no slot has") << earlier + "InputSkiX = \"JOY1_XAXIS\"\r\n" << false;
    QTest::newRow("a comment") << earlier + "; mine\r\n" << false;
    QTest::newRow("a game's section") << earlier + "[ vf3 ]\r\n" << false;
    QTest::newRow("the emulator's first-start file") << firstStartFile() << false;
}

void TestInputFile::earlierCopiesAreKnownByTheirShape() {
    QFETCH(QByteArray, file);
    QFETCH(bool, earlier);
    QVERIFY(!file.isEmpty());
    QCOMPARE(emulator::isEarlierFrontEndFile(file), earlier);
}

QTEST_APPLESS_MAIN(TestInputFile)
#include "test_input_file.moc"
