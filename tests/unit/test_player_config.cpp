#include "support/DefaultInputFile.h"
#include "support/LauncherSave.h"

#include "emulator/ConfigDocument.h"
#include "emulator/ConfigFile.h"
#include "emulator/ConfigSave.h"
#include "emulator/PlayerConfig.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Folders {
    QTemporaryDir dir;
    QString program = dir.path() + QStringLiteral("/front/");
    QString player = dir.path() + QStringLiteral("/home/.supermodel/Config/Supermodel.ini");
    QString working = program + QStringLiteral("Config/Supermodel.ini");

    Folders() {
        QDir().mkpath(program);
        QDir().mkpath(dir.path() + QStringLiteral("/home/.supermodel/Config"));
    }
    // A later time each write: the change shows even on a coarse clock.
    void write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        QVERIFY(file.flush());
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(++m_writes),
                                 QFileDevice::FileModificationTime));
    }
    static QByteArray read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
    }
    QStringList step() { return emulator::keepConfigInStep(program, QStringList{player}); }

private:
    int m_writes = 0;
};

const QByteArray kPlayer = "[ Global ]\nWideScreen = 0\nInputPunch = \"KEY_A\"\n";

} // namespace

class TestPlayerConfig : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void followsThePlayersFile();
    void aLauncherSaveKeepsTheGameSections();
    void anOlderWorkingCopyStartsFromThePlayersFileAsItIs();
    void anEarlierVersionsCopyIsNoPlayersFile();
    void theBaseRecord_data();
    void theBaseRecord();
    void aResultOverTheLimitIsNotWritten();
    void aSaveAtTheSameMomentLosesNothing();
};

void TestPlayerConfig::followsThePlayersFile() {
    Folders f;
    f.write(f.player, kPlayer);
    // The first start copies it in and keeps it as the base.
    QCOMPARE(f.step(), QStringList());
    QCOMPARE(Folders::read(f.working), kPlayer);
    QCOMPARE(Folders::read(emulator::baseCopyPath(f.program)), kPlayer);

    // The panel changes one binding, the player another setting.
    f.write(f.working, QByteArray(kPlayer).replace("KEY_A", "KEY_Z"));
    f.write(f.player, QByteArray(kPlayer).replace("WideScreen = 0", "WideScreen = 1"));
    QCOMPARE(f.step(), QStringList());
    const QByteArray both = "[ Global ]\nWideScreen = 1\nInputPunch = \"KEY_Z\"\n";
    QCOMPARE(Folders::read(f.working), both);
    QCOMPARE(f.step(), QStringList()); // once carried, not again

    // A copy the panel's Save makes in the emulator's folder, found first
    // from now on, does not take the place of the file imported.
    const QString saved = f.dir.path() + QStringLiteral("/emu/Config/Supermodel.ini");
    QVERIFY(QDir().mkpath(f.dir.path() + QStringLiteral("/emu/Config")));
    f.write(saved, both);
    f.write(f.player, QByteArray(kPlayer).replace("WideScreen = 0", "WideScreen = 2"));
    QCOMPARE(emulator::keepConfigInStep(f.program, QStringList{saved, f.player}), QStringList());
    QCOMPARE(Folders::read(f.working), QByteArray(both).replace("= 1", "= 2"));
    f.write(f.player, QByteArray(kPlayer).replace("WideScreen = 0", "WideScreen = 1"));
    QCOMPARE(f.step(), QStringList());

    // Both change the binding: the panel's stays, and the box says so.
    f.write(
        f.player,
        QByteArray(kPlayer).replace("WideScreen = 0", "WideScreen = 1").replace("KEY_A", "KEY_B"));
    QCOMPARE(f.step(),
             QStringList{QStringLiteral("InputPunch in [ Global ] changed in both %1 (\"KEY_B\") "
                                        "and %2 (\"KEY_Z\"): %2 keeps its value")
                             .arg(f.player, f.working)});
    QCOMPARE(Folders::read(f.working), both);

    // A file the editor refuses changes nothing, each start until it is mended.
    f.write(f.player, QByteArray("WideScreen = 0\n\0", 16));
    const QStringList refused{
        QStringLiteral("Your settings in %1 were not carried into %2: it holds a NUL byte")
            .arg(f.player, f.working)};
    QCOMPARE(f.step(), refused);
    QCOMPARE(f.step(), refused);
    QCOMPARE(Folders::read(f.working), both);
    // The front-end's own settings file is none of this.
    QVERIFY(!QFile::exists(f.program + QStringLiteral("Config/Kestrun.ini")));
}

void TestPlayerConfig::aLauncherSaveKeepsTheGameSections() {
    Folders f;
    f.write(f.player, launcherSaveBase());
    QCOMPARE(f.step(), QStringList());
    // The emulator's launcher saves the player's file, wide screen turned off.
    f.write(f.player, launcherSave().replace("WideScreen = 1", "WideScreen = 0"));
    const QStringList told = f.step();
    QVERIFY2(told.size() == 1 && told[0].startsWith(f.player + " was saved by the emulator's "
                                                               "own launcher"),
             qPrintable(told.join(u'\n')));
    const QByteArray working = Folders::read(f.working);
    const emulator::ConfigDocument document(working);
    QCOMPARE(document.value("scud", "FullScreen").value_or("-"), QByteArray("1"));
    QCOMPARE(document.value("Global", "WideScreen").value_or("-"), QByteArray("0"));
    QVERIFY(working.contains("; a comment between\n"));
    // Told once: its next save is a change like any other.
    f.write(f.player, launcherSave());
    QCOMPARE(f.step(), QStringList());
}

void TestPlayerConfig::anOlderWorkingCopyStartsFromThePlayersFileAsItIs() {
    Folders f;
    QDir().mkpath(f.program + QStringLiteral("Config"));
    const QByteArray mine = "[ Global ]\nWideScreen = 0\nInputPunch = KEY_Q\n";
    f.write(f.working, mine);
    f.write(f.player, kPlayer);
    QCOMPARE(f.step(), QStringList());
    QCOMPARE(Folders::read(f.working), mine); // no base: nothing to carry yet
    f.write(f.player, QByteArray(kPlayer).replace("WideScreen = 0", "WideScreen = 1"));
    QCOMPARE(f.step(), QStringList());
    QCOMPARE(Folders::read(f.working), QByteArray(mine).replace("= 0", "= 1"));
}

void TestPlayerConfig::anEarlierVersionsCopyIsNoPlayersFile() {
    const QByteArray earlier = earlierInputFile();
    for (const bool followed : {false, true}) {
        Folders f;
        const QString copy = f.dir.path() + QStringLiteral("/emu/Config/Supermodel.ini");
        QVERIFY(QDir().mkpath(f.dir.path() + QStringLiteral("/emu/Config")));
        f.write(copy, earlier);
        f.write(f.player, kPlayer);
        if (followed) {
            // An earlier version imported its own copy and follows it.
            QVERIFY(QDir().mkpath(f.program + QStringLiteral("Config")));
            f.write(f.working, earlier);
            f.write(emulator::baseCopyPath(f.program), earlier);
            f.write(emulator::baseRecordPath(f.program), copy.toUtf8() + "\n1\n1\n");
        }
        const QStringList candidates{copy, f.player};
        QCOMPARE(emulator::keepConfigInStep(f.program, candidates), QStringList());
        const QByteArray working = Folders::read(f.working);
        QVERIFY2(working.contains("WideScreen = 0") && working.contains("InputPunch = \"KEY_A\""),
                 working.constData());
        // From now on it is the player's file that is followed.
        f.write(f.player, QByteArray(kPlayer).replace("WideScreen = 0", "WideScreen = 1"));
        QCOMPARE(emulator::keepConfigInStep(f.program, candidates), QStringList());
        QVERIFY(Folders::read(f.working).contains("WideScreen = 1"));
        QCOMPARE(Folders::read(copy), earlier);
    }
}

void TestPlayerConfig::theBaseRecord_data() {
    QTest::addColumn<QString>("damage");
    QTest::addColumn<bool>("carried"); // the change made before the start
    QTest::addColumn<QString>("told"); // what the box says of it, or nothing
    QTest::newRow("kept: the change is carried") << "none" << true << "";
    QTest::newRow("missing: imported again, said")
        << "no record" << false << "the record of the import, {record}, is missing";
    QTest::newRow("naming a file the import does not look at: not read")
        << "elsewhere" << false << "the record of the import, {record}, names no file of yours";
    QTest::newRow("the copy of the import missing: imported again, said")
        << "no copy" << false << "the copy of the import, {copy}, is missing or damaged";
    QTest::newRow("both missing: a working copy from before they were kept")
        << "neither" << false << "";
}

void TestPlayerConfig::theBaseRecord() {
    QFETCH(QString, damage);
    QFETCH(bool, carried);
    QFETCH(QString, told);
    Folders f;
    f.write(f.player, kPlayer);
    QCOMPARE(f.step(), QStringList());
    const QString record = emulator::baseRecordPath(f.program);
    const QString copy = emulator::baseCopyPath(f.program);
    if (damage == u"no record" || damage == u"neither")
        QVERIFY(QFile::remove(record));
    if (damage == u"no copy" || damage == u"neither")
        QVERIFY(QFile::remove(copy));
    const QString secret = f.dir.path() + QStringLiteral("/secret.ini");
    if (damage == u"elsewhere") {
        f.write(secret, "[ Global ]\nSecret = 1\n");
        f.write(record, secret.toUtf8() + "\n1\n1\n");
        f.write(copy, "[ Global ]\n"); // as if all of it were new since
    }
    const QByteArray changed = QByteArray(kPlayer).replace("WideScreen = 0", "WideScreen = 1");
    f.write(f.player, changed);

    const QStringList lines = f.step();
    if (told.isEmpty()) {
        QCOMPARE(lines, QStringList());
    } else {
        QCOMPARE(lines.size(), 1);
        QVERIFY2(
            lines[0].startsWith(QStringLiteral("Your settings in %1 were not carried into %2: ")
                                    .arg(f.player, f.working)) &&
                lines[0].contains(QString(told)
                                      .replace(QStringLiteral("{record}"), record)
                                      .replace(QStringLiteral("{copy}"), copy)),
            qPrintable(lines[0]));
    }
    QCOMPARE(Folders::read(f.working), carried ? changed : kPlayer);
    // From now on the player's file is followed again.
    f.write(f.player, QByteArray(changed).replace("KEY_A", "KEY_B"));
    QCOMPARE(f.step(), QStringList());
    QCOMPARE(Folders::read(f.working),
             QByteArray(carried ? changed : kPlayer).replace("KEY_A", "KEY_B"));
}

void TestPlayerConfig::aResultOverTheLimitIsNotWritten() {
    Folders f;
    f.write(f.player, kPlayer);
    QCOMPARE(f.step(), QStringList());
    // The working copy just within the limit, then a setting carried into it.
    const QByteArray full =
        kPlayer + "; " + QByteArray(emulator::kConfigFileLimit - kPlayer.size() - 3, 'x') + '\n';
    f.write(f.working, full);
    f.write(f.player, kPlayer + "Supersampling = 8\n");
    const QStringList refused{
        QStringLiteral("Your settings in %1 were not carried into %2: with them it would be "
                       "larger than 16 MiB")
            .arg(f.player, f.working)};
    QCOMPARE(f.step(), refused);
    QCOMPARE(Folders::read(f.working), full);
    // The base stayed: once there is room, the same change is carried.
    f.write(f.working, kPlayer);
    QCOMPARE(f.step(), QStringList());
    QCOMPARE(Folders::read(f.working), kPlayer + "Supersampling = 8\n");
}

void TestPlayerConfig::aSaveAtTheSameMomentLosesNothing() {
    // The merge before a start and a Save of the working copy (a second
    // front-end on this folder), let go at the same instant in two
    // processes, round after round: the carried setting lands, or is carried
    // at the next start, and the saved binding stays.
    Folders f;
    // A file of some size, so that each side takes a moment.
    QByteArray padding;
    for (int i = 0; i < 20000; ++i)
        padding += "Padding" + QByteArray::number(i) + " = " + QByteArray::number(i) + '\n';
    f.write(f.player, kPlayer + "Carried = 0\n" + padding);
    QCOMPARE(f.step(), QStringList());
    for (int round = 1; round <= 12; ++round) {
        const QByteArray carried = "Carried = " + QByteArray::number(round) + '\n';
        const QString key = QStringLiteral("KEY_%1").arg(round);
        f.write(f.player, kPlayer + carried + padding);
        int go[2];
        QVERIFY(::pipe(go) == 0);
        const auto inChild = [&](const std::function<void()>& work) {
            const pid_t pid = ::fork();
            if (pid == 0) {
                ::close(go[1]);
                char byte;
                (void)::read(go[0], &byte, 1);
                ::alarm(20);
                work();
                ::_exit(0);
            }
            return pid;
        };
        const pid_t merging = inChild([&] { f.step(); });
        const pid_t saving = inChild([&] {
            emulator::saveConfigEdit(f.working, {}, [&](emulator::ConfigDocument& document) {
                document.set(emulator::ConfigDocument::kGlobal, "InputStart1", key.toUtf8());
            });
        });
        ::close(go[0]);
        ::close(go[1]);
        int status = 0;
        QVERIFY(::waitpid(merging, &status, 0) == merging && WIFEXITED(status));
        QVERIFY(::waitpid(saving, &status, 0) == saving && WIFEXITED(status));
        f.step(); // the next start
        const QByteArray working = Folders::read(f.working);
        QVERIFY2(working.contains(carried), qPrintable(QStringLiteral("round %1").arg(round)));
        QVERIFY2(working.contains("InputStart1 = \"" + key.toUtf8() + '"') ||
                     working.contains("InputStart1 = " + key.toUtf8()),
                 qPrintable(QStringLiteral("round %1").arg(round)));
    }
}

QTEST_APPLESS_MAIN(TestPlayerConfig)
#include "test_player_config.moc"
