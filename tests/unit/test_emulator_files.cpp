#include "emulator/EmulatorFiles.h"
#include "support/FileTree.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

const QStringList kInstallation{"emu/Config/Games.xml=G", "emu/Config/Music.xml=M",
                                "emu/Assets/p1.bmp=A", "emu/Assets/sub/p2.bmp=B"};
const QStringList kAllCopied{"front/Config/Games.xml=G", "front/Config/Music.xml=M",
                             "front/Assets/p1.bmp=A", "front/Assets/sub/p2.bmp=B"};

} // namespace

class TestEmulatorFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void brings_data();
    void brings();
    void sameFolderIsNeverTouched();
    void unreadableSourceIsReported();
};

void TestEmulatorFiles::brings_data() {
    QTest::addColumn<QString>("emulator"); // under the root
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QString>("error"); // "@" stands for the root; empty: none

    const QString none;
    QTest::newRow("fresh copy") << "emu/" << kInstallation << kAllCopied << none;
    QTest::newRow("newer source replaces an older copy")
        << "emu/"
        << kInstallation +
               QStringList{"front/Config/Games.xml=old@500", "front/Assets/p1.bmp=old@500"}
        << kAllCopied << none;
    QTest::newRow("older source keeps a newer copy")
        << "emu/"
        << kInstallation +
               QStringList{"front/Config/Games.xml=mine@5", "front/Assets/p1.bmp=mine@5"}
        << QStringList{"front/Config/Games.xml=mine", "front/Assets/p1.bmp=mine",
                       "front/Assets/sub/p2.bmp=B"}
        << none;
    QTest::newRow("the user's own files are never replaced")
        << "emu/"
        << kInstallation + QStringList{"emu/Config/Supermodel.ini=E@1", "emu/NVRAM/vf3.nv=E@1",
                                       "front/Config/Supermodel.ini=U@500", "front/NVRAM/"}
        << kAllCopied + QStringList{"front/Config/Supermodel.ini=U", "front/NVRAM/vf3.nv!"} << none;
    QTest::newRow("source build in bin")
        << "src/bin/"
        << QStringList{"src/bin/supermodel=x", "src/Config/Games.xml=G", "src/Assets/p1.bmp=A"}
        << QStringList{"front/Config/Games.xml=G", "front/Assets/p1.bmp=A",
                       "front/Config/Music.xml!"}
        << none;
    QTest::newRow("installed into a prefix")
        << "usr/bin/"
        << QStringList{"usr/bin/supermodel=x", "usr/share/supermodel/Config/Games.xml=G",
                       "usr/share/supermodel/Assets/p1.bmp=A"}
        << QStringList{"front/Config/Games.xml=G", "front/Assets/p1.bmp=A"} << none;
    QTest::newRow("a source build's own files come before a prefix's")
        << "src/bin/"
        << QStringList{"src/Config/Games.xml=G", "src/share/supermodel/Config/Games.xml=P"}
        << QStringList{"front/Config/Games.xml=G"} << none;
    QTest::newRow("only bin looks above")
        << "src/other/" << QStringList{"src/other/supermodel=x", "src/Config/Games.xml=G"}
        << QStringList{"front/Config/Games.xml!"} << none;
    QTest::newRow("no installation files: nothing to do")
        << "emu/" << QStringList{"emu/supermodel=x", "emu/Config/"}
        << QStringList{"front/Config/Games.xml!", "front/Assets!"} << none;
    // Anything but an ordinary file (a folder for Assets) is told, not passed over.
    const QString notAFile = "Cannot copy @emu/Config/Games.xml to @front/Config/Games.xml: it is ";
    QTest::newRow("a folder as Games.xml")
        << "emu/" << QStringList{"emu/Config/Games.xml/"} << QStringList{"front/Config/Games.xml!"}
        << notAFile + "a folder, not an ordinary file";
    QTest::newRow("a pipe as Games.xml")
        << "emu/" << QStringList{"emu/Config/Games.xml|pipe", "emu/Assets/p1.bmp=A"}
        << QStringList{"front/Config/Games.xml!", "front/Assets!"}
        << notAFile + "a named pipe, not an ordinary file";
    QTest::newRow("a link to a device as Games.xml")
        << "emu/" << QStringList{"dev|device", "emu/Config/Games.xml->dev"}
        << QStringList{"front/Config/Games.xml!"} << notAFile + "a device, not an ordinary file";
    QTest::newRow("a dangling link as Games.xml")
        << "emu/" << QStringList{"emu/Config/Games.xml->nowhere"}
        << QStringList{"front/Config/Games.xml!"}
        << notAFile + "a link that leads nowhere, not an ordinary file";
    QTest::newRow("a link to a pipe as Assets")
        << "emu/" << QStringList{"emu/Config/Games.xml=G", "pipe|pipe", "emu/Assets->pipe"}
        << QStringList{"front/Config/Games.xml=G", "front/Assets!"}
        << "Cannot copy @emu/Assets to @front/Assets: it is a named pipe, not a folder";
    QTest::newRow("a file as Assets")
        << "emu/" << QStringList{"emu/Config/Games.xml=G", "emu/Assets=x"}
        << QStringList{"front/Config/Games.xml=G", "front/Assets!"}
        << "Cannot copy @emu/Assets to @front/Assets: it is an ordinary file, not a folder";
    QTest::newRow("link to a file outside: replaced, its target untouched")
        << "emu/" << kInstallation + QStringList{"passwd=secret", "front/Config/Games.xml->passwd"}
        << kAllCopied + QStringList{"passwd=secret"} << none;
    QTest::newRow("dangling link: nothing made where it points")
        << "emu/" << kInstallation + QStringList{"front/Assets/p1.bmp->nowhere/p1.bmp", "nowhere/"}
        << kAllCopied + QStringList{"nowhere/p1.bmp!"} << none;
    QTest::newRow("link to the emulator's own file: left alone")
        << "emu/" << kInstallation + QStringList{"front/Config/Games.xml->emu/Config/Games.xml"}
        << QStringList{"front/Config/Games.xml->emu/Config/Games.xml", "front/Assets/p1.bmp=A"}
        << none;
    QTest::newRow("link to the emulator's own folder: left alone")
        << "emu/" << kInstallation + QStringList{"front/Assets->emu/Assets"}
        << QStringList{"front/Assets->emu/Assets", "front/Config/Games.xml=G"} << none;
    QTest::newRow("linked Assets leading elsewhere: replaced by a real folder")
        << "emu/" << kInstallation + QStringList{"elsewhere/x=1", "front/Assets->elsewhere"}
        << kAllCopied + QStringList{"front/Assets/", "elsewhere/x=1", "elsewhere/p1.bmp!"} << none;
    // Config holds the user's own files: never written through, never replaced.
    QTest::newRow("linked Config leading elsewhere: refused, left as it is")
        << "emu/"
        << kInstallation + QStringList{"elsewhere/Kestrun.ini=K", "front/Config->elsewhere"}
        << QStringList{"front/Config->elsewhere", "elsewhere/Kestrun.ini=K", "elsewhere/Games.xml!"}
        << "Cannot copy @emu/Config to @front/Config: a link leads out of the "
           "program folder";
    QTest::newRow("a folder in the place of a file")
        << "emu/" << kInstallation + QStringList{"front/Assets/sub/p2.bmp/"}
        << QStringList{"front/Assets/sub/p2.bmp/"}
        << "Cannot copy @emu/Assets/sub/p2.bmp to @front/Assets/sub/p2.bmp: a folder is in the "
           "place of the file";
    QTest::newRow("a file in the place of a folder")
        << "emu/" << kInstallation + QStringList{"front/Assets=x"} << QStringList{"front/Assets=x"}
        << "Cannot copy @emu/Assets to @front/Assets: a file is in the place of the folder";
    QTest::newRow("oversize Games.xml")
        << "emu/" << QStringList{"emu/Config/Games.xml=%17", "emu/Assets/p1.bmp=A"}
        << QStringList{"front/Config/Games.xml!", "front/Assets!"}
        << "Cannot copy @emu/Config/Games.xml to @front/Config/Games.xml: more than 16 MiB";
    QTest::newRow("oversize Assets, counted together")
        << "emu/"
        << QStringList{"emu/Config/Games.xml=G", "emu/Assets/a.bmp=%33", "emu/Assets/b.bmp=%33"}
        << QStringList{"front/Config/Games.xml=G", "front/Assets!"}
        << "Cannot copy @emu/Assets to @front/Assets: more than 64 MiB in all";
}

void TestEmulatorFiles::brings() {
    QFETCH(QString, emulator);
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    QFETCH(QString, error);

    if (before.join(u' ').contains(QLatin1String("|device")) && ::geteuid() != 0)
        QSKIP("making a device node needs root");
    Tree t;
    QVERIFY(QDir().mkpath(t.root + QStringLiteral("front")));
    for (const QString& line : before)
        t.make(line);
    const auto failure =
        emulator::bringEmulatorFiles(t.root + emulator, t.root + QStringLiteral("front/"));
    QCOMPARE(failure.value_or(QString()), QString(error).replace(u'@', t.root));
    for (const QString& line : after)
        t.check(line);
    // The emulator's side is only ever read.
    for (const QString& line : before) {
        if (!line.startsWith(QLatin1String("front/")) && line.contains(u'=') &&
            !line.contains(u'%'))
            t.check(line.section(u'@', 0, 0));
    }
}

void TestEmulatorFiles::sameFolderIsNeverTouched() {
    // The emulator sits in the program folder: its files are the copies.
    Tree t;
    t.make(QStringLiteral("front/Config/Games.xml=own"));
    t.make(QStringLiteral("front/Assets/p1.bmp=A"));
    const QString games = t.root + QStringLiteral("front/Config/Games.xml");
    const QDateTime before = QFileInfo(games).lastModified();
    QCOMPARE(emulator::bringEmulatorFiles(t.root + QStringLiteral("front/"),
                                          t.root + QStringLiteral("front/./")),
             std::nullopt);
    t.check(QStringLiteral("front/Config/Games.xml=own"));
    QCOMPARE(QFileInfo(games).lastModified(), before);
    QCOMPARE(QDir(t.root + QStringLiteral("front/Config"))
                 .entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList{"Games.xml"});
}

void TestEmulatorFiles::unreadableSourceIsReported() {
    // Permissions stop nobody running as root (as in CI): reading this
    // process's memory at address 0 fails for everyone.
    Tree t;
    t.make(QStringLiteral("emu/Config/Games.xml->/proc/self/mem"));
    t.make(QStringLiteral("front/"));
    const auto failure = emulator::bringEmulatorFiles(t.root + QStringLiteral("emu/"),
                                                      t.root + QStringLiteral("front/"));
    QCOMPARE(failure.value_or(QString()),
             QStringLiteral("Cannot copy %1emu/Config/Games.xml to %1front/Config/Games.xml: %2")
                 .arg(t.root, QString::fromLocal8Bit(strerror(EIO))));
    t.check(QStringLiteral("front/Config/Games.xml!"));
}

QTEST_APPLESS_MAIN(TestEmulatorFiles)
#include "test_emulator_files.moc"
