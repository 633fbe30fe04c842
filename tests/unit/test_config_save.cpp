// Saving the emulator's shared configuration file: under a lock that copies
// of the front-end in other processes take too, on the file as it is then,
// only ever over an ordinary file, and without leftovers.

#include "emulator/ConfigDocument.h"
#include "emulator/ConfigSave.h"
#include "platform/Files.h"
#include "platform/SaveLock.h"
#include "platform/TemporaryName.h"
#include "support/UsersFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The first-start file with the value of `name`'s line changed: what a Save
// of that one input makes of it.
QByteArray withValue(QByteArray file, const QByteArray& name, const QString& value) {
    const qsizetype begin = file.indexOf('\n' + name + " = \"") + name.size() + 5;
    return file.replace(begin, file.indexOf('"', begin) - begin, value.toUtf8());
}

emulator::DocumentEdit setting(const QString& name, const QString& value) {
    return [=](emulator::ConfigDocument& document) {
        document.set(emulator::ConfigDocument::kGlobal, name.toUtf8(), value.toUtf8());
    };
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// Runs `work` in a child process once the parent closes `go`'s write end (a
// pipe); its exit status is 0 when it returns true.
pid_t inChild(const int* go, const std::function<bool()>& work) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (go) {
            ::close(go[1]);
            char byte;
            (void)::read(go[0], &byte, 1);
        }
        ::_exit(work() ? 0 : 1);
    }
    return pid;
}

int exitStatus(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace

class ConfigSaveTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void twoCopiesSavingAtOnce_data();
    void twoCopiesSavingAtOnce();
    void aLockHeldPastTheWaitWritesNothing();
    void aSaveKilledMidwayLeavesNothingForGood();
    void onlyAnOrdinaryFileIsReadOrReplaced_data();
    void onlyAnOrdinaryFileIsReadOrReplaced();
    void whatLiesInTheLocksPlace_data();
    void whatLiesInTheLocksPlace();
};

void ConfigSaveTest::twoCopiesSavingAtOnce_data() {
    QTest::addColumn<QString>("second"); // the input the second copy saves
    QTest::newRow("different inputs: both land") << "InputCoin1";
    QTest::newRow("the same input: the later wins whole") << "InputStart1";
}

void ConfigSaveTest::twoCopiesSavingAtOnce() {
    // Two processes, as two program folders on one emulator folder are, let go
    // at the same instant, round after round.
    QFETCH(QString, second);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Config/Supermodel.ini"));
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("Config"))));
    const QByteArray original = firstStartFile();
    QVERIFY(!original.isEmpty());
    for (int round = 0; round < 20; ++round) {
        write(path, original);
        const QString one = QStringLiteral("KEY_%1,JOY1_BUTTON%1").arg(round);
        const QString two = QStringLiteral("KEY_%1,JOY2_BUTTON%1").arg(round + 50);
        int go[2];
        QVERIFY(::pipe(go) == 0);
        const pid_t a = inChild(go, [&] {
            return emulator::saveConfigEdit(path, {}, setting(QStringLiteral("InputStart1"), one))
                .has_value();
        });
        const pid_t b = inChild(go, [&] {
            return emulator::saveConfigEdit(path, {}, setting(second, two)).has_value();
        });
        ::close(go[0]);
        ::close(go[1]);
        QCOMPARE(exitStatus(a), 0);
        QCOMPARE(exitStatus(b), 0);

        const QByteArray saved = contentOf(path);
        const QByteArray oneOnly = withValue(original, "InputStart1", one);
        if (second == QLatin1String("InputCoin1")) {
            QCOMPARE(saved, withValue(oneOnly, second.toLatin1(), two));
        } else {
            QVERIFY2(saved == oneOnly || saved == withValue(original, "InputStart1", two),
                     qPrintable(QStringLiteral("round %1 mixed").arg(round)));
        }
    }
    // Neither left a lock or a temporary file behind.
    QCOMPARE(entries(dir.filePath(QStringLiteral("Config"))),
             QStringList{QStringLiteral("Supermodel.ini")});
}

void ConfigSaveTest::aLockHeldPastTheWaitWritesNothing() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Supermodel.ini"));
    write(path, firstStartFile());
    platform::SaveLock held(path);
    QCOMPARE(held.acquire(0), platform::SaveLock::Outcome::Locked);
    QVERIFY(QFileInfo(platform::SaveLock::pathFor(path)).fileName().startsWith(u'.'));

    QElapsedTimer timer;
    timer.start();
    QVERIFY(!emulator::saveConfigEdit(path, {}, setting(QStringLiteral("InputStart1"), "KEY_Z")));
    QVERIFY2(timer.elapsed() >= platform::kSaveLockWaitMs - 100 &&
                 timer.elapsed() < platform::kSaveLockWaitMs + 1500,
             qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(contentOf(path), firstStartFile());
}

void ConfigSaveTest::aSaveKilledMidwayLeavesNothingForGood() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Supermodel.ini"));
    const QByteArray original = firstStartFile();
    write(path, original);
    // Copies a user made by hand, and what saves left under the names used
    // before: never taken for ours.
    const QStringList users{"Supermodel.ini.backup", "Supermodel.ini.GJzBBi",
                            ".kestrun-tmp-Supermodel.ini-GJzBB", "Supermodel.ini-GJzBBi"};
    for (const QString& name : users)
        write(dir.filePath(name), "mine");

    // Killed while it writes the new file: past a few bytes of it, the file
    // size limit stops the write, and the process goes at once.
    const pid_t killed = inChild(nullptr, [&] {
        ::signal(SIGXFSZ, [](int) { ::kill(::getpid(), SIGKILL); });
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        return emulator::saveConfigEdit(path, {}, setting(QStringLiteral("InputStart1"), "KEY_Z"))
            .has_value();
    });
    QCOMPARE(exitStatus(killed), 128 + SIGKILL);
    QCOMPARE(contentOf(path), original);
    QStringList left = entries(dir.path());
    left.removeOne(QStringLiteral("Supermodel.ini"));
    for (const QString& name : users)
        left.removeOne(name);
    // Its lock, and its unfinished file under a name of ours.
    QCOMPARE(left.size(), 2);
    QVERIFY(left.contains(QFileInfo(platform::SaveLock::pathFor(path)).fileName()));
    left.removeOne(QFileInfo(platform::SaveLock::pathFor(path)).fileName());
    QVERIFY2(platform::isTemporaryNameOf(left[0], QStringLiteral("Supermodel.ini")),
             qPrintable(left[0]));

    // The dead owner's lock is taken over at once; the start-up clean-up
    // removes the unfinished file and nothing of the user's.
    QElapsedTimer timer;
    timer.start();
    QVERIFY(emulator::saveConfigEdit(path, {}, setting(QStringLiteral("InputStart1"), "KEY_Q")));
    QVERIFY(timer.elapsed() < platform::kSaveLockWaitMs);
    QCOMPARE(contentOf(path), withValue(original, "InputStart1", "KEY_Q"));
    emulator::removeSaveLeftovers(path);
    QStringList expected = users + QStringList{"Supermodel.ini"};
    expected.sort();
    QCOMPARE(entries(dir.path()), expected);
}

void ConfigSaveTest::onlyAnOrdinaryFileIsReadOrReplaced_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("saved");
    QTest::newRow("named pipe") << "pipe" << false;
    QTest::newRow("device node") << "device" << false;
    QTest::newRow("socket") << "socket" << false;
    QTest::newRow("link that leads nowhere") << "dangling" << false;
    QTest::newRow("link to an ordinary file: written through") << "link" << true;
}

void ConfigSaveTest::onlyAnOrdinaryFileIsReadOrReplaced() {
    QFETCH(QString, kind);
    QFETCH(bool, saved);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Supermodel.ini"));
    const QByteArray place = QFile::encodeName(path);
    const QString elsewhere = dir.filePath(QStringLiteral("elsewhere/Config/Supermodel.ini"));
    int socket = -1;
    if (kind == QLatin1String("pipe")) {
        QVERIFY(::mkfifo(place.constData(), 0644) == 0);
    } else if (kind == QLatin1String("device")) {
        // The same device as /dev/null, made here.
        if (::mknod(place.constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
            QSKIP("making a device node needs root");
    } else if (kind == QLatin1String("socket")) {
        socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        QVERIFY(size_t(place.size()) < sizeof address.sun_path);
        std::strcpy(address.sun_path, place.constData());
        QVERIFY(::bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0);
    } else if (kind == QLatin1String("dangling")) {
        QVERIFY(QFile::link(elsewhere, path));
    } else {
        QVERIFY(QDir().mkpath(QFileInfo(elsewhere).absolutePath()));
        write(elsewhere, firstStartFile());
        QVERIFY(QFile::link(elsewhere, path));
    }
    const platform::Place before = platform::placeAt(path);

    const auto result =
        emulator::saveConfigEdit(path, "; new\n", setting(QStringLiteral("InputStart1"), "KEY_Z"));
    QCOMPARE(result.has_value(), saved);
    if (socket >= 0)
        ::close(socket);
    if (saved) {
        QVERIFY(QFileInfo(path).isSymLink());
        QCOMPARE(contentOf(elsewhere), withValue(firstStartFile(), "InputStart1", "KEY_Z"));
        return;
    }
    // Left as it was; nothing made, here or where a link points.
    QCOMPARE(platform::placeAt(path), before);
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("Supermodel.ini")});
    // The plain file writer refuses it the same way.
    QVERIFY(!platform::writeFileAtomically(path, "x"));
    QCOMPARE(platform::placeAt(path), before);
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("elsewhere"))));
}

void ConfigSaveTest::whatLiesInTheLocksPlace_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QString>("named"); // how the box names what is there
    QTest::newRow("named pipe") << "pipe" << false << "is a named pipe";
    QTest::newRow("link to /dev/zero") << "zero" << false << "is a symbolic link";
    QTest::newRow("folder") << "folder" << false << "is a folder";
    QTest::newRow("link that leads nowhere") << "dangling" << false << "is a symbolic link";
    QTest::newRow("stale, a named pipe where its removal is locked")
        << "rmpipe" << false << ".rmlock is a named pipe";
    QTest::newRow("stale: its owner is dead") << "stale" << true << "";
    QTest::newRow("empty: its maker was killed") << "empty" << true << "";
    QTest::newRow("empty, but a live copy holds it") << "held" << false << "";
}

void ConfigSaveTest::whatLiesInTheLocksPlace() {
    QFETCH(QString, kind);
    QFETCH(bool, saved);
    QFETCH(QString, named);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Supermodel.ini"));
    write(path, firstStartFile());
    const QString lock = platform::SaveLock::pathFor(path);
    const QByteArray place = QFile::encodeName(lock);
    int held = -1;
    if (kind == u"pipe") {
        QVERIFY(::mkfifo(place.constData(), 0644) == 0);
    } else if (kind == u"zero") {
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), lock));
    } else if (kind == u"folder") {
        QVERIFY(QDir().mkdir(lock));
    } else if (kind == u"dangling") {
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("nowhere")), lock));
    } else if (kind == u"stale" || kind == u"rmpipe") {
        // What a killed copy leaves: its lock naming a process now gone.
        write(lock, "2147483646\nkestrun\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        if (kind == u"rmpipe")
            QVERIFY(::mkfifo((place + ".rmlock").constData(), 0644) == 0);
    } else {
        write(lock, {});
        if (kind == u"held") {
            held = ::open(place.constData(), O_RDONLY | O_CLOEXEC);
            QVERIFY(::flock(held, LOCK_EX) == 0);
        }
    }

    // In a child that a hang cannot keep: it ends after ten seconds.
    QElapsedTimer timer;
    timer.start();
    const int status = exitStatus(inChild(nullptr, [&] {
        ::alarm(10);
        return emulator::saveConfigEdit(path, {}, setting(QStringLiteral("InputStart1"), "KEY_Z"))
            .has_value();
    }));
    const qint64 ms = timer.elapsed();
    QVERIFY2(status == 0 || status == 1, qPrintable(QStringLiteral("status %1").arg(status)));
    QCOMPARE(status == 0, saved);
    if (saved) {
        QVERIFY2(ms < platform::kSaveLockWaitMs, qPrintable(QString::number(ms)));
        QCOMPARE(contentOf(path), withValue(firstStartFile(), "InputStart1", "KEY_Z"));
        QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("Supermodel.ini")});
        return;
    }
    QCOMPARE(contentOf(path), firstStartFile());
    QVERIFY(QFileInfo(lock).isSymLink() || QFileInfo::exists(lock)); // left as it was
    if (named.isEmpty()) {
        QVERIFY(ms >= platform::kSaveLockWaitMs - 100);
        QCOMPARE(emulator::saveObstacle(path), QString());
    } else {
        QVERIFY2(ms < platform::kSaveLockWaitMs / 2, qPrintable(QString::number(ms)));
        const QString obstacle = emulator::saveObstacle(path);
        QVERIFY2(obstacle.startsWith(lock) && obstacle.endsWith(named), qPrintable(obstacle));
    }
    // Start-up's clean-up goes past it at once.
    timer.restart();
    QCOMPARE(exitStatus(inChild(nullptr,
                                [&] {
                                    ::alarm(10);
                                    emulator::removeSaveLeftovers(path);
                                    return true;
                                })),
             0);
    QVERIFY(timer.elapsed() < 1000);
    if (held >= 0)
        ::close(held);
}

QTEST_MAIN(ConfigSaveTest)
#include "test_config_save.moc"
