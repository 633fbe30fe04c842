// Only one copy runs: the lock is per program file and per program folder,
// survives nothing but a living owner, and can be taken over from a copy
// that crashed.

#include "platform/InstanceLock.h"
#include "support/ReadOnlyFolder.h"

#include <QDir>
#include <QFile>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <optional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using Outcome = platform::InstanceLock::Outcome;

class InstanceLockTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void secondCopyOfTheSameProgramIsRefused();
    void otherProgramFilesDoNotCollide();
    void lockOfACrashedCopyIsTakenOver();
    void lockLivesOutsideTheProgramFolder();
    void copiesOfOneFolderMeet_data();
    void copiesOfOneFolderMeet();
    void withoutATemporaryFolder_data();
    void withoutATemporaryFolder();
    void anotherUsersFileIsNeverThisUsersCopy_data();
    void anotherUsersFileIsNeverThisUsersCopy();
    void copiesWithAndWithoutARuntimeFolderSeeEachOther_data();
    void copiesWithAndWithoutARuntimeFolderSeeEachOther();
    void copiesStartedAtTheSameInstant();

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

void InstanceLockTest::copiesOfOneFolderMeet_data() {
    QTest::addColumn<QString>("second");          // the second copy's program file
    QTest::addColumn<QString>("secondTemporary"); // and its temporary folder
    QTest::newRow("another temporary folder") << "kestrun"
                                              << "other";
    QTest::newRow("a copied program file") << "kestrun-copy"
                                           << "same";
    QTest::newRow("both") << "kestrun-copy"
                          << "other";
}

void InstanceLockTest::copiesOfOneFolderMeet() {
    QFETCH(QString, second);
    QFETCH(QString, secondTemporary);
    QTemporaryDir dir;
    QTemporaryDir temporary;
    QTemporaryDir other;
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", QFile::encodeName(temporary.path()));
    platform::InstanceLock first(dir.filePath(QStringLiteral("kestrun")));
    platform::InstanceLock copy(dir.filePath(second));
    QCOMPARE(first.acquire(), Outcome::Acquired);
    // An ordinary hidden file in the program folder, gone with its owner.
    const QString inFolder = dir.filePath(QStringLiteral(".kestrun-lock-instance"));
    QVERIFY(QFileInfo(inFolder).isFile());
    if (secondTemporary == u"other")
        qputenv("TMPDIR", QFile::encodeName(other.path()));
    QCOMPARE(copy.acquire(), Outcome::RunningElsewhere);
    first.release();
    QVERIFY(!QFileInfo::exists(inFolder));
    QCOMPARE(copy.acquire(), Outcome::Acquired);
}

void InstanceLockTest::withoutATemporaryFolder_data() {
    QTest::addColumn<QString>("temporary");
    QTest::addColumn<QString>("runtime");
    QTest::addColumn<bool>("programFolderWritable");
    QTest::addColumn<QString>("guardedIn"); // the folder of the first lock, or none

    QTest::newRow("missing, runtime folder usable") << "missing"
                                                    << "folder" << false << "runtime";
    QTest::newRow("a file, runtime folder usable") << "file"
                                                   << "folder" << false << "runtime";
    QTest::newRow("missing, runtime folder missing: the program folder")
        << "missing"
        << "missing" << true << "program";
    QTest::newRow("missing, runtime folder missing") << "missing"
                                                     << "missing" << false << "";
    QTest::newRow("missing, no runtime folder set") << "missing"
                                                    << "" << false << "";
    QTest::newRow("a file, runtime folder a file") << "file"
                                                   << "file" << false << "";
}

void InstanceLockTest::withoutATemporaryFolder() {
    QFETCH(QString, temporary);
    QFETCH(QString, runtime);
    QFETCH(bool, programFolderWritable);
    QFETCH(QString, guardedIn);
    QTemporaryDir dir;
    const QString programFolder = dir.filePath(QStringLiteral("program"));
    QVERIFY(QDir().mkdir(programFolder));
    std::optional<ReadOnlyFolder> readOnly;
    if (!programFolderWritable) {
        readOnly.emplace(programFolder);
        if (!readOnly->works())
            QSKIP("no folder can be made read-only here");
    }
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

    const QString program = programFolder + QStringLiteral("/kestrun");
    platform::InstanceLock first(program);
    platform::InstanceLock second(program);
    if (!guardedIn.isEmpty()) {
        QCOMPARE(first.acquire(), Outcome::Acquired);
        QVERIFY(first.lockPath().startsWith(
            (guardedIn == u"runtime" ? runtimeFolder : programFolder) + u'/'));
        QVERIFY(QFile::exists(first.lockPath()));
        QCOMPARE(second.acquire(), Outcome::RunningElsewhere);
    } else {
        // Nowhere to keep a lock: every copy runs, none is told another runs.
        QCOMPARE(first.acquire(), Outcome::Unavailable);
        QCOMPARE(second.acquire(), Outcome::Unavailable);
        QVERIFY(!QFileInfo::exists(first.lockPath()));
    }
}

void InstanceLockTest::anotherUsersFileIsNeverThisUsersCopy_data() {
    QTest::addColumn<QByteArray>("content"); // of the other user's file
    QTest::addColumn<bool>("inRuntimeFolder");
    const QByteArray host = QSysInfo::machineHostName().toUtf8();
    QTest::newRow("naming a live process")
        << QByteArray::number(::getpid()) + '\n' + QCoreApplication::applicationName().toUtf8() +
               '\n' + host + '\n'
        << false;
    QTest::newRow("naming a dead process") << "2147483646\nkestrun\n" + host + "\n" << false;
    QTest::newRow("not a lock") << QByteArray("junk") << false;
    QTest::newRow("the runtime folder itself") << QByteArray() << true;
}

void InstanceLockTest::anotherUsersFileIsNeverThisUsersCopy() {
    QFETCH(QByteArray, content);
    QFETCH(bool, inRuntimeFolder);
    if (::geteuid() != 0)
        QSKIP("making a file that another user owns needs root");
    constexpr uid_t nobody = 65534;
    QTemporaryDir temp;
    QTemporaryDir runtime;
    QVERIFY(::chmod(QFile::encodeName(temp.path()).constData(), 01777) == 0);
    qputenv("TMPDIR", QFile::encodeName(temp.path()));
    const QString program = temp.filePath(QStringLiteral("kestrun"));
    QString theirs;
    if (inRuntimeFolder) {
        // A runtime folder that is not the user's own is not used at all.
        QVERIFY(::chown(QFile::encodeName(runtime.path()).constData(), nobody, nobody) == 0);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    } else {
        qunsetenv("XDG_RUNTIME_DIR");
        theirs = platform::InstanceLock(program).lockPath();
        QFile file(theirs);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        QVERIFY(::chown(QFile::encodeName(theirs).constData(), nobody, nobody) == 0);
    }

    platform::InstanceLock first(program);
    platform::InstanceLock second(program);
    QCOMPARE(first.acquire(), Outcome::Acquired);
    QVERIFY(first.lockPath().startsWith(temp.path() + u'/'));
    QVERIFY(first.lockPath() != theirs);
    // This user's copies still see each other.
    QCOMPARE(second.acquire(), Outcome::RunningElsewhere);
    first.release();
    if (!theirs.isEmpty()) {
        QFile file(theirs);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), content);
        QCOMPARE(QFileInfo(theirs).ownerId(), nobody);
    }
}

void InstanceLockTest::copiesWithAndWithoutARuntimeFolderSeeEachOther_data() {
    QTest::addColumn<bool>("firstHasRuntime");
    QTest::newRow("desktop copy first") << true;
    QTest::newRow("copy without a runtime folder first") << false;
}

void InstanceLockTest::copiesWithAndWithoutARuntimeFolderSeeEachOther() {
    QFETCH(bool, firstHasRuntime);
    QTemporaryDir temp;
    QTemporaryDir runtime;
    qputenv("TMPDIR", QFile::encodeName(temp.path()));
    const auto environment = [&runtime](bool hasRuntime) {
        if (hasRuntime)
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        else
            qunsetenv("XDG_RUNTIME_DIR");
    };
    const QString program = temp.filePath(QStringLiteral("kestrun"));
    platform::InstanceLock first(program);
    platform::InstanceLock second(program);
    environment(firstHasRuntime);
    QCOMPARE(first.acquire(), Outcome::Acquired);
    environment(!firstHasRuntime);
    QCOMPARE(second.acquire(), Outcome::RunningElsewhere);
    // The runtime folder comes first when there is one.
    environment(true);
    QVERIFY(platform::InstanceLock(program).lockPath().startsWith(runtime.path() + u'/'));
    first.release();
    environment(!firstHasRuntime);
    QCOMPARE(second.acquire(), Outcome::Acquired);
}

void InstanceLockTest::copiesStartedAtTheSameInstant() {
    // Copies in separate processes, half of them with a runtime folder, all
    // let go at once: exactly one runs.
    QTemporaryDir temp;
    QTemporaryDir runtime;
    qputenv("TMPDIR", QFile::encodeName(temp.path()));
    const QString program = temp.filePath(QStringLiteral("kestrun"));
    constexpr int kCopies = 6;
    int go[2];
    int told[2];
    QVERIFY(::pipe(go) == 0 && ::pipe(told) == 0);
    QList<pid_t> copies;
    for (int i = 0; i < kCopies; ++i) {
        const pid_t pid = ::fork();
        QVERIFY(pid >= 0);
        if (pid == 0) {
            ::close(go[1]);
            if (i % 2 == 0)
                qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
            else
                qunsetenv("XDG_RUNTIME_DIR");
            platform::InstanceLock lock(program);
            char byte;
            (void)::read(go[0], &byte, 1); // returns when the parent closes it
            const char outcome = lock.acquire() == Outcome::Acquired ? 'A' : 'R';
            (void)::write(told[1], &outcome, 1);
            ::usleep(500 * 1000); // hold it while the others try
            ::_exit(0);
        }
        copies.append(pid);
    }
    ::close(go[0]);
    ::close(told[1]);
    ::close(go[1]);
    QByteArray outcomes;
    char byte;
    while (::read(told[0], &byte, 1) == 1)
        outcomes += byte;
    ::close(told[0]);
    for (const pid_t pid : copies)
        ::waitpid(pid, nullptr, 0);
    QCOMPARE(outcomes.size(), kCopies);
    QCOMPARE(outcomes.count('A'), 1);
}

QTEST_MAIN(InstanceLockTest)
#include "test_instance_lock.moc"
