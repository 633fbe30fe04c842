// The real launcher, on small shell scripts standing in for the emulator.

#include "emulator/ProcessLauncher.h"
#include "platform/ProcessStarter.h"
#include "support/FullDisk.h"
#include "support/ReadOnlyFolder.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/mount.h>
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

int openDescriptors() {
    return int(QDir(QStringLiteral("/proc/self/fd"))
                   .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
                   .size());
}

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
    void failedStartsLeaveNothing_data();
    void failedStartsLeaveNothing();
    void outputWithoutAUsableTemporaryFolder_data();
    void outputWithoutAUsableTemporaryFolder();
    void outputFolder_data();
    void outputFolder();
    void leftRunningWhenTheLauncherGoes();
    void setUpOutputIsToldAsItComes();
    void eachEndTellsWhichRun();
};

void TestProcessLauncher::failedRunTellsItsErrorLines() {
    ScriptFixture f;
    emulator::ProcessLauncher launcher;
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

// Linked cabinets run together and end in any order.
void TestProcessLauncher::eachEndTellsWhichRun() {
    ScriptFixture f;
    emulator::ProcessLauncher launcher;
    QSignalSpy finished(&launcher, &emulator::Launcher::finished);
    const QString program = f.script("sleep $1\nexit $2\n");
    QVERIFY(launcher.start(program, {"2", "1"}, emulator::WindowState::Minimized, f.dir.path()));
    const int slow = launcher.lastRun();
    QVERIFY(launcher.start(program, {"0", "2"}, emulator::WindowState::Minimized, f.dir.path()));
    const int quick = launcher.lastRun();
    QVERIFY(slow != quick);
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished[0][0].toInt(), 2);
    QCOMPARE(finished[0][3].toInt(), quick);
    QVERIFY(launcher.running());
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished[1][0].toInt(), 1);
    QCOMPARE(finished[1][3].toInt(), slow);
    QVERIFY(!launcher.running());
}

void TestProcessLauncher::failedStartsLeaveNothing_data() {
    QTest::addColumn<QString>("program");
    QTest::newRow("not executable") << "plain";
    QTest::newRow("missing") << "none";
    QTest::newRow("a folder") << "folder";
}

void TestProcessLauncher::failedStartsLeaveNothing() {
    QFETCH(QString, program);
    ScriptFixture f;
    const QString path = f.dir.filePath(program);
    QFile plain(f.dir.filePath(QStringLiteral("plain")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.write("#!/bin/sh\n");
    plain.close();
    QVERIFY(QDir().mkdir(f.dir.filePath(QStringLiteral("folder"))));
    emulator::ProcessLauncher launcher;
    QSignalSpy finished(&launcher, &emulator::Launcher::finished);
    const int before = openDescriptors();
    for (int i = 0; i < 10; ++i)
        QVERIFY(!launcher.start(path, {}, emulator::WindowState::Normal, f.dir.path()));
    QCOMPARE(openDescriptors(), before);
    QVERIFY(!launcher.running());
    QTest::qWait(100);
    QCOMPARE(finished.size(), 0);
    QCOMPARE(f.leftInTemp(), QStringList());
}

void TestProcessLauncher::outputWithoutAUsableTemporaryFolder_data() {
    QTest::addColumn<QString>("temporary");
    QTest::addColumn<QString>("output"); // where the emulator's output went
    QTest::newRow("full") << "full"
                          << "/dev/null";
    QTest::newRow("read-only") << "read-only"
                               << "/dev/null";
    // The system's folder then, never the root folder.
    QTest::newRow("missing") << "missing"
                             << "/tmp/kestrun-emulator-";
}

void TestProcessLauncher::outputWithoutAUsableTemporaryFolder() {
    QFETCH(QString, temporary);
    QFETCH(QString, output);
    ScriptFixture f;
    const QString folder = f.temp.filePath(QStringLiteral("t"));
    FullDisk full;
    std::unique_ptr<ReadOnlyFolder> readOnly;
    if (temporary == u"full") {
        MOUNT_FULL_DISK(full, folder);
        full.fill();
    } else if (temporary == u"read-only") {
        readOnly = std::make_unique<ReadOnlyFolder>(folder);
        if (!readOnly->works())
            QSKIP("no read-only folder: mounting a read-only tmpfs failed");
    }
    qputenv("TMPDIR", QFile::encodeName(folder));
    const QStringList before = QDir(QStringLiteral("/")).entryList(QDir::AllEntries);

    emulator::ProcessLauncher launcher;
    QSignalSpy finished(&launcher, &emulator::Launcher::finished);
    // It runs all the same, and its streams lead to no pipe.
    QVERIFY(launcher.start(f.script("one=$(readlink /proc/$$/fd/1)\n"
                                    "two=$(readlink /proc/$$/fd/2)\n"
                                    "printf '%s\\n%s\\n' \"$one\" \"$two\" > where\n"
                                    "echo 'Error: lost'\n"
                                    "exit 1\n"),
                           {}, emulator::WindowState::Minimized, f.dir.path()));
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished[0][0].toInt(), 1);
    const bool kept = output != u"/dev/null";
    QCOMPARE(finished[0][1].toStringList(),
             kept ? QStringList{QStringLiteral("Error: lost")} : QStringList());
    QCOMPARE(finished[0][2].toBool(), kept);
    QFile where(f.dir.filePath(QStringLiteral("where")));
    QVERIFY(where.open(QIODevice::ReadOnly));
    const QList<QByteArray> streams = where.readAll().trimmed().split('\n');
    QCOMPARE(streams.size(), 2);
    QVERIFY2(streams[0].startsWith(output.toUtf8()), streams[0].constData());
    // The output file loses its name once the run has started, which may
    // fall between the script's two looks.
    const auto file = [](const QByteArray& link) {
        return link.endsWith(" (deleted)") ? link.chopped(10) : link;
    };
    QCOMPARE(file(streams[1]), file(streams[0]));
    QCOMPARE(QDir(QStringLiteral("/")).entryList(QDir::AllEntries), before);
}

void TestProcessLauncher::outputFolder_data() {
    QTest::addColumn<QString>("tmpdir");
    QTest::addColumn<QString>("fallback");
    QTest::addColumn<QString>("chosen");
    QTest::newRow("set") << "<d>/"
                         << "<d>"
                         << "<d>";
    QTest::newRow("unset") << ""
                           << "<d>"
                           << "<d>";
    QTest::newRow("missing") << "<d>/missing"
                             << "<d>"
                             << "<d>";
    QTest::newRow("a file") << "<d>/file"
                            << "<d>"
                            << "<d>";
    QTest::newRow("relative") << "."
                              << "<d>"
                              << "<d>";
    QTest::newRow("missing, fallback missing") << "<d>/missing"
                                               << "<d>/missing"
                                               << "";
    QTest::newRow("missing, fallback a file") << "<d>/missing"
                                              << "<d>/file"
                                              << "";
}

void TestProcessLauncher::outputFolder() {
    QFETCH(QString, tmpdir);
    QFETCH(QString, fallback);
    QFETCH(QString, chosen);
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("file")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    const auto real = [&](QString s) { return s.replace(QStringLiteral("<d>"), dir.path()); };
    QCOMPARE(platform::outputFolder(real(tmpdir), real(fallback)), real(chosen));
}

void TestProcessLauncher::leftRunningWhenTheLauncherGoes() {
    ScriptFixture f;
    const QString pidFile = f.dir.path() + QStringLiteral("/pid");
    {
        emulator::ProcessLauncher launcher;
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

void TestProcessLauncher::setUpOutputIsToldAsItComes() {
    ScriptFixture f;
    emulator::ProcessLauncher launcher;
    QString told;
    connect(&launcher, &emulator::Launcher::printed,
            [&told](const QString& text) { told += text; });
    QString toldAtTheEnd;
    connect(&launcher, &emulator::Launcher::finished, [&] { toldAtTheEnd = told; });
    QSignalSpy finished(&launcher, &emulator::Launcher::finished);
    // As the set-up: its help, a prompt with no line end, then it waits for
    // an answer.
    QVERIFY(launcher.start(f.script("printf 'Help\\r\\n\\tRet\\n\\033 P1 Start: Ret/q/Esc? '\n"
                                    "while [ ! -e answered ]; do sleep 0.05; done\n"
                                    "echo saved\n"),
                           {}, emulator::WindowState::Normal, f.dir.path()));
    QTRY_COMPARE(told, QStringLiteral("Help\n\tRet\n\uFFFD P1 Start: Ret/q/Esc? "));
    QVERIFY(launcher.running());
    QFile answered(f.dir.filePath(QStringLiteral("answered")));
    QVERIFY(answered.open(QIODevice::WriteOnly));
    QVERIFY(finished.wait(10000));
    QVERIFY(toldAtTheEnd.endsWith(QStringLiteral("? saved\n")));

    // A game's output is not followed.
    told.clear();
    QVERIFY(launcher.start(f.script("echo playing\n"), {}, emulator::WindowState::Minimized,
                           f.dir.path()));
    QVERIFY(finished.wait(10000));
    QCOMPARE(told, QString());
}

QTEST_GUILESS_MAIN(TestProcessLauncher)
#include "test_process_launcher.moc"
