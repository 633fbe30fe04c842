#include "support/DefaultInputFile.h"

#include "emulator/PlayerConfig.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

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
    void anOlderWorkingCopyStartsFromThePlayersFileAsItIs();
    void anEarlierVersionsCopyIsNoPlayersFile();
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

QTEST_APPLESS_MAIN(TestPlayerConfig)
#include "test_player_config.moc"
