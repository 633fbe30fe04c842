// The configuration document: read as the emulator reads it, edited in
// place, every untouched byte kept.
#include "emulator/ConfigDocument.h"
#include "support/UsersFile.h"

#include <QTest>

using namespace emulator;

namespace {

const QByteArray kSets = "[ Global ]\nA = 1\n\n[ scud ]\nA = 2\n\n[ scud, scudau ]\nB = 3\n";

// What the emulator's own input set-up writes: a three-line header, no
// comments, values without quotes, then the game sections.
const QByteArray kSetUpFile = ";\n; Supermodel Configuration File\n;\n\n[ Global ]\n\n"
                              "InputStart1 = KEY_1,JOY1_BUTTON9\nInputPunch = KEY_Z,JOY1_BUTTON1\n"
                              "\n[ vf3 ]\n\nInputPunch = KEY_X\n";

} // namespace

class ConfigDocumentTest final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readsAsTheEmulatorDoes_data();
    void readsAsTheEmulatorDoes();
    void editsWhereTheLineWins_data();
    void editsWhereTheLineWins();
    void untouchedFilesRoundTrip_data();
    void untouchedFilesRoundTrip();
    void manyEditsKeepFileOrder();
    void renamesEarlierSourcesInGlobalInputs();
    void listsSectionsAndSettings();
    void bigFilesReadAndEdited_data();
    void bigFilesReadAndEdited();
};

void ConfigDocumentTest::readsAsTheEmulatorDoes_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("set");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("value"); // what `set` gets; "-" for nothing
    QTest::newRow("first-start file")
        << firstStartFile() << QByteArray("vf3") << QByteArray("InputStart1")
        << QByteArray("KEY_1,JOY1_BUTTON9");
    QTest::newRow("a set's own line over the global one")
        << kSets << QByteArray("scud") << QByteArray("A") << QByteArray("2");
    QTest::newRow("another set gets the global one")
        << kSets << QByteArray("vf3") << QByteArray("A") << QByteArray("1");
    QTest::newRow("a header naming several sets")
        << kSets << QByteArray("scudau") << QByteArray("B") << QByteArray("3");
    QTest::newRow("the last line wins across blocks")
        << QByteArray("[ scud ]\nA = 1\n[ scud, scudau ]\nA = 2\n[ scudau ]\nA = 3\n")
        << QByteArray("scud") << QByteArray("A") << QByteArray("2");
    QTest::newRow("[ Global, scud ] sets both")
        << QByteArray("[ Global, scud ]\nA = 1\n") << QByteArray("vf3") << QByteArray("A")
        << QByteArray("1");
    QTest::newRow("[ global ] is a set's") << QByteArray("[ global ]\nA = 1\n") << QByteArray("vf3")
                                           << QByteArray("A") << QByteArray("-");
    QTest::newRow("[] is the global one")
        << QByteArray("[ vf3 ]\nA = 2\n[]\nA = 1\n") << QByteArray("scud") << QByteArray("A")
        << QByteArray("1");
    QTest::newRow("lines before any header are global")
        << QByteArray("A = 1\n[ vf3 ]\n") << QByteArray("scud") << QByteArray("A")
        << QByteArray("1");
    QTest::newRow("a CR-only file is one line") << QByteArray("A = 1\rB = 2\r") << QByteArray("vf3")
                                                << QByteArray("A") << QByteArray("1\rB = 2");
    QTest::newRow("a semicolon in quotes, a comment after")
        << QByteArray("A = \"x;y\" ; mine\r\n") << QByteArray("vf3") << QByteArray("A")
        << QByteArray("x;y");
    QTest::newRow("names are case-sensitive")
        << QByteArray("a = 1\n") << QByteArray("vf3") << QByteArray("A") << QByteArray("-");
    QTest::newRow("a header must end with its bracket")
        << QByteArray("[ vf3 ] x\nA = 1\n") << QByteArray("scud") << QByteArray("A")
        << QByteArray("1");
    QTest::newRow("an empty name is no setting")
        << QByteArray(" = 1\n") << QByteArray("vf3") << QByteArray("") << QByteArray("-");
    QTest::newRow("the last line of a block wins")
        << QByteArray("[ scud ]\nA = 1\nA = 2\n") << QByteArray("scud") << QByteArray("A")
        << QByteArray("2");
    QTest::newRow("a set-up file: a game's line is not the global one")
        << kSetUpFile << QByteArray("scud") << QByteArray("InputPunch")
        << QByteArray("KEY_Z,JOY1_BUTTON1");
    QTest::newRow("a shared header's line is not global")
        << QByteArray("[ a, b ]\nA = 1\n") << QByteArray("vf3") << QByteArray("A")
        << QByteArray("-");
    QTest::newRow("a comment without quotes")
        << QByteArray("A = KEY_A ; mine\n") << QByteArray("vf3") << QByteArray("A")
        << QByteArray("KEY_A");
    QTest::newRow("blanks and tabs") << QByteArray("\t A\t=\t KEY_A \t\n") << QByteArray("vf3")
                                     << QByteArray("A") << QByteArray("KEY_A");
    QTest::newRow("only one pair of quotes removed")
        << QByteArray("A = \"\"x\"\"\n") << QByteArray("vf3") << QByteArray("A")
        << QByteArray("\"x\"");
    QTest::newRow("lines that are not UTF-8 around")
        << QByteArray("; caf\xe9 \xff\xfe\nA = \"KEY_A\"\nWho = \"\xe9\"\n") << QByteArray("vf3")
        << QByteArray("A") << QByteArray("KEY_A");
}

void ConfigDocumentTest::readsAsTheEmulatorDoes() {
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, set);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, value);
    const auto got = ConfigDocument(file).valueFor(set, name);
    QCOMPARE(got.value_or("-"), value);
}

void ConfigDocumentTest::editsWhereTheLineWins_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("value"); // "-": remove
    QTest::addColumn<QByteArray>("edited");
    QTest::newRow("in place, keeping quotes, blanks, comment and CR LF")
        << QByteArray("a = 1\r\nInputPunch  =  \"KEY_A\"   ; mine\r\n") << QByteArray("Global")
        << QByteArray("InputPunch") << QByteArray("KEY_G")
        << QByteArray("a = 1\r\nInputPunch  =  \"KEY_G\"   ; mine\r\n");
    QTest::newRow("only the last of duplicates")
        << QByteArray("A = \"1\"\nA = \"2\"\n") << QByteArray("Global") << QByteArray("A")
        << QByteArray("3") << QByteArray("A = \"1\"\nA = \"3\"\n");
    QTest::newRow("new: the end of the first global block")
        << QByteArray("[ Global ]\nx = \"1\"\n\n[ vf3 ]\nA = \"2\"\n") << QByteArray("Global")
        << QByteArray("A") << QByteArray("3")
        << QByteArray("[ Global ]\nx = \"1\"\nA = \"3\"\n\n[ vf3 ]\nA = \"2\"\n");
    QTest::newRow("new: a file with headers but no global one")
        << QByteArray("[ vf3 ]\nA = 2\n") << QByteArray("Global") << QByteArray("A")
        << QByteArray("3") << QByteArray("[ Global ]\nA = \"3\"\n[ vf3 ]\nA = 2\n");
    QTest::newRow("new: a file without headers, unended")
        << QByteArray("x = 1") << QByteArray("Global") << QByteArray("A") << QByteArray("3")
        << QByteArray("x = 1\nA = 3\n");
    QTest::newRow("new: a set's first block")
        << kSets << QByteArray("scud") << QByteArray("C") << QByteArray("4")
        << QByteArray(kSets).replace("A = 2\n", "A = 2\nC = 4\n");
    QTest::newRow("new: a set the file lacks") << kSets << QByteArray("vf3") << QByteArray("C")
                                               << QByteArray("4") << kSets + "\n[ vf3 ]\nC = 4\n";
    QTest::newRow("a shared header's line is not split: a block of its own after it")
        << kSets << QByteArray("scud") << QByteArray("B") << QByteArray("5")
        << kSets + "\n[ scud ]\nB = 5\n";
    QTest::newRow("a set's line that a later block overrides")
        << QByteArray("[ scud ]\nA = 1\n[ scud, scudau ]\nA = 2\n[ scud ]\nx = 0\n")
        << QByteArray("scud") << QByteArray("A") << QByteArray("3")
        << QByteArray("[ scud ]\nA = 1\n[ scud, scudau ]\nA = 2\n[ scud ]\nx = 0\nA = \"3\"\n");
    QTest::newRow("[ Global, scud ]: the global line goes in a global block after it")
        << QByteArray("[ Global, scud ]\nA = 1\n") << QByteArray("Global") << QByteArray("A")
        << QByteArray("2") << QByteArray("[ Global, scud ]\nA = 1\n\n[ Global ]\nA = 2\n");
    QTest::newRow("several names: the block naming exactly them")
        << kSets << QByteArray("scudau, scud") << QByteArray("B") << QByteArray("6")
        << QByteArray(kSets).replace("B = 3", "B = 6");
    QTest::newRow("a value that needs quotes gets them")
        << QByteArray("A = 1\n") << QByteArray("Global") << QByteArray("A") << QByteArray("x;y")
        << QByteArray("A = \"x;y\"\n");
    QTest::newRow("a lone quote: the line is written anew")
        << QByteArray("A = 1 ; note\n") << QByteArray("Global") << QByteArray("A")
        << QByteArray("a\"b") << QByteArray("A = a\"b\n");
    QTest::newRow("remove: the set's own lines only")
        << kSets + "[ scud ]\nB = 7\n"
        << QByteArray("scud") << QByteArray("B") << QByteArray("-") << kSets + "[ scud ]\n";
    QTest::newRow("one line of the first-start file")
        << firstStartFile() << QByteArray("Global") << QByteArray("InputPunch")
        << QByteArray("KEY_G,JOY1_BUTTON1")
        << firstStartFile().replace("InputPunch = \"KEY_A,", "InputPunch = \"KEY_G,");
    QTest::newRow("unquoted stays unquoted")
        << kSetUpFile << QByteArray("Global") << QByteArray("InputPunch")
        << QByteArray("KEY_G,JOY1_BUTTON1")
        << QByteArray(kSetUpFile).replace("InputPunch = KEY_Z,", "InputPunch = KEY_G,");
    QTest::newRow("a semicolon in quotes: the comment stays in its place")
        << QByteArray("A = \"x;y\" ; c;d\n") << QByteArray("Global") << QByteArray("A")
        << QByteArray("KEY_B") << QByteArray("A = \"KEY_B\" ; c;d\n");
    QTest::newRow("lines that are not UTF-8 kept exactly")
        << QByteArray("; \xff\xfe\nA = \"1\"\nName = \"\xe9t\xe9\"\n") << QByteArray("Global")
        << QByteArray("A") << QByteArray("\xc3\xa9")
        << QByteArray("; \xff\xfe\nA = \"\xc3\xa9\"\nName = \"\xe9t\xe9\"\n");
    QTest::newRow("new, in a file without quotes: unquoted")
        << QByteArray("[ Global ]\nx = 1\n") << QByteArray("Global") << QByteArray("A")
        << QByteArray("3") << QByteArray("[ Global ]\nx = 1\nA = 3\n");
    QTest::newRow("new: no global block, a comment first, the file's line ends")
        << QByteArray("; mine\r\n[ vf3 ]\r\nA = \"1\"\r\n") << QByteArray("Global")
        << QByteArray("A") << QByteArray("3")
        << QByteArray("[ Global ]\r\nA = \"3\"\r\n; mine\r\n[ vf3 ]\r\nA = \"1\"\r\n");
    QTest::newRow("new: an empty file") << QByteArray() << QByteArray("Global") << QByteArray("A")
                                        << QByteArray("3") << QByteArray("A = \"3\"\n");
    QTest::newRow("new: the wrong case is another name")
        << QByteArray("a = \"1\"\n") << QByteArray("Global") << QByteArray("A") << QByteArray("3")
        << QByteArray("a = \"1\"\nA = \"3\"\n");
    QTest::newRow("remove: a global line, CR LF kept elsewhere")
        << QByteArray("A = 1\r\nB = 2\r\n") << QByteArray("Global") << QByteArray("A")
        << QByteArray("-") << QByteArray("B = 2\r\n");
}

void ConfigDocumentTest::editsWhereTheLineWins() {
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, section);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, edited);
    ConfigDocument document(file);
    if (value == "-")
        document.remove(section, name);
    else
        document.set(section, name, value);
    QCOMPARE(document.bytes(), edited);
    // What was set is what the emulator reads back.
    for (const QByteArray& set : section.split(',')) {
        const QByteArray trimmed = set.trimmed();
        const auto got = ConfigDocument(edited).value(trimmed, name);
        if (value != "-")
            QCOMPARE(got.value_or("-"), value);
    }
}

void ConfigDocumentTest::untouchedFilesRoundTrip_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("first-start") << firstStartFile();
    QTest::newRow("edited by a user") << usersFile();
    QTest::newRow("sets") << kSets;
    QTest::newRow("CR only, NUL-free oddities")
        << QByteArray("\r\r[\r]\r=\r\"\n;\n[ a,, ]\n x=\"y");
    QTest::newRow("empty") << QByteArray();
}

void ConfigDocumentTest::untouchedFilesRoundTrip() {
    QFETCH(QByteArray, file);
    QCOMPARE(ConfigDocument(file).bytes(), file);
}

void ConfigDocumentTest::manyEditsKeepFileOrder() {
    // Thousands of lines added one after another in one block, then each
    // changed: every one lands and wins, and nothing else moves.
    ConfigDocument document(QByteArray("[ Global ]\nA = 1\n[ vf3 ]\nA = 2\n"));
    for (int i = 0; i < 5000; ++i)
        document.set("vf3", "N" + QByteArray::number(i), QByteArray::number(i));
    for (int i = 0; i < 5000; i += 7)
        document.set("Global", "N" + QByteArray::number(i), "g");
    const ConfigDocument reread(document.bytes());
    QCOMPARE(reread.value("vf3", "N4999").value_or("-"), QByteArray("4999"));
    QCOMPARE(reread.valueFor("vf3", "N7").value_or("-"), QByteArray("7"));
    QCOMPARE(reread.valueFor("scud", "N7").value_or("-"), QByteArray("g"));
    QCOMPARE(reread.value("vf3", "A").value_or("-"), QByteArray("2"));
    QVERIFY(document.bytes().startsWith("[ Global ]\nA = 1\nN0 = g\n"));
}

void ConfigDocumentTest::renamesEarlierSourcesInGlobalInputs() {
    // As Save does: the earlier names the emulator refuses go from every
    // global input line, whatever their case; a game's lines keep theirs.
    ConfigDocument document(
        QByteArray("InputTrigger = \"MouseLeft, JOY1_BUTTON1\"\nInputStart1 = ScorollLock\n"
                   "InputStart2 = mOuSeRiGhT\nMouse = MouseLeft\n"
                   "[ lostwsga ]\nInputTrigger = \"MouseRight\"\n"));
    document.renameEarlierSources();
    document.set("Global", "InputPunch", "A");
    QCOMPARE(
        document.bytes(),
        QByteArray("[ Global ]\nInputPunch = A\n"
                   "InputTrigger = \"MOUSE_LEFT_BUTTON, JOY1_BUTTON1\"\n"
                   "InputStart1 = ScrollLock\nInputStart2 = MOUSE_RIGHT_BUTTON\nMouse = MouseLeft\n"
                   "[ lostwsga ]\nInputTrigger = \"MouseRight\"\n"));
}

void ConfigDocumentTest::listsSectionsAndSettings() {
    const ConfigDocument document(kSets);
    QCOMPARE(document.sections(), (QList<QByteArray>{"Global", "scud", "scudau"}));
    QList<ConfigDocument::Setting> settings;
    document.forEachSetting(
        [&settings](const ConfigDocument::Setting& setting) { settings.append(setting); });
    QCOMPARE(settings.size(), 3);
    QCOMPARE(settings[2].sections, (QList<QByteArray>{"scud", "scudau"}));
    QCOMPARE(settings[2].header, QByteArrayView("[ scud, scudau ]"));
    QVERIFY(document.sharedLine("scudau", "B"));
    QVERIFY(!document.sharedLine("scud", "A"));
}

void ConfigDocumentTest::bigFilesReadAndEdited_data() {
    QTest::addColumn<QByteArray>("file");
    const qsizetype size = (qsizetype(16) << 20) - 64;
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
    QByteArray headers;
    while (headers.size() < size)
        headers += "[ a ]\nInputPunch = 1\n";
    QTest::newRow("half a million blocks of one set") << headers;
}

void ConfigDocumentTest::bigFilesReadAndEdited() {
    QFETCH(QByteArray, file);
    // Well under a second each in a release build; a scan gone quadratic
    // would take hours and meet the test's own time-out. Speed itself is
    // measured by the big-file bench, not here.
    ConfigDocument document(file);
    document.renameEarlierSources();
    document.set("Global", "InputPunch", "KEY_G");
    document.set("a", "InputKick", "KEY_H");
    const ConfigDocument reread(document.bytes());
    QCOMPARE(reread.value("Global", "InputPunch").value_or("-"), QByteArray("KEY_G"));
    QCOMPARE(reread.value("a", "InputKick").value_or("-"), QByteArray("KEY_H"));
}

QTEST_GUILESS_MAIN(ConfigDocumentTest)
#include "test_config_document.moc"
