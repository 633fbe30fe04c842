#include "emulator/EmulatorFiles.h"
#include "support/FullDisk.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Folders described by lines, all relative to one temporary root; "front/" is
// the program folder:
//   "a/b=text@age"  a file (age in seconds, default 100);
//   "a/b=%17"       a sparse file of 17 MiB;
//   "a/b/"          a folder;
//   "a/b->c/d"      a link to c/d under the root (to "/x" when absolute).
// The checks afterwards use the same forms, plus "a/b!": nothing there.
struct Tree {
    QTemporaryDir dir;
    QString root = dir.path() + u'/';

    void make(const QString& line) const {
        if (line.contains(QLatin1String("->"))) {
            const QString link = root + line.section(QLatin1String("->"), 0, 0);
            const QString to = line.section(QLatin1String("->"), 1);
            QDir().mkpath(QFileInfo(link).absolutePath());
            QVERIFY(QFile::link(to.startsWith(u'/') ? to : root + to, link));
        } else if (line.endsWith(u'/')) {
            QVERIFY(QDir().mkpath(root + line));
        } else {
            const QString path = root + line.section(u'=', 0, 0);
            const QString value = line.section(u'=', 1);
            QDir().mkpath(QFileInfo(path).absolutePath());
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            if (value.startsWith(u'%')) {
                QVERIFY(file.resize(value.mid(1).toLongLong() << 20));
                return;
            }
            file.write(value.section(u'@', 0, 0).toUtf8());
            QVERIFY(file.flush()); // a later write would set the time again
            const int age = value.contains(u'@') ? value.section(u'@', 1).toInt() : 100;
            QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-age),
                                     QFileDevice::FileModificationTime));
        }
    }

    void check(const QString& line) const {
        if (line.endsWith(u'!')) {
            QVERIFY2(!QFileInfo(root + line.chopped(1)).isSymLink() &&
                         !QFileInfo::exists(root + line.chopped(1)),
                     qPrintable(line));
        } else if (line.contains(QLatin1String("->"))) {
            const QFileInfo link(root + line.section(QLatin1String("->"), 0, 0));
            QVERIFY2(link.isSymLink(), qPrintable(line));
            QCOMPARE(link.symLinkTarget(),
                     QDir::cleanPath(root + line.section(QLatin1String("->"), 1)));
        } else if (line.endsWith(u'/')) {
            const QFileInfo folder(root + line);
            QVERIFY2(folder.isDir() && !folder.isSymLink(), qPrintable(line));
        } else {
            const QFileInfo info(root + line.section(u'=', 0, 0));
            QVERIFY2(info.isFile() && !info.isSymLink(), qPrintable(line));
            QFile file(info.filePath());
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(QString::fromUtf8(file.readAll()), line.section(u'=', 1));
        }
    }
};

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
    void fullDiskIsReported();
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
    QTest::newRow("only bin looks above")
        << "src/other/" << QStringList{"src/other/supermodel=x", "src/Config/Games.xml=G"}
        << QStringList{"front/Config/Games.xml!"} << none;
    QTest::newRow("no installation files: nothing to do")
        << "emu/" << QStringList{"emu/supermodel=x", "emu/Config/Games.xml/"}
        << QStringList{"front/Config/Games.xml!", "front/Assets!"} << none;
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
        << kAllCopied + QStringList{"front/Assets/", "elsewhere/x=1", "elsewhere/p1.bmp!"}
        << none;
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

void TestEmulatorFiles::fullDiskIsReported() {
    Tree t;
    for (const QString& line : kInstallation)
        t.make(line);
    FullDisk disk;
    MOUNT_FULL_DISK(disk, t.root + QStringLiteral("front"));
    disk.fill();
    const auto failure = emulator::bringEmulatorFiles(t.root + QStringLiteral("emu"),
                                                      t.root + QStringLiteral("front"));
    QVERIFY(failure);
    QVERIFY2(failure->endsWith(QStringLiteral(": ") + QString::fromLocal8Bit(strerror(ENOSPC))),
             qPrintable(*failure));
    // No half-written file stays behind, under its name or another.
    const QStringList left = QDir(t.root + QStringLiteral("front/Config")).entryList(QDir::Files);
    QCOMPARE(left, QStringList());
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
