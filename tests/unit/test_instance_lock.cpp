// Only one copy runs: the lock is per program file, survives nothing but a
// living owner, and can be taken over from a copy that crashed.

#include "platform/InstanceLock.h"

#include <QFile>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

class InstanceLockTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void secondCopyOfTheSameProgramIsRefused();
    void otherProgramFilesDoNotCollide();
    void lockOfACrashedCopyIsTakenOver();
    void lockLivesOutsideTheProgramFolder();
};

void InstanceLockTest::secondCopyOfTheSameProgramIsRefused() {
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("kestrun"));
    platform::InstanceLock first(program);
    platform::InstanceLock second(program);
    QVERIFY(first.acquire());
    QVERIFY(!second.acquire());
    first.release();
    QVERIFY(second.acquire());
    second.release();
}

void InstanceLockTest::otherProgramFilesDoNotCollide() {
    QTemporaryDir a;
    QTemporaryDir b;
    platform::InstanceLock one(a.filePath(QStringLiteral("kestrun")));
    platform::InstanceLock two(b.filePath(QStringLiteral("kestrun")));
    QVERIFY(one.lockPath() != two.lockPath());
    QVERIFY(one.acquire());
    QVERIFY(two.acquire());
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
    QVERIFY(lock.acquire());
    lock.release();
    QVERIFY(!QFile::exists(lock.lockPath()));
}

void InstanceLockTest::lockLivesOutsideTheProgramFolder() {
    QTemporaryDir dir;
    platform::InstanceLock lock(dir.filePath(QStringLiteral("kestrun")));
    QVERIFY(!lock.lockPath().startsWith(dir.path()));
}

QTEST_MAIN(InstanceLockTest)
#include "test_instance_lock.moc"
