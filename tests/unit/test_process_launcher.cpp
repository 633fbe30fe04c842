// The real launcher, on small shell scripts standing in for the emulator.

#include "platform/ProcessLauncher.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <unistd.h>

namespace {

struct ScriptFixture {
    QTemporaryDir dir;
    QTemporaryDir temp; // the system temporary folder while the test runs
    QByteArray oldTemp = qgetenv("TMPDIR");

    ScriptFixture() { qputenv("TMPDIR", temp.path().toLocal8Bit()); }
    ~ScriptFixture() { qputenv("TMPDIR", oldTemp); }

    QString script(const QByteArray& body) const {
        const QString path = dir.path() + QStringLiteral("/supermodel");
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write("#!/bin/sh\n" + body);
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
        return path;
    }
    QStringList leftInTemp() const {
        return QDir(temp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    }
};

bool alive(pid_t pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = stat.readAll();
    return text.mid(text.lastIndexOf(')') + 2, 1) != "Z";
}

} // namespace

class TestProcessLauncher : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void failedRunTellsItsErrorLines();
    void missingProgramDoesNotStart();
    void leftRunningWhenTheLauncherGoes();
};

void TestProcessLauncher::failedRunTellsItsErrorLines() {
    ScriptFixture f;
    platform::ProcessLauncher launcher;
    QSignalSpy finished(&launcher, &emulator::Launcher::finished);
    // Its error, where its streams lead, its session and its own pid.
    QVERIFY(launcher.start(f.script("sleep 1\n"
                                    "echo banner\n"
                                    "echo \"Error: Could not open '$1'.\" >&2\n"
                                    "echo \"Error: $(readlink /proc/$$/fd/0)\"\n"
                                    "echo \"Error: $(readlink /proc/$$/fd/1)\"\n"
                                    "echo \"Error: $(readlink /proc/$$/fd/2)\"\n"
                                    "echo \"Error: $(cut -d' ' -f6 /proc/$$/stat) $$\"\n"
                                    "exit 3\n"),
                           {QStringLiteral("x y.zip")}, emulator::WindowState::Minimized,
                           f.dir.path()));
    // Nothing named is left in the temporary folder, even while it runs.
    QCOMPARE(f.leftInTemp(), QStringList());
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished[0][0].toInt(), 3);
    const QStringList lines = finished[0][1].toStringList();
    QCOMPARE(lines.size(), 5);
    QCOMPARE(lines[0], QStringLiteral("Error: Could not open 'x y.zip'."));
    QCOMPARE(lines[1], QStringLiteral("Error: /dev/null"));
    QVERIFY2(lines[2].startsWith(QStringLiteral("Error: ") + f.temp.path() + u'/') &&
                 lines[2].endsWith(QStringLiteral(" (deleted)")),
             qPrintable(lines[2]));
    QCOMPARE(lines[3], lines[2]);
    const QStringList session = lines[4].mid(7).split(u' ');
    QCOMPARE(session.size(), 2);
    QCOMPARE(session[0], session[1]); // a session leader
    QVERIFY(session[0].toInt() != int(::getsid(0)));
    // Reaped: no zombie is left.
    QTRY_VERIFY(!QFileInfo::exists(QStringLiteral("/proc/") + session[1]));
    QCOMPARE(f.leftInTemp(), QStringList());

    // A normal end is told as one too; the run happens in the folder given.
    const QString folder = QDir(f.dir.path()).canonicalPath() + QStringLiteral("/a folder");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(launcher.start(f.script("echo \"Error: $(pwd)\"\n"), {}, emulator::WindowState::Normal,
                           folder));
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished[1][0].toInt(), 0);
    QCOMPARE(finished[1][1].toStringList(), QStringList{QStringLiteral("Error: ") + folder});
}

void TestProcessLauncher::missingProgramDoesNotStart() {
    ScriptFixture f;
    platform::ProcessLauncher launcher;
    QSignalSpy finished(&launcher, &emulator::Launcher::finished);
    QVERIFY(
        !launcher.start(f.dir.path() + QStringLiteral("/none"), {}, emulator::WindowState::Normal,
                        f.dir.path()));
    QTest::qWait(100);
    QCOMPARE(finished.size(), 0);
    QCOMPARE(f.leftInTemp(), QStringList());
}

void TestProcessLauncher::leftRunningWhenTheLauncherGoes() {
    ScriptFixture f;
    const QString pidFile = f.dir.path() + QStringLiteral("/pid");
    {
        platform::ProcessLauncher launcher;
        QVERIFY(launcher.start(f.script("echo $$ > \"$1\"\nexec sleep 30\n"), {pidFile},
                               emulator::WindowState::Minimized, f.dir.path()));
        QTRY_VERIFY(QFileInfo(pidFile).size() > 0);
    }
    QFile file(pidFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const pid_t pid = pid_t(file.readAll().trimmed().toInt());
    QVERIFY(pid > 0);
    QTest::qWait(200);
    QVERIFY(alive(pid));
    ::kill(pid, SIGKILL);
}

QTEST_GUILESS_MAIN(TestProcessLauncher)
#include "test_process_launcher.moc"
