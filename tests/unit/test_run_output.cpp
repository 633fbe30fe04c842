#include "emulator/RunOutput.h"

#include <QBuffer>
#include <QTest>

using emulator::kErrorLineLength;
using emulator::kOutputTailBytes;

namespace {

// `line` so placed that it begins exactly `fromEnd` bytes before the end of
// the output, after `before` and a break, with filler after it.
QByteArray placed(const QByteArray& before, const QByteArray& line, qint64 fromEnd) {
    QByteArray bytes = before + line;
    bytes += QByteArray(fromEnd - line.size(), '.');
    return bytes;
}

} // namespace

class TestRunOutput : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void errorLines_data();
    void errorLines();
    void emuErrorText();
};

void TestRunOutput::errorLines_data() {
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<QStringList>("lines");

    const QString cut200 = "Error: " + QString(kErrorLineLength - 7, u'x') + "...";
    const QByteArray filler(3 * kOutputTailBytes, '.');

    QTest::newRow("emulator output")
        << QByteArray("Supermodel: A Sega Model 3 Arcade Emulator (Version 0.3a-WIP)\n"
                      "Error: Failed to parse Config/Games.xml (XML_ERROR_FILE_NOT_FOUND).\n"
                      "Error: Could not open 'vf3.zip'.\n")
        << QStringList{"Error: Failed to parse Config/Games.xml (XML_ERROR_FILE_NOT_FOUND).",
                       "Error: Could not open 'vf3.zip'."};
    QTest::newRow("the last five, oldest first")
        << QByteArray("Error: 1\nError: 2\r\nError: 3\rError: 4\nError: 5\nnot one\nError: 6")
        << QStringList{"Error: 2", "Error: 3", "Error: 4", "Error: 5", "Error: 6"};
    QTest::newRow("only at the start of a line")
        << QByteArray(" Error: indented\nerror: lower\nWarning: Error: inside\n") << QStringList{};
    QTest::newRow("no output") << QByteArray() << QStringList{};
    QTest::newRow("binary") << QByteArray("\x00\xff\xfe\x01"
                                          "Error\x00\nError: a\x00\x07\tb\xff\n",
                                          25)
                            << QStringList{QStringLiteral("Error: a\uFFFD\uFFFD b\uFFFD")};
    QTest::newRow("format, private-use, unassigned, bidi and line separators")
        << QByteArray("Error: \xf3\xa0\x80\x81|\xf3\xb0\x80\x80|\xf0\x9d\x85\xb3|\xcd\xb8|"
                      "\xee\x80\x80|\xe2\x80\xae|\xe2\x80\xa8|\xc2\x85|\xf0\x9f\x98\x80|\xc3\xa9\n")
        << QStringList{QStringLiteral("Error: \uFFFD|\uFFFD|\uFFFD|\uFFFD|\uFFFD|\uFFFD|\uFFFD|"
                                      "\uFFFD|\U0001F600|\u00e9")};
    QTest::newRow("long line cut") << "Error: " + QByteArray(500, 'x') << QStringList{cut200};
    const QByteArray emoji("\xf0\x9f\x98\x80"); // one character, two UTF-16 units
    QTest::newRow("cut by character, not by UTF-16 unit")
        << "Error: " + emoji.repeated(300)
        << QStringList{"Error: " + QString::fromUtf8(emoji).repeated(kErrorLineLength - 7) + "..."};
    QTest::newRow("line longer than the tail")
        << "noise\nError: " + QByteArray(2 * kOutputTailBytes, 'x') << QStringList{cut200};
    QTest::newRow("line beginning exactly a tail before the end, after LF")
        << placed(filler + '\n', "Error: boundary\n", kOutputTailBytes)
        << QStringList{"Error: boundary"};
    QTest::newRow("line beginning exactly a tail before the end, after CR")
        << placed(filler + '\r', "Error: boundary\r", kOutputTailBytes)
        << QStringList{"Error: boundary"};
    QTest::newRow("tail beginning inside a line is not a line start")
        << placed(filler + "\nsaid ", "Error: inside\n", kOutputTailBytes) << QStringList{};
    QTest::newRow("64 MiB before the last line")
        << QByteArray(64 * 1024 * 1024, '\0') + "\nError: at the end\n\n"
        << QStringList{"Error: at the end"};
    QTest::newRow("a line whose start is beyond the search is not shown")
        << "Error: " + QByteArray(emulator::kLineStartSearchBytes + kOutputTailBytes, 'x')
        << QStringList{};
}

void TestRunOutput::errorLines() {
    QFETCH(QByteArray, output);
    QFETCH(QStringList, lines);
    QBuffer buffer(&output);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    QCOMPARE(emulator::lastErrorLines(buffer), lines);
}

void TestRunOutput::emuErrorText() {
    QCOMPARE(emulator::emuErrorText({}), QStringLiteral("Emu Error ..."));
    QCOMPARE(emulator::emuErrorText({"Error: a", "Error: b"}),
             QStringLiteral("Emu Error ...\nError: a\nError: b"));
    QCOMPARE(emulator::emuErrorText({}, false),
             QStringLiteral("Emu Error ...\nIts messages could not be kept."));
}

QTEST_APPLESS_MAIN(TestRunOutput)
#include "test_run_output.moc"
