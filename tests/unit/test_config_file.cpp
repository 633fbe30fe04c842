// The emulator's configuration file, read by name as the emulator reads it
// and edited in place.
#include "emulator/ConfigFile.h"
#include "support/UsersFile.h"

#include <QFile>
#include <QTest>

using namespace emulator;

namespace {

// What the emulator's own input set-up writes: a three-line header, no
// comments, values without quotes, then the game sections.
const QByteArray kSetUpFile = ";\n; Supermodel Configuration File\n;\n\n[ Global ]\n\n"
                              "InputStart1 = KEY_1,JOY1_BUTTON9\nInputPunch = KEY_Z,JOY1_BUTTON1\n"
                              "\n[ vf3 ]\n\nInputPunch = KEY_X\n";

QList<QByteArray> linesOf(const QByteArray& bytes) {
    return bytes.split('\n');
}

} // namespace

class ConfigFileTest final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readsAsTheEmulatorDoes_data();
    void readsAsTheEmulatorDoes();
    void editsOnlyWhatItIsAsked_data();
    void editsOnlyWhatItIsAsked();
    void editsOneLineOfTheFirstStartFile();
    void badFilesAreFound();
    void bigFilesReadAndEdited_data();
    void bigFilesReadAndEdited();
};

void ConfigFileTest::readsAsTheEmulatorDoes_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value"); // "-" when the name has no global value
    QTest::addColumn<int>("line");
    QTest::newRow("first-start file") << firstStartFile() << "InputStart1"
                                      << "KEY_1,JOY1_BUTTON9" << 64;
    QTest::newRow("first-start file, light gun") << firstStartFile() << "InputTrigger"
                                                 << "KEY_A,JOY1_BUTTON1,MOUSE_LEFT_BUTTON" << -1;
    QTest::newRow("set-up file, unquoted, game section ignored") << kSetUpFile << "InputPunch"
                                                                 << "KEY_Z,JOY1_BUTTON1" << 7;
    QTest::newRow("last one wins")
        << QByteArray("InputPunch = \"A\"\nInputPunch = \"B\"\n") << "InputPunch"
        << "B" << 1;
    QTest::newRow("back to global after a game")
        << QByteArray("[ Global ]\nInputPunch = A\n[ vf3 ]\nInputPunch = B\n[]\nx = 1\n")
        << "InputPunch"
        << "A" << 1;
    QTest::newRow("several games at once") << QByteArray("[ a, b ]\nInputKick = S\n") << "InputKick"
                                           << "-" << -1;
    QTest::newRow("semicolon inside quotes, comment after")
        << QByteArray("InputPunch = \"KEY_A;x\" ; mine\n") << "InputPunch"
        << "KEY_A;x" << 0;
    QTest::newRow("comment without quotes")
        << QByteArray("InputPunch = KEY_A ; mine\n") << "InputPunch"
        << "KEY_A" << 0;
    QTest::newRow("CRLF") << QByteArray("[ Global ]\r\nInputPunch = \"A\"\r\n") << "InputPunch"
                          << "A" << 1;
    QTest::newRow("blanks and tabs") << QByteArray("\t InputPunch\t=\t KEY_A \t\n") << "InputPunch"
                                     << "KEY_A" << 0;
    QTest::newRow("no global header: lines before the first section")
        << QByteArray("InputPunch = A\n[ vf3 ]\nInputKick = S\n") << "InputPunch"
        << "A" << 0;
    QTest::newRow("no global header: game section")
        << QByteArray("InputPunch = A\n[ vf3 ]\nInputKick = S\n") << "InputKick"
        << "-" << -1;
    QTest::newRow("names are case-sensitive") << QByteArray("inputpunch = A\n") << "InputPunch"
                                              << "-" << -1;
    QTest::newRow("a line that is not UTF-8 around")
        << QByteArray("; caf\xe9 \xff\xfe\nInputPunch = \"KEY_A\"\nWho = \"\xe9\"\n")
        << "InputPunch"
        << "KEY_A" << 1;
    QTest::newRow("only one pair of quotes removed")
        << QByteArray("InputPunch = \"\"A\"\"\n") << "InputPunch"
        << "\"A\"" << 0;
}

void ConfigFileTest::readsAsTheEmulatorDoes() {
    QFETCH(QByteArray, file);
    QFETCH(QString, name);
    QFETCH(QString, value);
    QFETCH(int, line);
    QVERIFY(!file.isEmpty());
    const auto settings = globalSettings(file, {name});
    if (value == QLatin1String("-")) {
        QVERIFY(!settings.contains(name));
        return;
    }
    QVERIFY(settings.contains(name));
    QCOMPARE(settings[name].value, value);
    if (line >= 0)
        QCOMPARE(settings[name].line, line);
}

void ConfigFileTest::editsOnlyWhatItIsAsked_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("edited");
    QTest::newRow("keeps quotes, blanks, comment, CRLF")
        << QByteArray("a = 1\r\nInputPunch  =  \"KEY_A\"   ; mine\r\nb = 2\r\n") << "InputPunch"
        << "KEY_G" << QByteArray("a = 1\r\nInputPunch  =  \"KEY_G\"   ; mine\r\nb = 2\r\n");
    QTest::newRow("unquoted stays unquoted")
        << kSetUpFile << "InputPunch"
        << "KEY_G,JOY1_BUTTON1"
        << QByteArray(kSetUpFile).replace("InputPunch = KEY_Z,", "InputPunch = KEY_G,");
    QTest::newRow("only the last of duplicates")
        << QByteArray("InputPunch = \"A\"\nInputPunch = \"B\"\n") << "InputPunch"
        << "C" << QByteArray("InputPunch = \"A\"\nInputPunch = \"C\"\n");
    QTest::newRow("missing: end of the global section, before a game")
        << QByteArray("[ Global ]\nx = \"1\"\n\n[ vf3 ]\nInputPunch = \"A\"\n") << "InputPunch"
        << "B"
        << QByteArray("[ Global ]\nx = \"1\"\nInputPunch = \"B\"\n\n[ vf3 ]\nInputPunch = \"A\"\n");
    QTest::newRow("missing, unquoted file: unquoted")
        << QByteArray("[ Global ]\nx = 1\n") << "InputKick"
        << "KEY_S" << QByteArray("[ Global ]\nx = 1\nInputKick = KEY_S\n");
    QTest::newRow("no global section: one at the top, in the file's line ends")
        << QByteArray("; mine\r\n[ vf3 ]\r\nInputPunch = \"A\"\r\n") << "InputPunch"
        << "B"
        << QByteArray(
               "[ Global ]\r\nInputPunch = \"B\"\r\n; mine\r\n[ vf3 ]\r\nInputPunch = \"A\"\r\n");
    QTest::newRow("no sections, last line unended")
        << QByteArray("x = \"1\"") << "InputPunch"
        << "B" << QByteArray("x = \"1\"\nInputPunch = \"B\"\n");
    QTest::newRow("empty file") << QByteArray() << "InputPunch"
                                << "B" << QByteArray("InputPunch = \"B\"\n");
    QTest::newRow("wrong case is another name")
        << QByteArray("inputpunch = \"A\"\n") << "InputPunch"
        << "B" << QByteArray("inputpunch = \"A\"\nInputPunch = \"B\"\n");
    QTest::newRow("semicolon in quotes stays in the comment's place")
        << QByteArray("InputPunch = \"A;b\" ; c;d\n") << "InputPunch"
        << "KEY_B" << QByteArray("InputPunch = \"KEY_B\" ; c;d\n");
    QTest::newRow("non-UTF-8 lines kept exactly")
        << QByteArray("; \xff\xfe\nInputPunch = \"A\"\nName = \"\xe9t\xe9\"\n") << "InputPunch"
        << "\u00e9" << QByteArray("; \xff\xfe\nInputPunch = \"\xc3\xa9\"\nName = \"\xe9t\xe9\"\n");
    QTest::newRow("earlier names renamed in other global inputs, not in games")
        << QByteArray("InputTrigger = \"MouseLeft, JOY1_BUTTON1\"\nInputStart1 = ScorollLock\n"
                      "[ lostwsga ]\nInputTrigger = \"MouseRight\"\n")
        << "InputPunch"
        << "A"
        << QByteArray(
               "[ Global ]\nInputPunch = A\n"
               "InputTrigger = \"MOUSE_LEFT_BUTTON, JOY1_BUTTON1\"\nInputStart1 = ScrollLock\n"
               "[ lostwsga ]\nInputTrigger = \"MouseRight\"\n");
}

void ConfigFileTest::editsOnlyWhatItIsAsked() {
    QFETCH(QByteArray, file);
    QFETCH(QString, name);
    QFETCH(QString, value);
    QFETCH(QByteArray, edited);
    const QByteArray result = editConfig(file, {{name, value}});
    QCOMPARE(result, edited);
    QCOMPARE(globalSettings(result, {name}).value(name).value, value);
}

void ConfigFileTest::editsOneLineOfTheFirstStartFile() {
    const QByteArray file = firstStartFile();
    QCOMPARE(file.count('\n'), 259);
    const QByteArray edited =
        editConfig(file, {{QStringLiteral("InputPunch"), QStringLiteral("KEY_G,JOY1_BUTTON1")}});
    const QList<QByteArray> before = linesOf(file);
    const QList<QByteArray> after = linesOf(edited);
    QCOMPARE(after.size(), before.size());
    QList<QByteArray> differing;
    for (qsizetype i = 0; i < before.size(); ++i) {
        if (before[i] != after[i])
            differing << after[i];
    }
    QCOMPARE(differing, QList<QByteArray>{"InputPunch = \"KEY_G,JOY1_BUTTON1\""});
    // Nothing to change: every byte stays.
    QCOMPARE(editConfig(file, {}), file);
}

void ConfigFileTest::badFilesAreFound() {
    QCOMPARE(configProblem(firstStartFile()), ConfigProblem::None);
    QCOMPARE(configProblem(QByteArray("InputPunch = \"A\"\n\0\n", 20)), ConfigProblem::NulByte);
    QCOMPARE(configProblem(QByteArray(kConfigFileLimit + 1, 'x')), ConfigProblem::TooLarge);
    QCOMPARE(configProblem(QByteArray(kConfigFileLimit, 'x')), ConfigProblem::None);
}

void ConfigFileTest::bigFilesReadAndEdited_data() {
    QTest::addColumn<QByteArray>("file");
    const qsizetype size = kConfigFileLimit - 64;
    QByteArray noLineEnd(size, 'x');
    for (qsizetype i = 0; i < size; i += 3)
        noLineEnd[i] = "\";=["[i % 4];
    QTest::newRow("one line, quotes and semicolons") << noLineEnd;
    QByteArray unclosed;
    while (unclosed.size() < size)
        unclosed += "[ a\nno equals sign here\n";
    QTest::newRow("a million lines, nothing to find on them") << unclosed + "InputPunch = A\n";
    QByteArray same;
    while (same.size() < size)
        same += "InputPunch = \"MouseLeft\"\n";
    QTest::newRow("a million lines of one input") << same;
}

void ConfigFileTest::bigFilesReadAndEdited() {
    QFETCH(QByteArray, file);
    // Well under a second each in a release build; a scan gone quadratic
    // would take hours and meet the test's own time-out. Speed itself is
    // measured by the big-file bench, not here.
    const QString punch = QStringLiteral("InputPunch");
    globalSettings(file, {punch});
    const QByteArray edited = editConfig(file, {{punch, QStringLiteral("KEY_G")}});
    QCOMPARE(globalSettings(edited, {punch}).value(punch).value, QStringLiteral("KEY_G"));
}

QTEST_GUILESS_MAIN(ConfigFileTest)
#include "test_config_file.moc"
