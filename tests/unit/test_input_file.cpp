#include "support/DefaultInputFile.h"

#include "bindings/KeyNames.h"
#include "bindings/SlotTable.h"
#include "emulator/InputFile.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTest>

using emulator::SlotBinding;

namespace {

// Start1, Start2, an empty Coin1, then made-up slots up to 49.
std::vector<SlotBinding> sampleSlots() {
    std::vector<SlotBinding> slots{{"Start1", "1"}, {"Start2", "2"}, {"Coin1", ""}};
    for (int i = int(slots.size()); i < emulator::kInputFileSlots; ++i)
        slots.push_back({QStringLiteral("Extra%1").arg(i), QStringLiteral("K%1").arg(i)});
    return slots;
}

QStringList namesOf(const std::vector<SlotBinding>& bindings) {
    QStringList names;
    for (const SlotBinding& binding : bindings)
        names << binding.inputName;
    return names;
}

QStringList keysOf(const std::vector<SlotBinding>& bindings) {
    QStringList keys;
    for (const SlotBinding& binding : bindings)
        keys << binding.key;
    return keys;
}

QByteArray inputLines(int count, const char* lineEnd) {
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes +=
            "InputN" + QByteArray::number(i) + " = \"k" + QByteArray::number(i) + '"' + lineEnd;
    return bytes;
}

std::vector<SlotBinding> readFromDevice(QByteArray bytes) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return emulator::readInputFile(buffer);
}

} // namespace

class TestInputFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void formatFullFile();
    void defaultFileByteForByte();
    void renamedInputsFollowTheirSlots();
    void formatLines_data();
    void formatLines();
    void parse_data();
    void parse();
    void readGivesWhatParseGives_data() { parse_data(); }
    void readGivesWhatParseGives();
    void readCutsLongKeysAndNames();
    void roundTrip();
    void stopsAfter49_data();
    void stopsAfter49();
    void garbageWithoutLineEnds();
    void millionInputLines();
    void longKey();
};

void TestInputFile::formatFullFile() {
    const std::vector<SlotBinding> slots = sampleSlots();
    QByteArray expected = ";\r\n"
                          "; Supermodel Configuration File\r\n"
                          ";\r\n"
                          "\r\n"
                          "[ Global ]\r\n"
                          "\r\n"
                          "InputStart1 = \"1\"\r\n"
                          "InputStart2 = \"2\"\r\n"
                          "InputCoin1 = \"\"\r\n";
    for (int i = 3; i < emulator::kInputFileSlots; ++i)
        expected +=
            "InputExtra" + QByteArray::number(i) + " = \"K" + QByteArray::number(i) + "\"\r\n";

    const QByteArray bytes = emulator::formatInputFile(slots, u'"');
    QCOMPARE(bytes, expected);
    QCOMPARE(bytes.count("\r\n"), 55);
    QVERIFY(bytes.endsWith("InputExtra48 = \"K48\"\r\n"));
}

void TestInputFile::defaultFileByteForByte() {
    std::vector<SlotBinding> slots;
    for (const bindings::InputSlot& slot : bindings::kSlots)
        slots.push_back(
            {QString::fromLatin1(slot.inputName.data(), qsizetype(slot.inputName.size())),
             bindings::storedKeyName(
                 QString::fromLatin1(slot.defaultKey.data(), qsizetype(slot.defaultKey.size())))});
    const QByteArray bytes = emulator::formatInputFile(slots, u'"');
    QCOMPARE(bytes, kDefaultInputFile);
    QCOMPARE(bytes.count("\r\n"), 59);
    QCOMPARE(bytes.count('\n'), 59);

    // The reader stops at the 49 slots: the repeated lines never shift them.
    const std::vector<SlotBinding> read = emulator::parseInputFile(bytes);
    QCOMPARE(namesOf(read), namesOf(slots));
    QCOMPARE(keysOf(read), keysOf(slots));
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
    QCOMPARE(bytes.count("\r\n"), 6 + 4 + 3);
}

void TestInputFile::formatLines_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QChar>("quote");
    QTest::addColumn<QByteArray>("line");

    QTest::newRow("default Start1") << "Start1"
                                    << "1" << QChar(u'"') << QByteArray("InputStart1 = \"1\"");
    QTest::newRow("mouse key") << "Trigger"
                               << "MouseLeft" << QChar(u'"')
                               << QByteArray("InputTrigger = \"MouseLeft\"");
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
    // Six header lines, two slots, and the empty piece after the last LF.
    QCOMPARE(lines.size(), 9);
    QCOMPARE(lines[7], line + '\r');
    QCOMPARE(lines[8], QByteArray());
}

void TestInputFile::parse_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("keys");

    QTest::newRow("written line") << QByteArray("InputStart1 = \"1\"\r\n") << QStringList{"Start1"}
                                  << QStringList{"1"};
    QTest::newRow("leading blanks stay")
        << QByteArray("  InputJoyUp = \"Up\"") << QStringList{"  JoyUp"} << QStringList{"Up"};
    QTest::newRow("comment holding Input") << QByteArray("; Input comment \"x\" here")
                                           << QStringList{";  comment"} << QStringList{"x"};
    QTest::newRow("lines without Input skipped")
        << QByteArray(";\r\n; Supermodel Configuration File\r\n[ Global ]\r\n\r\nA = \"a\"\r\n"
                      "input lower = \"b\"\r\nINPUT upper = \"c\"\r\nInputD = \"d\"\r\n")
        << QStringList{"D"} << QStringList{"d"};
    QTest::newRow("no quote: empty key")
        << QByteArray("InputCoin1 = Up") << QStringList{"Coin1  Up"} << QStringList{""};
    QTest::newRow("lone quote: rest of line")
        << QByteArray("InputCoin1 = \"abc def \r\nInputX") << QStringList{"Coin1", "X"}
        << QStringList{"abc def ", ""};
    QTest::newRow("third quote ignored")
        << QByteArray("InputA = \"x\"y\"") << QStringList{"A"} << QStringList{"x"};
    QTest::newRow("empty quotes") << QByteArray("InputA = \"\"") << QStringList{"A"}
                                  << QStringList{""};
    QTest::newRow("equals inside key kept")
        << QByteArray("InputA = \"x=y\"") << QStringList{"A"} << QStringList{"x=y"};
    QTest::newRow("inner blanks of name kept")
        << QByteArray("InputA B  =  \"k\"") << QStringList{"A B"} << QStringList{"k"};
    QTest::newRow("tab is not a blank")
        << QByteArray("InputA\t= \"k\"") << QStringList{"A\t"} << QStringList{"k"};
    QTest::newRow("Input inside the name")
        << QByteArray("xxInputyy=\"k\"") << QStringList{"xxyy"} << QStringList{"k"};
    QTest::newRow("Input twice") << QByteArray("InputInputA = \"k\"") << QStringList{"A"}
                                 << QStringList{"k"};
    QTest::newRow("Input only in key")
        << QByteArray("A = \"Input\"") << QStringList{"A"} << QStringList{"Input"};
    QTest::newRow("equals removed before trimming")
        << QByteArray("InputA =") << QStringList{"A"} << QStringList{""};
    QTest::newRow("trimmed before Input removed")
        << QByteArray("A Input = \"k\"") << QStringList{"A "} << QStringList{"k"};
    QTest::newRow("CR alone") << QByteArray("InputA = \"a\"\rInputB = \"b\"\r")
                              << QStringList{"A", "B"} << QStringList{"a", "b"};
    QTest::newRow("LF alone") << QByteArray("InputA = \"a\"\nInputB = \"b\"")
                              << QStringList{"A", "B"} << QStringList{"a", "b"};
    QTest::newRow("mixed ends") << QByteArray("InputA = \"a\"\n\rInputB = \"b\"\r\n\r\nInputC")
                                << QStringList{"A", "B", "C"} << QStringList{"a", "b", ""};
    QTest::newRow("line end closes a lone quote")
        << QByteArray("InputA = \"a\rb\"\r\nInputC = \"c\"") << QStringList{"A", "C"}
        << QStringList{"a", "c"};
    QTest::newRow("UTF-8") << QByteArray("Input\xc3\x89t\xc3\xa9 = \"\xe6\xb8\xb8\"")
                           << QStringList{QStringLiteral("Été")}
                           << QStringList{QStringLiteral("游")};
    QTest::newRow("NUL bytes") << QByteArray("Input\0A = \"k\0\"", 14)
                               << QStringList{QStringView(u"\0A", 2).toString()}
                               << QStringList{QStringView(u"k\0", 2).toString()};
    QTest::newRow("invalid UTF-8")
        << QByteArray("Input\xff = \"\xfe\"") << QStringList{QStringLiteral("\uFFFD")}
        << QStringList{QStringLiteral("\uFFFD")};
    QTest::newRow("empty file") << QByteArray() << QStringList{} << QStringList{};
    QTest::newRow("short file") << QByteArray(";\r\n\r\n[ Global ]\r\n\r\n") + inputLines(3, "\r\n")
                                << QStringList{"N0", "N1", "N2"} << QStringList{"k0", "k1", "k2"};
}

void TestInputFile::parse() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, names);
    QFETCH(QStringList, keys);
    const std::vector<SlotBinding> bindings = emulator::parseInputFile(bytes);
    QCOMPARE(namesOf(bindings), names);
    QCOMPARE(keysOf(bindings), keys);
}

void TestInputFile::readGivesWhatParseGives() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, names);
    QFETCH(QStringList, keys);
    const std::vector<SlotBinding> bindings = readFromDevice(bytes);
    QCOMPARE(namesOf(bindings), names);
    QCOMPARE(keysOf(bindings), keys);
}

void TestInputFile::readCutsLongKeysAndNames() {
    const qsizetype longest = emulator::kLongestKeyName;
    // A 3 MB key; a name just over the bound; a key whose last kept
    // character would be half of a surrogate pair.
    const QByteArray bytes = "InputA = \"" + QByteArray(3 << 20, 'k') + "\"\r\n" + "Input" +
                             QByteArray(longest + 10, 'n') + " = \"b\"\n" + "InputC = \"" +
                             QByteArray(longest - 1, 'c') + "\xf0\x9f\x8e\xae\"\n";
    const std::vector<SlotBinding> bindings = readFromDevice(bytes);
    QCOMPARE(bindings.size(), std::size_t(3));
    QCOMPARE(bindings[0].inputName, QStringLiteral("A"));
    QCOMPARE(bindings[0].key, QString(longest, u'k'));
    QCOMPARE(bindings[1].inputName, QString(longest, u'n'));
    QCOMPARE(bindings[1].key, QStringLiteral("b"));
    QCOMPARE(bindings[2].key, QString(longest - 1, u'c'));
}

void TestInputFile::roundTrip() {
    std::vector<SlotBinding> slots = sampleSlots();
    slots[3].key = QStringLiteral("Key with blanks = and é");
    slots[4].key = QStringLiteral(" ");
    slots[5].inputName = QStringLiteral("Ünïcode");
    const std::vector<SlotBinding> bindings =
        emulator::parseInputFile(emulator::formatInputFile(slots, u'"'));
    QCOMPARE(bindings.size(), slots.size());
    for (std::size_t i = 0; i < slots.size(); ++i) {
        QCOMPARE(bindings[i].inputName, slots[i].inputName);
        QCOMPARE(bindings[i].key, slots[i].key);
    }
}

void TestInputFile::stopsAfter49_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("CR LF") << inputLines(60, "\r\n");
    QTest::newRow("CR alone") << inputLines(60, "\r");
    QTest::newRow("LF alone") << inputLines(60, "\n");
    QTest::newRow("comments in between")
        << QByteArray("; Input first\r\n;\r\n") + inputLines(60, "\r\n");
}

void TestInputFile::stopsAfter49() {
    QFETCH(QByteArray, bytes);
    for (const auto& bindings : {emulator::parseInputFile(bytes), readFromDevice(bytes)}) {
        QCOMPARE(int(bindings.size()), emulator::kInputFileSlots);
        // The 49 kept are the first ones in file order.
        const bool leadingComment = bytes.startsWith(';');
        const int lastNumber = emulator::kInputFileSlots - 1 - (leadingComment ? 1 : 0);
        QCOMPARE(bindings.back().inputName, QStringLiteral("N%1").arg(lastNumber));
        QCOMPARE(bindings.back().key, QStringLiteral("k%1").arg(lastNumber));
    }
}

void TestInputFile::garbageWithoutLineEnds() {
    QRandomGenerator random(4242);
    QByteArray bytes(20 * 1024 * 1024, Qt::Uninitialized);
    for (char& c : bytes) {
        c = char(random.bounded(256));
        if (c == '\r' || c == '\n' || c == '"')
            c = 'x';
    }
    const QByteArray tail = "Input\"key\"";
    bytes.replace(bytes.size() - tail.size(), tail.size(), tail);

    QElapsedTimer timer;
    timer.start();
    const std::vector<SlotBinding> bindings = emulator::parseInputFile(bytes);
    QVERIFY2(timer.elapsed() < 10000, "a 20 MB line must be read in linear time");
    QCOMPARE(bindings.size(), std::size_t(1));
    QCOMPARE(bindings[0].key, QStringLiteral("key"));
}

void TestInputFile::millionInputLines() {
    // A million lines in all: the bindings after a long run of other lines,
    // then far more Input lines than are read.
    QByteArray bytes;
    bytes.reserve(30 * 1024 * 1024);
    for (int i = 0; i < 500000; ++i)
        bytes += "; nothing here\r\n";
    bytes += inputLines(500000, "\n");

    QElapsedTimer timer;
    timer.start();
    const std::vector<SlotBinding> bindings = emulator::parseInputFile(bytes);
    QVERIFY2(timer.elapsed() < 5000, "reading must stop after the bindings it keeps");
    QCOMPARE(int(bindings.size()), emulator::kInputFileSlots);
    QCOMPARE(bindings.front().inputName, QStringLiteral("N0"));
    QCOMPARE(bindings.back().key, QStringLiteral("k48"));
}

void TestInputFile::longKey() {
    const qsizetype size = 20 * 1024 * 1024;
    const QByteArray bytes = "InputA = \"" + QByteArray(size, 'k') + "\"\r\nInputB = \"b\"\r\n";
    const std::vector<SlotBinding> bindings = emulator::parseInputFile(bytes);
    QCOMPARE(bindings.size(), std::size_t(2));
    QCOMPARE(bindings[0].inputName, QStringLiteral("A"));
    QCOMPARE(bindings[0].key.size(), size);
    QCOMPARE(bindings[1].key, QStringLiteral("b"));
}

QTEST_APPLESS_MAIN(TestInputFile)
#include "test_input_file.moc"
