#include "support/LauncherSave.h"

#include "emulator/ConfigDocument.h"
#include "emulator/ConfigMerge.h"
#include "emulator/LauncherRewrite.h"

#include <QTest>

namespace {

const QByteArray kBase = "; Supermodel\n"
                         "[ Global ]\n"
                         "WideScreen = 0\n"
                         "InputStart1 = \"KEY_1\"\n"
                         "\n"
                         "[ scud ]\n"
                         "InputStart1 = KEY_2\n";

QByteArray replaced(QByteArray bytes, const QByteArray& from, const QByteArray& to) {
    return bytes.replace(from, to);
}

} // namespace

class TestConfigMerge : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void merges_data();
    void merges();
    void conflictsPastTheNamedOnesAreCounted();
    void aGlobalOnlyMergeKeepsTheOtherSections();
    void launcherSaves_data();
    void launcherSaves();
    void manySectionsMerge_data();
    void manySectionsMerge();
};

void TestConfigMerge::merges_data() {
    QTest::addColumn<QByteArray>("base");
    QTest::addColumn<QByteArray>("player");
    QTest::addColumn<QByteArray>("working");
    QTest::addColumn<QByteArray>("merged");
    QTest::addColumn<QStringList>("conflicts"); // "section/name"

    const QByteArray wide = replaced(kBase, "WideScreen = 0", "WideScreen = 1");
    // The working copy's own form: comments, blanks, quotes, order.
    const QByteArray mine = "; Supermodel\n; edited by hand\n"
                            "[ Global ]\n"
                            "WideScreen   =   0   ; a comment\n"
                            "InputStart1 = \"KEY_1\"\n"
                            "\n"
                            "[ scud ]\n"
                            "InputStart1 = KEY_2\n";

    QTest::newRow("the player changed, the working copy not: in place, its form kept")
        << kBase << wide << mine
        << replaced(mine, "WideScreen   =   0   ;", "WideScreen   =   1   ;") << QStringList{};
    QTest::newRow("a lone quote would swallow the line's comment: the player's line")
        << kBase << replaced(kBase, "WideScreen = 0", "WideScreen = \"") << mine
        << replaced(mine, "WideScreen   =   0   ; a comment", "WideScreen = \"") << QStringList{};
    QTest::newRow("nothing changed in the player's file: nothing to do")
        << kBase << kBase << replaced(mine, "KEY_2", "KEY_9") << replaced(mine, "KEY_2", "KEY_9")
        << QStringList{};
    QTest::newRow("both changed, different settings")
        << kBase << wide << replaced(kBase, "\"KEY_1\"", "\"KEY_Z\"")
        << replaced(replaced(kBase, "\"KEY_1\"", "\"KEY_Z\""), "WideScreen = 0", "WideScreen = 1")
        << QStringList{};
    QTest::newRow("both changed one setting, differently: the working copy's value stays")
        << kBase << wide << replaced(kBase, "WideScreen = 0", "WideScreen = 2")
        << replaced(kBase, "WideScreen = 0", "WideScreen = 2") << QStringList{"Global/WideScreen"};
    QTest::newRow("both changed one setting to the same value, quoted or not")
        << kBase << wide << replaced(kBase, "WideScreen = 0", "WideScreen = \"1\"")
        << replaced(kBase, "WideScreen = 0", "WideScreen = \"1\"") << QStringList{};
    QTest::newRow("a game section's setting, and only that section's")
        << kBase << replaced(kBase, "KEY_2", "KEY_3") << kBase << replaced(kBase, "KEY_2", "KEY_3")
        << QStringList{};
    QTest::newRow("a quoted value keeps its quotes")
        << kBase << replaced(kBase, "\"KEY_1\"", "KEY_5") << kBase
        << replaced(kBase, "\"KEY_1\"", "\"KEY_5\"") << QStringList{};
    QTest::newRow("a setting and a section added")
        << kBase << kBase + "\n[ vf3 ]\nInputPunch = KEY_P ; mine\n"
        << replaced(kBase, "WideScreen = 0\n", "WideScreen = 0\nSupersampling = 2\n")
        << replaced(kBase, "WideScreen = 0\n", "WideScreen = 0\nSupersampling = 2\n") +
               "\n[ vf3 ]\nInputPunch = KEY_P ; mine\n"
        << QStringList{};
    QTest::newRow("a global setting added goes to the global section")
        << kBase << replaced(kBase, "\n\n[ scud ]", "\nRefreshRate = 57.5\n\n[ scud ]") << kBase
        << replaced(kBase, "\n\n[ scud ]", "\nRefreshRate = 57.5\n\n[ scud ]") << QStringList{};
    QTest::newRow("a setting and a section's settings removed")
        << kBase + "InputPunch = KEY_P\n"
        << replaced(replaced(kBase, "WideScreen = 0\n", ""), "InputStart1 = KEY_2\n", "")
        << kBase + "InputPunch = KEY_P\n"
        << replaced(replaced(kBase, "WideScreen = 0\n", ""), "InputStart1 = KEY_2\n", "")
        << QStringList{};
    QTest::newRow("removed in the player's file, changed here: kept")
        << kBase << replaced(kBase, "WideScreen = 0\n", "")
        << replaced(kBase, "WideScreen = 0", "WideScreen = 1")
        << replaced(kBase, "WideScreen = 0", "WideScreen = 1") << QStringList{"Global/WideScreen"};
    QTest::newRow("added on both sides with different values: kept")
        << kBase << kBase + "Stretch = 1\n"
        << kBase + "Stretch = 0\n"
        << kBase + "Stretch = 0\n"
        << QStringList{"scud/Stretch"};
    QTest::newRow("a player's file with CR LF and comments; the working copy's line ends kept")
        << replaced(kBase, "\n", "\r\n")
        << replaced(replaced(kBase, "\n", "\r\n"), "WideScreen = 0\r\n",
                    "WideScreen = 1 ; wide\r\n; my note\r\nVSync = 0\r\n")
        << kBase
        << replaced(kBase, "WideScreen = 0\n", "WideScreen = 1\n")
               .replace("InputStart1 = \"KEY_1\"\n", "InputStart1 = \"KEY_1\"\nVSync = 0\n")
        << QStringList{};
    QTest::newRow("the last of repeated lines is the one set")
        << kBase << wide << replaced(kBase, "WideScreen = 0\n", "WideScreen = 0\nWideScreen = 0\n")
        << replaced(kBase, "WideScreen = 0\n", "WideScreen = 0\nWideScreen = 1\n") << QStringList{};
    QTest::newRow("a value only quotes can hold")
        << kBase << replaced(kBase, "WideScreen = 0", "WideScreen = \"a;b\"") << kBase
        << replaced(kBase, "WideScreen = 0", "WideScreen = \"a;b\"") << QStringList{};
}

void TestConfigMerge::merges() {
    QFETCH(QByteArray, base);
    QFETCH(QByteArray, player);
    QFETCH(QByteArray, working);
    QFETCH(QByteArray, merged);
    QFETCH(QStringList, conflicts);

    const emulator::MergeResult result = emulator::mergeConfig(base, player, working);
    QCOMPARE(result.bytes, merged);
    QStringList told;
    for (const emulator::MergeConflict& conflict : result.conflicts)
        told.append(QString::fromUtf8(conflict.section + '/' + conflict.name));
    QCOMPARE(told, conflicts);
    // Carrying the same changes again changes nothing more.
    QCOMPARE(emulator::mergeConfig(base, player, result.bytes).bytes, merged);
}

void TestConfigMerge::conflictsPastTheNamedOnesAreCounted() {
    // Every setting changed on both sides: a box names the first ones only.
    QByteArray base, player, working;
    for (int i = 0; i < emulator::kNamedConflicts + 5; ++i) {
        const QByteArray name = "Setting" + QByteArray::number(i);
        base += name + " = 0\n";
        player += name + " = 1\n";
        working += name + " = 2\n";
    }
    const emulator::MergeResult result = emulator::mergeConfig(base, player, working);
    QCOMPARE(result.bytes, working);
    QCOMPARE(result.conflicts.size(), emulator::kNamedConflicts);
    QCOMPARE(result.conflicts.first().name, QByteArray("Setting0"));
    QCOMPARE(result.moreConflicts, 5);
}

void TestConfigMerge::aGlobalOnlyMergeKeepsTheOtherSections() {
    // The player's file lost its comment and game section, its values their
    // quotes, and one setting changed: only that one is carried.
    const QByteArray player = "[ Global ]\n\nWideScreen = 1\nInputStart1 = KEY_1\n";
    const QByteArray working = kBase + "; mine\n";
    QCOMPARE(emulator::mergeConfig(kBase, player, working, emulator::MergeScope::GlobalOnly).bytes,
             replaced(working, "WideScreen = 0", "WideScreen = 1"));
}

void TestConfigMerge::launcherSaves_data() {
    QTest::addColumn<QByteArray>("base");
    QTest::addColumn<QByteArray>("player");
    QTest::addColumn<bool>("rewritten");
    const QByteArray saved = launcherSave();
    QTest::newRow("the launcher's save") << launcherSaveBase() << saved << true;
    const QByteArray globals = "[ Global ]\nWideScreen = 0\n";
    QTest::newRow("a section removed by hand") << globals + "[ scud ]\nVSync = 0\n"
                                               << globals << false;
    QTest::newRow("a comment in the file") << launcherSaveBase() << saved + "; mine\n" << false;
    QTest::newRow("a base without sections or comments") << globals << saved << false;
}

void TestConfigMerge::launcherSaves() {
    QFETCH(QByteArray, base);
    QFETCH(QByteArray, player);
    QFETCH(bool, rewritten);
    QCOMPARE(emulator::rewrittenByLauncher(base, player), rewritten);
}

void TestConfigMerge::manySectionsMerge_data() {
    QTest::addColumn<bool>("sectionsThere"); // in the working copy already
    QTest::newRow("sections added") << false;
    QTest::newRow("a setting added to each section") << true;
}

void TestConfigMerge::manySectionsMerge() {
    // A million sections: well under a second in a release build, while a
    // merge that looked for each section's place afresh would take hours
    // and meet the test's own time-out.
    QFETCH(bool, sectionsThere);
    QByteArray sections;
    for (int i = 0; i < 1'000'000; ++i)
        sections.append("[ s").append(QByteArray::number(i)).append(" ]\nX = 1\n");
    const QByteArray player = replaced(sections, "X = 1\n", "X = 1\nY = 2\n");
    const QByteArray base = sectionsThere ? sections : QByteArray();
    const QByteArray merged = emulator::mergeConfig(base, player, base).bytes;
    QCOMPARE(emulator::ConfigDocument(merged).value("s999999", "Y").value_or("-"), QByteArray("2"));
}

QTEST_APPLESS_MAIN(TestConfigMerge)
#include "test_config_merge.moc"
