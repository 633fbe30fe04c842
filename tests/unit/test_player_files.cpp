#include "emulator/PlayerFiles.h"
#include "support/FileTree.h"

#include <QTest>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

// The player's data folders in the tests: the installation "emu/" (a release
// folder when it has Config/), the home "home/", and the data home "xdg/".
class TestPlayerFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void found_data();
    void found();
    void copy_data();
    void copy();
    void unreadableSourceIsLeftBehind();
};

void TestPlayerFiles::found_data() {
    QTest::addColumn<QString>("emulator"); // under the root
    QTest::addColumn<QString>("xdg");      // as the environment gives it; "@" the root
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("found"); // under the root; empty: nowhere

    const QString release = QStringLiteral("emu/Config/Games.xml=G");
    QTest::newRow("installation folder first")
        << "emu/"
        << "@xdg" << QStringList{release, "emu/NVRAM/scud.nv=I", "home/.supermodel/NVRAM/scud.nv=H"}
        << "emu/NVRAM/scud.nv";
    QTest::newRow("an empty NVRAM/ there hides nothing at home")
        << "emu/"
        << "" << QStringList{release, "emu/NVRAM/", "home/.local/share/supermodel/NVRAM/scud.nv=H"}
        << "home/.local/share/supermodel/NVRAM/scud.nv";
    QTest::newRow("the folder above bin")
        << "src/bin/"
        << "" << QStringList{"src/Config/Games.xml=G", "src/NVRAM/scud.nv=S"}
        << "src/NVRAM/scud.nv";
    QTest::newRow("an installation without Config/ is no data folder")
        << "emu/"
        << "" << QStringList{"emu/Assets/p1.bmp=A", "emu/NVRAM/scud.nv=I"} << "";
    QTest::newRow("~/.supermodel before the data home")
        << "emu/"
        << "@xdg"
        << QStringList{"home/.supermodel/NVRAM/scud.nv=H", "xdg/supermodel/NVRAM/scud.nv=X"}
        << "home/.supermodel/NVRAM/scud.nv";
    QTest::newRow("an absolute XDG_DATA_HOME replaces ~/.local/share")
        << "emu/"
        << "@xdg"
        << QStringList{"home/.local/share/supermodel/NVRAM/scud.nv=L",
                       "xdg/supermodel/NVRAM/scud.nv=X"}
        << "xdg/supermodel/NVRAM/scud.nv";
    QTest::newRow("a relative XDG_DATA_HOME is ignored")
        << "emu/"
        << "xdg"
        << QStringList{"home/.local/share/supermodel/NVRAM/scud.nv=L",
                       "xdg/supermodel/NVRAM/scud.nv=X"}
        << "home/.local/share/supermodel/NVRAM/scud.nv";
    QTest::newRow("a link counts as there")
        << "emu/"
        << "" << QStringList{"home/.supermodel/NVRAM/scud.nv->x", "xdg/supermodel/NVRAM/scud.nv=X"}
        << "home/.supermodel/NVRAM/scud.nv";
    QTest::newRow("nothing anywhere")
        << "emu/"
        << "@xdg" << QStringList{release, "home/.supermodel/NVRAM/", "xdg/"} << "";
}

void TestPlayerFiles::found() {
    QFETCH(QString, emulator);
    QFETCH(QString, xdg);
    QFETCH(QStringList, files);
    QFETCH(QString, found);

    Tree t;
    QVERIFY(QDir::setCurrent(t.root)); // a relative XDG_DATA_HOME would find xdg/ here
    for (const QString& line : files)
        t.make(line);
    const QStringList folders = emulator::playerDataFolders(
        t.root + emulator, t.root + QStringLiteral("home"), QString(xdg).replace(u'@', t.root));
    QCOMPARE(emulator::findPlayerFile(folders, QStringLiteral("NVRAM/scud.nv")),
             found.isEmpty() ? QString() : QDir::cleanPath(t.root + found));
}

void TestPlayerFiles::copy_data() {
    QTest::addColumn<QString>("set");
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QStringList>("problems"); // "@" stands for the root

    const QString shut = QStringLiteral("Not brought in: @home/.supermodel/");
    QTest::newRow("missing here: copied, the source kept")
        << "scud"
        << QStringList{"home/.supermodel/NVRAM/scud.nv=N@300", "home/.supermodel/Saves/scud.st0=0",
                       "home/.supermodel/Saves/scud.st9=9", "home/.supermodel/Saves/vf3.st0=v"}
        << QStringList{"front/NVRAM/scud.nv=N", "front/Saves/scud.st0=0", "front/Saves/scud.st9=9",
                       "front/Saves/vf3.st0!", "home/.supermodel/NVRAM/scud.nv=N"}
        << QStringList{};
    QTest::newRow("present in both: kept, however old")
        << "scud"
        << QStringList{"home/.supermodel/NVRAM/scud.nv=new@1", "front/NVRAM/scud.nv=old@9000"}
        << QStringList{"front/NVRAM/scud.nv=old"} << QStringList{};
    QTest::newRow("a link in the player's folder: left alone")
        << "scud" << QStringList{"elsewhere=E", "home/.supermodel/NVRAM/scud.nv->elsewhere"}
        << QStringList{"front/NVRAM/scud.nv!"}
        << QStringList{shut + "NVRAM/scud.nv to @front/NVRAM/scud.nv: a link, left alone"};
    QTest::newRow("a link here: left alone, nothing written through it")
        << "scud"
        << QStringList{"home/.supermodel/NVRAM/scud.nv=N", "front/NVRAM/scud.nv->nowhere/x",
                       "nowhere/"}
        << QStringList{"front/NVRAM/scud.nv->nowhere/x", "nowhere/x!"}
        << QStringList{shut +
                       "NVRAM/scud.nv to @front/NVRAM/scud.nv: a link is in its place, left alone"};
    QTest::newRow("a link here to the player's own file: nothing to say")
        << "scud"
        << QStringList{"home/.supermodel/NVRAM/scud.nv=N",
                       "front/NVRAM/scud.nv->home/.supermodel/NVRAM/scud.nv"}
        << QStringList{"front/NVRAM/scud.nv->home/.supermodel/NVRAM/scud.nv"} << QStringList{};
    QTest::newRow("a linked NVRAM/ leading elsewhere: not written through")
        << "scud"
        << QStringList{"home/.supermodel/NVRAM/scud.nv=N", "elsewhere/", "front/NVRAM->elsewhere"}
        << QStringList{"elsewhere/scud.nv!"}
        << QStringList{shut + "NVRAM/scud.nv to @front/NVRAM/scud.nv: the folder in the program "
                              "folder is a link or a file"};
    QTest::newRow("65 MiB: left out")
        << "scud"
        << QStringList{"home/.supermodel/Saves/scud.st1=%65", "home/.supermodel/Saves/scud.st2=2"}
        << QStringList{"front/Saves/scud.st1!", "front/Saves/scud.st2=2"}
        << QStringList{shut + "Saves/scud.st1 to @front/Saves/scud.st1: more than 64 MiB"};
    QTest::newRow("save states past the ten: named, not copied")
        << "scud"
        << QStringList{"home/.supermodel/Saves/scud.st10=x", "home/.supermodel/Saves/scud.st1x=y"}
        << QStringList{"front/Saves/scud.st10!"}
        << QStringList{shut + "Saves/scud.st10: the emulator reads save states 0 to 9 only"};
    QTest::newRow("a set that cannot name a file: nothing looked at")
        << "../scud" << QStringList{"home/.supermodel/scud.nv=x"} << QStringList{"front/scud.nv!"}
        << QStringList{};
}

void TestPlayerFiles::copy() {
    QFETCH(QString, set);
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    QFETCH(QStringList, problems);

    Tree t;
    QVERIFY(QDir().mkpath(t.root + QStringLiteral("front")));
    for (const QString& line : before)
        t.make(line);
    const QStringList folders{t.root + QStringLiteral("home/.supermodel/")};
    const QStringList told =
        emulator::bringPlayerFiles(folders, t.root + QStringLiteral("front/"), set);
    QStringList expected;
    for (const QString& line : problems)
        expected.append(QString(line).replace(u'@', t.root));
    QCOMPARE(told, expected);
    for (const QString& line : after)
        t.check(line);
    // The source is only read, and each copy has its time.
    for (const QString& line : before) {
        if (!line.startsWith(QLatin1String("home/")) || !line.contains(u'=') || line.contains(u'%'))
            continue;
        const QString relative = line.section(u'=', 0, 0);
        t.check(line.section(u'@', 0, 0));
        const QFileInfo copy(t.root + QStringLiteral("front/") + relative.section(u'/', 2));
        QFile copied(copy.filePath());
        if (!copy.isSymLink() && copied.open(QIODevice::ReadOnly) &&
            copied.readAll() == line.section(u'=', 1).section(u'@', 0, 0).toUtf8())
            QCOMPARE(copy.lastModified(), QFileInfo(t.root + relative).lastModified());
    }
}

void TestPlayerFiles::unreadableSourceIsLeftBehind() {
    Tree t;
    t.make(QStringLiteral("home/.supermodel/NVRAM/scud.nv=N"));
    t.make(QStringLiteral("home/.supermodel/Saves/scud.st0=0"));
    QVERIFY(QDir().mkpath(t.root + QStringLiteral("front")));
    const QString nv = t.root + QStringLiteral("home/.supermodel/NVRAM/scud.nv");
    QVERIFY(::chmod(QFile::encodeName(nv).constData(), 0) == 0);
    // Root reads everything: the copy runs as nobody, who may write here.
    for (const char* folder : {"", "front"})
        QVERIFY(::chmod(QFile::encodeName(t.root + QLatin1String(folder)).constData(), 0777) == 0);
    const bool root = ::geteuid() == 0;
    if (root)
        QVERIFY(::seteuid(65534) == 0);
    const QStringList told =
        emulator::bringPlayerFiles(QStringList{t.root + QStringLiteral("home/.supermodel/")},
                                   t.root + QStringLiteral("front/"), QStringLiteral("scud"));
    if (root)
        QVERIFY(::seteuid(0) == 0);
    QCOMPARE(told, QStringList{QStringLiteral("Not brought in: %1 to %2front/NVRAM/scud.nv: %3")
                                   .arg(nv, t.root, QString::fromLocal8Bit(strerror(EACCES)))});
    t.check(QStringLiteral("front/NVRAM/scud.nv!"));
    t.check(QStringLiteral("front/Saves/scud.st0=0")); // the rest still comes
}

QTEST_APPLESS_MAIN(TestPlayerFiles)
#include "test_player_files.moc"
