#include "app/SettingsFile.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTest>
#include <clocale>

using app::SettingsSlots;
using app::SettingsValues;

namespace {

SettingsSlots slotsOf(const QStringList& values) {
    SettingsSlots slots;
    for (int i = 0; i < values.size(); ++i)
        slots[i] = values[i];
    return slots;
}

QStringList listOf(const SettingsSlots& slots) {
    return QStringList(slots.begin(), slots.end());
}

SettingsSlots readFromDevice(QByteArray bytes) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return app::readSettings(buffer);
}

SettingsValues values(const QString& emu, const QString& rom, const QString& width,
                      const QString& height, int fps, int full, int throttle) {
    SettingsValues v;
    v.emuPath = emu;
    v.romPath = rom;
    v.width = width;
    v.height = height;
    v.showFps = fps;
    v.fullScreen = full;
    v.noThrottle = throttle;
    return v;
}

} // namespace

class TestSettingsFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parse_data();
    void parse();
    void parseBinaryGarbage();
    void parseHugeLine();
    void readGivesTheFirstValuesAsParse_data() { parse_data(); }
    void readGivesTheFirstValuesAsParse();
    void readCutsLongLinesAndStopsAtTheLastValue();
    void format_data();
    void format();
    void roundTrip_data();
    void roundTrip();
    void optionNumber_data();
    void optionNumber();
    void optionNumberIgnoresLocale();
    void optionNumberHugeText();
};

void TestSettingsFile::parse_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("CR LF") << QByteArray("/emu/\r\n/roms/\r\n640\r\n")
                           << QStringList{"/emu/", "/roms/", "640"};
    QTest::newRow("CR alone") << QByteArray("a\rb\rc") << QStringList{"a", "b", "c"};
    QTest::newRow("LF alone") << QByteArray("a\nb\nc\n") << QStringList{"a", "b", "c"};
    QTest::newRow("mixed ends") << QByteArray("a\r\n\rb\n\r\nc\n\rd\r")
                                << QStringList{"a", "b", "c", "d"};
    QTest::newRow("only spaces trimmed, tabs stay")
        << QByteArray("  a b  \r\n\tc\t \r\n \t \r\n") << QStringList{"a b", "\tc\t", "\t"};
    QTest::newRow("blank and space-only lines skipped")
        << QByteArray("\r\n   \r\n a\r\n\r\n     \nb\r\r\r") << QStringList{"a", "b"};
    QTest::newRow("short file") << QByteArray("/emu/\r\n/roms/\r\n")
                                << QStringList{"/emu/", "/roms/"};
    QTest::newRow("last line without end") << QByteArray("x\r\n y ") << QStringList{"x", "y"};
    QTest::newRow("eleventh non-empty line dropped")
        << QByteArray("1\r\n2\r\n\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n11\r\n12\r\n")
        << QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("only line ends") << QByteArray("\r\n\n\r\r\n") << QStringList{};
    QTest::newRow("NUL bytes kept")
        << QByteArray("a\0b\r\n\0\r\n", 8)
        << QStringList{QStringView(u"a\0b", 3).toString(), QString(QChar(0))};
    QTest::newRow("byte-order mark of the file skipped, later ones kept")
        << QByteArray("\xEF\xBB\xBF a\n\xEF\xBB\xBF\nb")
        << QStringList{"a", QStringLiteral("\uFEFF"), "b"};
    QTest::newRow("byte-order mark alone on the first line")
        << QByteArray("\xEF\xBB\xBF\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8")
        << QStringList{"1", "2", "3", "4", "5", "6", "7", "8"};
    QTest::newRow("U+FEFF alone after a blank first line")
        << QByteArray("\n\xEF\xBB\xBF\nb") << QStringList{QStringLiteral("\uFEFF"), "b"};
    QTest::newRow("invalid UTF-8 replaced")
        << QByteArray("\xff x\r\nok") << QStringList{QStringLiteral("\uFFFD x"), "ok"};
    QTest::newRow("UTF-8 path") << QByteArray("C:/Jeux/\xc3\x89mulateurs/\r\n/\xe6\xb8\xb8/\r\n")
                                << QStringList{QStringLiteral("C:/Jeux/Émulateurs/"),
                                               QStringLiteral("/游/")};
}

void TestSettingsFile::parse() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    QCOMPARE(listOf(app::parseSettings(bytes)), listOf(slotsOf(expected)));
}

void TestSettingsFile::parseBinaryGarbage() {
    QRandomGenerator random(20240611);
    QByteArray bytes(1 << 20, Qt::Uninitialized);
    for (char& c : bytes)
        c = char(random.bounded(256));
    const SettingsSlots slots = app::parseSettings(bytes);

    // Whatever was read sits in the first slots, one line each, trimmed.
    bool emptySeen = false;
    for (const QString& slot : slots) {
        if (slot.isEmpty()) {
            emptySeen = true;
            continue;
        }
        QVERIFY(!emptySeen);
        QVERIFY(!slot.contains(u'\r') && !slot.contains(u'\n'));
        QVERIFY(!slot.startsWith(u' ') && !slot.endsWith(u' '));
    }
    // A megabyte of random bytes holds thousands of line ends.
    QVERIFY(!slots.back().isEmpty());
}

void TestSettingsFile::parseHugeLine() {
    const qsizetype size = 10 * 1024 * 1024;
    QByteArray bytes = "  " + QByteArray(size, 'x') + "  \r\nnext\r\n";
    QElapsedTimer timer;
    timer.start();
    const SettingsSlots slots = app::parseSettings(bytes);
    QVERIFY2(timer.elapsed() < 5000, "a 10 MB line must be read in linear time");
    QCOMPARE(slots[0].size(), size);
    QVERIFY(slots[0].startsWith(u'x') && slots[0].endsWith(u'x'));
    QCOMPARE(slots[1], QStringLiteral("next"));
    QVERIFY(slots[2].isEmpty());
}

void TestSettingsFile::readGivesTheFirstValuesAsParse() {
    QFETCH(QByteArray, bytes);
    SettingsSlots expected = app::parseSettings(bytes);
    std::fill(expected.begin() + app::kSettingsValueCount, expected.end(), QString());
    QCOMPARE(listOf(readFromDevice(bytes)), listOf(expected));
}

void TestSettingsFile::readCutsLongLinesAndStopsAtTheLastValue() {
    // A 3 MB first line, cut at the limit without splitting the two-byte "é"
    // that straddles it; the lines after it still count.
    const qsizetype limit = app::kLineLimit;
    QByteArray bytes = QByteArray(limit - 1, 'a') + "\xc3\xa9" + QByteArray(3 << 20, 'b');
    bytes += "\r\n/roms/\r\n800\r\n600\r\n 1 \r\n 0 \r\n 2 \r\neighth\r\n";
    const SettingsSlots slots = readFromDevice(bytes);
    QCOMPARE(slots[0], QString(limit - 1, u'a'));
    QCOMPARE(QStringList(slots.begin() + 1, slots.begin() + 7),
             (QStringList{"/roms/", "800", "600", "1", "0", "2"}));
    QCOMPARE(slots[7], QString()); // past the seventh value nothing is read

    // A cut inside a long line keeps every whole character before it.
    const QByteArray euro = "\xe2\x82\xac"; // three bytes
    const QString cut = readFromDevice(QByteArray(limit - 2, 'c') + euro + euro)[0];
    QCOMPARE(cut, QString(limit - 2, u'c'));
}

void TestSettingsFile::format_data() {
    QTest::addColumn<SettingsValues>("values");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("typical") << values("/p/Supermodel_0.1a_Win32/", "/p/Roms/", "640", "480", 0, 1,
                                       0)
                             << QByteArray("/p/Supermodel_0.1a_Win32/\r\n/p/Roms/\r\n640\r\n"
                                           "480\r\n 0 \r\n 1 \r\n 0 \r\n");
    QTest::newRow("empty sizes take defaults")
        << values("/e/", "/r/", "", "", 1, 1, 1)
        << QByteArray("/e/\r\n/r/\r\n640\r\n480\r\n 1 \r\n 1 \r\n 1 \r\n");
    QTest::newRow("blank sizes take defaults")
        << values("/e/", "/r/", "   ", " ", 0, 0, 0)
        << QByteArray("/e/\r\n/r/\r\n640\r\n480\r\n 0 \r\n 0 \r\n 0 \r\n");
    QTest::newRow("sizes as typed")
        << values("/e/", "/r/", "800 ", "x", 2, 0, 2)
        << QByteArray("/e/\r\n/r/\r\n800 \r\nx\r\n 2 \r\n 0 \r\n 2 \r\n");
    QTest::newRow("paths unchanged")
        << values(" /a b/ ", "\"/q/\"", "1024", "768", 0, 0, 1)
        << QByteArray(" /a b/ \r\n\"/q/\"\r\n1024\r\n768\r\n 0 \r\n 0 \r\n 1 \r\n");
    QTest::newRow("empty paths kept as empty lines")
        << values("", "", "640", "480", 0, 0, 0)
        << QByteArray("\r\n\r\n640\r\n480\r\n 0 \r\n 0 \r\n 0 \r\n");
    QTest::newRow("line breaks dropped from every value")
        << values(QStringLiteral("/a\nb/\r"), QStringLiteral("/c\u2028d\u2029/"), "6\r\n40", "\n",
                  0, 0, 0)
        << QByteArray("/ab/\r\n/cd/\r\n640\r\n480\r\n 0 \r\n 0 \r\n 0 \r\n");
    QTest::newRow("UTF-8") << values(QStringLiteral("/Émulateur/"), QStringLiteral("/游戏/"), "640",
                                     "480", 0, 0, 0)
                           << QByteArray("/\xc3\x89mulateur/\r\n/\xe6\xb8\xb8\xe6\x88\x8f/\r\n"
                                         "640\r\n480\r\n 0 \r\n 0 \r\n 0 \r\n");
}

void TestSettingsFile::format() {
    QFETCH(SettingsValues, values);
    QFETCH(QByteArray, expected);
    QCOMPARE(app::formatSettings(values), expected);
}

void TestSettingsFile::roundTrip_data() {
    QTest::addColumn<SettingsValues>("values");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("plain") << values("/p/emu/", "/p/roms/", "640", "480", 0, 1, 0)
                           << QStringList{"/p/emu/", "/p/roms/", "640", "480", "0", "1", "0"};
    QTest::newRow("non-ASCII and blanks inside")
        << values(QStringLiteral("/home/zoë/Mes Jeux/"), QStringLiteral("/données/ROMs 日本/"),
                  "1280", "1024", 2, 2, 2)
        << QStringList{QStringLiteral("/home/zoë/Mes Jeux/"),
                       QStringLiteral("/données/ROMs 日本/"),
                       "1280",
                       "1024",
                       "2",
                       "2",
                       "2"};
    QTest::newRow("blank sizes keep the later lines in place")
        << values("/e/", "/r/", "  ", "", 1, 0, 1)
        << QStringList{"/e/", "/r/", "640", "480", "1", "0", "1"};
    QTest::newRow("U+FEFF at the start of a value kept")
        << values(QStringLiteral("\uFEFF/e/"), QStringLiteral("\uFEFF/r/"), "640", "480", 0, 0, 0)
        << QStringList{QStringLiteral("\uFEFF/e/"),
                       QStringLiteral("\uFEFF/r/"),
                       "640",
                       "480",
                       "0",
                       "0",
                       "0"};
    QTest::newRow("trailing blank of a size trimmed")
        << values("/e/", "/r/", "800 ", " 600", 0, 0, 0)
        << QStringList{"/e/", "/r/", "800", "600", "0", "0", "0"};
}

void TestSettingsFile::roundTrip() {
    QFETCH(SettingsValues, values);
    QFETCH(QStringList, expected);
    QCOMPARE(listOf(app::parseSettings(app::formatSettings(values))), listOf(slotsOf(expected)));
}

void TestSettingsFile::optionNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("inRange");
    QTest::addColumn<int>("expected");

    QTest::newRow("0") << "0" << true << 0;
    QTest::newRow("1") << "1" << true << 1;
    QTest::newRow("2") << "2" << true << 2;
    QTest::newRow("3") << "3" << true << 3;
    QTest::newRow("leading zeros") << "0002" << true << 2;
    QTest::newRow("blanks around") << " 1 " << true << 1;
    QTest::newRow("trailing text") << "   2abc" << true << 2;
    QTest::newRow("stops at inner blank") << "1 2" << true << 1;
    QTest::newRow("comma is no separator") << "1,9" << true << 1;
    QTest::newRow("letters") << "abc" << true << 0;
    QTest::newRow("empty") << "" << true << 0;
    QTest::newRow("blanks only") << "   " << true << 0;
    QTest::newRow("sign only") << "-" << true << 0;
    QTest::newRow("point only") << "." << true << 0;
    QTest::newRow("two signs") << "+-1" << true << 0;
    QTest::newRow("blank after sign") << "- 1" << true << 0;
    QTest::newRow("non-ASCII digit") << QStringLiteral("３") << true << 0;
    QTest::newRow("plus") << "+2" << true << 2;
    QTest::newRow("minus") << "-3" << true << -3;
    QTest::newRow("half down to even") << "2.5" << true << 2;
    QTest::newRow("half up to even") << "1.5" << true << 2;
    QTest::newRow("3.5") << "3.5" << true << 4;
    QTest::newRow("0.5") << "0.5" << true << 0;
    QTest::newRow("-0.5") << "-0.5" << true << 0;
    QTest::newRow("-1.5") << "-1.5" << true << -2;
    QTest::newRow("-2.5") << "-2.5" << true << -2;
    QTest::newRow("below half") << "0.49" << true << 0;
    QTest::newRow("above half") << "0.51" << true << 1;
    QTest::newRow("1.9") << "1.9" << true << 2;
    QTest::newRow("no integer part") << ".6" << true << 1;
    QTest::newRow("negative no integer part") << "-.6" << true << -1;
    QTest::newRow("no fraction digits") << "2." << true << 2;
    QTest::newRow("second point stops") << "1.5.5" << true << 2;
    QTest::newRow("exponent") << "1e2" << true << 100;
    QTest::newRow("exponent upper case signed") << "1E+2" << true << 100;
    QTest::newRow("negative exponent half") << "25e-1" << true << 2;
    QTest::newRow("negative exponent") << "35e-1" << true << 4;
    QTest::newRow("fraction and exponent") << "0.0001e4" << true << 1;
    QTest::newRow("exponent without digits") << "1e" << true << 1;
    QTest::newRow("exponent sign without digits") << "2e+" << true << 2;
    QTest::newRow("zero with huge exponent") << "0e99999" << true << 0;
    QTest::newRow("largest") << "32767" << true << 32767;
    QTest::newRow("smallest") << "-32768" << true << -32768;
    QTest::newRow("rounds down into range") << "32767.4" << true << 32767;
    QTest::newRow("smallest half to even") << "-32768.5" << true << -32768;
    QTest::newRow("one too many") << "32768" << false << 0;
    QTest::newRow("one too few") << "-32769" << false << 0;
    QTest::newRow("rounds up out of range") << "32767.5" << false << 0;
    QTest::newRow("1e9") << "1e9" << false << 0;
    QTest::newRow("1e999") << "1e999" << false << 0;
    QTest::newRow("-1e999") << "-1e999" << false << 0;
    QTest::newRow("overlong exponent") << "1e99999999999999999999999" << false << 0;
    QTest::newRow("tiny") << "1e-999" << true << 0;
    QTest::newRow("tiny overlong exponent") << "-1e-99999999999999999999999" << true << 0;
    QTest::newRow("many integer digits") << "1" + QString(400, u'0') << false << 0;
    QTest::newRow("many fraction zeros") << "0." + QString(400, u'0') + "1" << true << 0;
    QTest::newRow("many digits brought back by exponent")
        << "1" + QString(400, u'0') + "e-400" << true << 1;
}

void TestSettingsFile::optionNumber() {
    QFETCH(QString, text);
    QFETCH(bool, inRange);
    QFETCH(int, expected);
    const std::optional<int> result = app::optionNumber(text);
    QCOMPARE(result.has_value(), inRange);
    if (inRange)
        QCOMPARE(*result, expected);
}

void TestSettingsFile::optionNumberIgnoresLocale() {
    // A comma-decimal C locale must not change how "." is read.
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    const bool switched = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr ||
                          std::setlocale(LC_NUMERIC, "fr_FR.UTF-8") != nullptr;
    const std::optional<int> point = app::optionNumber("1.6");
    const std::optional<int> comma = app::optionNumber("1,6");
    std::setlocale(LC_NUMERIC, previous.c_str());
    if (!switched)
        qInfo("no comma-decimal locale installed; checked in the current one only");
    QCOMPARE(point, std::optional<int>(2));
    QCOMPARE(comma, std::optional<int>(1));
}

void TestSettingsFile::optionNumberHugeText() {
    const qsizetype size = 10 * 1024 * 1024;
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(app::optionNumber(QString(size, u'0') + u'1'), std::optional<int>(1));
    QCOMPARE(app::optionNumber(QString(size, u'7')), std::nullopt);
    QCOMPARE(app::optionNumber(QString(size, u' ') + u'2'), std::optional<int>(2));
    QCOMPARE(app::optionNumber("0." + QString(size, u'9')), std::optional<int>(1));
    QByteArray garbage(size, Qt::Uninitialized);
    QRandomGenerator random(7);
    for (char& c : garbage)
        c = char(random.bounded(256));
    QCOMPARE(app::optionNumber(u'x' + QString::fromLatin1(garbage)), std::optional<int>(0));
    QVERIFY2(timer.elapsed() < 10000, "numbers must be read in linear time");
}

QTEST_APPLESS_MAIN(TestSettingsFile)
#include "test_settings_file.moc"
