#include "emulator/RunOutput.h"

#include <QBuffer>
#include <QTest>

using emulator::OutputTail;

class TestRunOutput : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void errorLines_data();
    void errorLines();
    void onlyTheTailIsRead_data();
    void onlyTheTailIsRead();
    void emuErrorText();
};

void TestRunOutput::errorLines_data() {
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<bool>("whole");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("emulator output")
        << QByteArray("Supermodel: A Sega Model 3 Arcade Emulator (Version 0.3a-WIP)\n"
                      "Error: Failed to parse Config/Games.xml (XML_ERROR_FILE_NOT_FOUND).\n"
                      "Error: Could not open 'vf3.zip'.\n")
        << true
        << QStringList{"Error: Failed to parse Config/Games.xml (XML_ERROR_FILE_NOT_FOUND).",
                       "Error: Could not open 'vf3.zip'."};
    QTest::newRow("the last five, oldest first")
        << QByteArray("Error: 1\nError: 2\r\nError: 3\rError: 4\nError: 5\nnot one\nError: 6")
        << true << QStringList{"Error: 2", "Error: 3", "Error: 4", "Error: 5", "Error: 6"};
    QTest::newRow("only at the start of a line")
        << QByteArray(" Error: indented\nerror: lower\nWarning: Error: inside\n") << true
        << QStringList{};
    QTest::newRow("no output") << QByteArray() << true << QStringList{};
    QTest::newRow("binary") << QByteArray("\x00\xff\xfe\x01"
                                          "Error\x00\nError: a\x00\x07\tb\xff\n",
                                          25)
                            << true << QStringList{QStringLiteral("Error: a\uFFFD\uFFFD b\uFFFD")};
    QTest::newRow("long line cut")
        << "Error: " + QByteArray(500, 'x') << true
        << QStringList{"Error: " + QString(emulator::kErrorLineLength - 7, u'x') + "..."};
    QTest::newRow("cut tail: partial first line skipped")
        << QByteArray("rror: partial\nError: whole\n") << false << QStringList{"Error: whole"};
    QTest::newRow("whole output: first line counts")
        << QByteArray("Error: first\n") << true << QStringList{"Error: first"};
}

void TestRunOutput::errorLines() {
    QFETCH(QByteArray, output);
    QFETCH(bool, whole);
    QFETCH(QStringList, lines);
    QCOMPARE(emulator::lastErrorLines(OutputTail{output, whole}), lines);
}

void TestRunOutput::onlyTheTailIsRead_data() {
    QTest::addColumn<qint64>("size");
    QTest::newRow("small") << qint64(100);
    QTest::newRow("exactly the tail") << emulator::kOutputTailBytes;
    QTest::newRow("64 MiB") << qint64(64) * 1024 * 1024;
}

void TestRunOutput::onlyTheTailIsRead() {
    QFETCH(qint64, size);
    QByteArray bytes(size - 20, '\0');
    bytes += "\nError: at the end\n\n";
    QCOMPARE(bytes.size(), size);
    QBuffer buffer(&bytes);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    const OutputTail tail = emulator::readOutputTail(buffer);
    QCOMPARE(tail.bytes.size(), std::min(size, emulator::kOutputTailBytes));
    QCOMPARE(tail.whole, size <= emulator::kOutputTailBytes);
    QCOMPARE(emulator::lastErrorLines(tail), QStringList{"Error: at the end"});
}

void TestRunOutput::emuErrorText() {
    QCOMPARE(emulator::emuErrorText({}), QStringLiteral("Emu Error ..."));
    QCOMPARE(emulator::emuErrorText({"Error: a", "Error: b"}),
             QStringLiteral("Emu Error ...\nError: a\nError: b"));
}

QTEST_APPLESS_MAIN(TestRunOutput)
#include "test_run_output.moc"
