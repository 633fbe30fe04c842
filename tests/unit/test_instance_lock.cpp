// Only one copy runs: the lock is per program file, survives nothing but a
// living owner, and can be taken over from a copy that crashed.

#include "platform/InstanceLock.h"

#include <QDir>
#include <QFile>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

using Outcome = platform::InstanceLock::Outcome;

class InstanceLockTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void secondCopyOfTheSameProgramIsRefused();
    void otherProgramFilesDoNotCollide();
    void lockOfACrashedCopyIsTakenOver();
    void lockLivesOutsideTheProgramFolder();
    void withoutATemporaryFolder_data();
    void withoutATemporaryFolder();

    void cleanup();

private:
    QByteArray m_tmpdir = qgetenv("TMPDIR");
    QByteArray m_runtime = qgetenv("XDG_RUNTIME_DIR");
};

void InstanceLockTest::cleanup() {
    qputenv("TMPDIR", m_tmpdir);
    qputenv("XDG_RUNTIME_DIR", m_runtime);
}

void InstanceLockTest::secondCopyOfTheSameProgramIsRefused() {
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("kestrun"));
    platform::InstanceLock first(program);
    platform::InstanceLock second(program);
    QCOMPARE(first.acquire(), Outcome::Acquired);
    QCOMPARE(second.acquire(), Outcome::RunningElsewhere);
    first.release();
    QCOMPARE(second.acquire(), Outcome::Acquired);
    second.release();
}

void InstanceLockTest::otherProgramFilesDoNotCollide() {
    QTemporaryDir a;
    QTemporaryDir b;
    platform::InstanceLock one(a.filePath(QStringLiteral("kestrun")));
    platform::InstanceLock two(b.filePath(QStringLiteral("kestrun")));
    QVERIFY(one.lockPath() != two.lockPath());
    QCOMPARE(one.acquire(), Outcome::Acquired);
    QCOMPARE(two.acquire(), Outcome::Acquired);
}

void InstanceLockTest::lockOfACrashedCopyIsTakenOver() {
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("kestrun"));
    platform::InstanceLock lock(program);
    {
        // What a killed copy leaves behind: its lock file naming a process
        // that no longer exists.
        QFile stale(lock.lockPath());
        QVERIFY(stale.open(QIODevice::WriteOnly | QIODevice::Truncate));
        stale.write("2147483646\nkestrun\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    }
    QCOMPARE(lock.acquire(), Outcome::Acquired);
    lock.release();
    QVERIFY(!QFile::exists(lock.lockPath()));
}

void InstanceLockTest::lockLivesOutsideTheProgramFolder() {
    QTemporaryDir dir;
    platform::InstanceLock lock(dir.filePath(QStringLiteral("kestrun")));
    QVERIFY(!lock.lockPath().startsWith(dir.path()));
}

void InstanceLockTest::withoutATemporaryFolder_data() {
    QTest::addColumn<QString>("temporary");
    QTest::addColumn<QString>("runtime");
    QTest::addColumn<bool>("guarded");

    QTest::newRow("missing, runtime folder usable") << "missing"
                                                    << "folder" << true;
    QTest::newRow("a file, runtime folder usable") << "file"
                                                   << "folder" << true;
    QTest::newRow("missing, runtime folder missing") << "missing"
                                                     << "missing" << false;
    QTest::newRow("missing, no runtime folder set") << "missing"
                                                    << "" << false;
    QTest::newRow("a file, runtime folder a file") << "file"
                                                   << "file" << false;
}

void InstanceLockTest::withoutATemporaryFolder() {
    QFETCH(QString, temporary);
    QFETCH(QString, runtime);
    QFETCH(bool, guarded);
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("plain file")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    const QString runtimeFolder = dir.filePath(QStringLiteral("runtime"));
    QVERIFY(QDir().mkdir(runtimeFolder));
    const auto place = [&](const QString& kind) {
        if (kind == u"missing")
            return dir.filePath(QStringLiteral("missing"));
        return kind == u"file" ? file.fileName() : runtimeFolder;
    };
    qputenv("TMPDIR", QFile::encodeName(place(temporary)));
    if (runtime.isEmpty())
        qunsetenv("XDG_RUNTIME_DIR");
    else
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(place(runtime)));

    const QString program = dir.filePath(QStringLiteral("kestrun"));
    platform::InstanceLock first(program);
    platform::InstanceLock second(program);
    if (guarded) {
        QCOMPARE(first.acquire(), Outcome::Acquired);
        QVERIFY(first.lockPath().startsWith(runtimeFolder + u'/'));
        QVERIFY(QFile::exists(first.lockPath()));
        QCOMPARE(second.acquire(), Outcome::RunningElsewhere);
    } else {
        // Nowhere to keep a lock: every copy runs, none is told another runs.
        QCOMPARE(first.acquire(), Outcome::Unavailable);
        QCOMPARE(second.acquire(), Outcome::Unavailable);
        QCOMPARE(first.lockPath(), QString());
    }
}

QTEST_MAIN(InstanceLockTest)
#include "test_instance_lock.moc"
