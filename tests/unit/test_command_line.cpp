#include "emulator/CommandLine.h"

#include <QTest>

using emulator::CommandLine;
using emulator::GameLaunch;

namespace {

const QString kProgram = QString::fromLatin1(emulator::kEmulatorProgram);

GameLaunch launch(const QString& emu, const QString& rom, const QString& set) {
    GameLaunch l;
    l.emulatorFolder = emu;
    l.romFolder = rom;
    l.romSet = set;
    l.width = QStringLiteral("640");
    l.height = QStringLiteral("480");
    return l;
}

GameLaunch allOn(GameLaunch l, const QString& clock) {
    l.clock = clock;
    l.clockOn = l.showFps = l.fullScreen = l.noThrottle = true;
    return l;
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void game_data();
    void game();
    void awkwardFolders_data();
    void awkwardFolders();
    void splitGivesBackArguments_data();
    void splitGivesBackArguments();
    void split_data();
    void split();
    void inputSetup_data();
    void inputSetup();
};

void TestCommandLine::game_data() {
    QTest::addColumn<GameLaunch>("launch");
    QTest::addColumn<QChar>("quote");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("arguments");

    const GameLaunch base = launch("/emu/", "/roms/", "vf3");
    const QChar dq = u'"';

    QTest::newRow("all off") << base << dq
                             << "\"/emu/" + kProgram + "\" \"/roms/vf3.zip\" -res=640,480    "
                             << QStringList{"/roms/vf3.zip", "-res=640,480"};
    QTest::newRow("all on") << allOn(base, "25") << dq
                            << "\"/emu/" + kProgram +
                                   "\" \"/roms/vf3.zip\" -res=640,480 -ppc-frequency=25 -show-fps "
                                   "-fullscreen -no-throttle"
                            << QStringList{"/roms/vf3.zip", "-res=640,480", "-ppc-frequency=25",
                                           "-show-fps",     "-fullscreen",  "-no-throttle"};
    QTest::newRow("clock on, empty")
        <<
        [&] {
            GameLaunch l = base;
            l.clockOn = true;
            return l;
        }()
        << dq << "\"/emu/" + kProgram + "\" \"/roms/vf3.zip\" -res=640,480 -ppc-frequency=   "
        << QStringList{"/roms/vf3.zip", "-res=640,480", "-ppc-frequency="};
    QTest::newRow("clock typed but off") <<
        [&] {
            GameLaunch l = base;
            l.clock = QStringLiteral("50");
            return l;
        }() << dq << "\"/emu/" + kProgram + "\" \"/roms/vf3.zip\" -res=640,480    "
                                         << QStringList{"/roms/vf3.zip", "-res=640,480"};
    QTest::newRow("full screen only: blanks stay")
        <<
        [&] {
            GameLaunch l = base;
            l.fullScreen = true;
            return l;
        }()
        << dq << "\"/emu/" + kProgram + "\" \"/roms/vf3.zip\" -res=640,480   -fullscreen "
        << QStringList{"/roms/vf3.zip", "-res=640,480", "-fullscreen"};
    QTest::newRow("fps and no throttle")
        <<
        [&] {
            GameLaunch l = base;
            l.showFps = l.noThrottle = true;
            return l;
        }()
        << dq << "\"/emu/" + kProgram + "\" \"/roms/vf3.zip\" -res=640,480  -show-fps  -no-throttle"
        << QStringList{"/roms/vf3.zip", "-res=640,480", "-show-fps", "-no-throttle"};
    QTest::newRow("empty size") <<
        [&] {
            GameLaunch l = base;
            l.width.clear();
            l.height.clear();
            return l;
        }() << dq << "\"/emu/" + kProgram + "\" \"/roms/vf3.zip\" -res=,    "
                                << QStringList{"/roms/vf3.zip", "-res=,"};
    QTest::newRow("non-numeric size") <<
        [&] {
            GameLaunch l = base;
            l.width = QStringLiteral("wide");
            l.height = QStringLiteral("-1");
            return l;
        }() << dq << "\"/emu/" + kProgram + "\" \"/roms/vf3.zip\" -res=wide,-1    "
                                      << QStringList{"/roms/vf3.zip", "-res=wide,-1"};
    QTest::newRow("other quote") << allOn(base, "40") << QChar(u'\'')
                                 << "'/emu/" + kProgram +
                                        "' '/roms/vf3.zip' -res=640,480 -ppc-frequency=40 "
                                        "-show-fps -fullscreen -no-throttle"
                                 << QStringList{"/roms/vf3.zip",     "-res=640,480",
                                                "-ppc-frequency=40", "-show-fps",
                                                "-fullscreen",       "-no-throttle"};
}

void TestCommandLine::game() {
    QFETCH(GameLaunch, launch);
    QFETCH(QChar, quote);
    QFETCH(QString, text);
    QFETCH(QStringList, arguments);
    const CommandLine line = emulator::gameCommandLine(launch, quote);
    QCOMPARE(line.text, text);
    QCOMPARE(line.program, "/emu/" + kProgram);
    QCOMPARE(line.arguments, arguments);
}

void TestCommandLine::awkwardFolders_data() {
    QTest::addColumn<QString>("emulatorFolder");
    QTest::addColumn<QString>("romFolder");
    QTest::addColumn<QString>("romSet");

    QTest::newRow("blanks") << "/home/me/My Emulators/Super model/"
                            << "/home/me/My Roms/"
                            << "scud";
    QTest::newRow("double quotes") << "/a \"b\"/"
                                   << "/r \"q\" /"
                                   << "vf3";
    QTest::newRow("single quotes") << "/it's/"
                                   << "/rom's dir/"
                                   << "lemans24";
    QTest::newRow("shell characters") << "/x;rm -rf ~/$HOME/`id`/"
                                      << "/r|&>$(x)/"
                                      << "a b";
    QTest::newRow("non-ASCII") << QStringLiteral("/home/zoë/Émulateur 模拟器/")
                               << QStringLiteral("/données/ROMs 日本/") << QStringLiteral("vf3");
    QTest::newRow("Windows style") << "C:\\Program Files\\Supermodel\\"
                                   << "D:\\My Roms\\"
                                   << "srally2";
}

void TestCommandLine::awkwardFolders() {
    QFETCH(QString, emulatorFolder);
    QFETCH(QString, romFolder);
    QFETCH(QString, romSet);
    GameLaunch l = launch(emulatorFolder, romFolder, romSet);

    const CommandLine off = emulator::gameCommandLine(l, u'"');
    QCOMPARE(off.program, emulatorFolder + kProgram);
    QCOMPARE(off.arguments, (QStringList{romFolder + romSet + ".zip", "-res=640,480"}));
    QVERIFY(off.text.startsWith('"' + emulatorFolder + kProgram + "\" \"" + romFolder + romSet +
                                ".zip\" "));

    const CommandLine on = emulator::gameCommandLine(allOn(l, "30"), u'"');
    QCOMPARE(on.program, emulatorFolder + kProgram);
    QCOMPARE(on.arguments.size(), 6);
    QCOMPARE(on.arguments.first(), romFolder + romSet + ".zip");
    QCOMPARE(on.arguments.last(), QStringLiteral("-no-throttle"));
}

void TestCommandLine::splitGivesBackArguments_data() {
    QTest::addColumn<GameLaunch>("launch");

    const GameLaunch blanks = launch("/home/me/My Emulators/", "/home/me/My Roms/", "vf3");
    QTest::newRow("all off") << blanks;
    QTest::newRow("all on") << allOn(blanks, "25");
    QTest::newRow("clock on, empty") << [&] {
        GameLaunch l = blanks;
        l.clockOn = true;
        return l;
    }();
    QTest::newRow("runs of blanks in folders")
        << allOn(launch("  /a  b  /", " /r   s/ ", "set name"), "10");
    QTest::newRow("non-ASCII") << allOn(
        launch(QStringLiteral("/Émulateur 模拟器/"), QStringLiteral("/données/"), "vf3"), "66");
}

void TestCommandLine::splitGivesBackArguments() {
    QFETCH(GameLaunch, launch);
    const CommandLine line = emulator::gameCommandLine(launch, u'"');
    QCOMPARE(emulator::splitCommandLine(line.text, u'"'),
             QStringList{line.program} + line.arguments);
}

void TestCommandLine::split_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QChar>("quote");
    QTest::addColumn<QStringList>("pieces");

    const QChar dq = u'"';
    QTest::newRow("plain") << "a b c" << dq << QStringList{"a", "b", "c"};
    QTest::newRow("runs of blanks") << "  a   b  " << dq << QStringList{"a", "b"};
    QTest::newRow("quoted blanks") << "\"a  b\" c" << dq << QStringList{"a  b", "c"};
    QTest::newRow("empty quotes") << "a \"\" b" << dq << QStringList{"a", "", "b"};
    QTest::newRow("quotes inside a word") << "a\"b c\"d e" << dq << QStringList{"ab cd", "e"};
    QTest::newRow("unclosed quote") << "a \"b  c" << dq << QStringList{"a", "b  c"};
    QTest::newRow("other quote") << "'a b' \"c d\"" << QChar(u'\'')
                                 << QStringList{"a b", "\"c", "d\""};
    QTest::newRow("empty") << "" << dq << QStringList{};
    QTest::newRow("blanks only") << "   " << dq << QStringList{};
}

void TestCommandLine::split() {
    QFETCH(QString, text);
    QFETCH(QChar, quote);
    QFETCH(QStringList, pieces);
    QCOMPARE(emulator::splitCommandLine(text, quote), pieces);
}

void TestCommandLine::inputSetup_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QChar>("quote");
    QTest::addColumn<QString>("text");

    QTest::newRow("plain") << "/emu/" << QChar(u'"') << "\"/emu/" + kProgram + "\" -config-inputs";
    QTest::newRow("blanks") << "/My Emu/" << QChar(u'"')
                            << "\"/My Emu/" + kProgram + "\" -config-inputs";
    QTest::newRow("other quote") << "/emu/" << QChar(u'\'')
                                 << "'/emu/" + kProgram + "' -config-inputs";
    QTest::newRow("non-ASCII") << QStringLiteral("/Émulateur/") << QChar(u'"')
                               << QStringLiteral("\"/Émulateur/") + kProgram + "\" -config-inputs";
}

void TestCommandLine::inputSetup() {
    QFETCH(QString, folder);
    QFETCH(QChar, quote);
    QFETCH(QString, text);
    const CommandLine line = emulator::inputSetupCommandLine(folder, quote);
    QCOMPARE(line.text, text);
    QCOMPARE(line.program, folder + kProgram);
    QCOMPARE(line.arguments, QStringList{"-config-inputs"});
    if (quote == u'"')
        QCOMPARE(emulator::splitCommandLine(line.text, quote),
                 (QStringList{line.program} + line.arguments));
}

QTEST_APPLESS_MAIN(TestCommandLine)
#include "test_command_line.moc"
