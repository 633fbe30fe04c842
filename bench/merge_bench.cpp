// Merge benchmark: how long the pre-start merge of a 16 MiB player's file
// takes, and how much more memory it needs: 1.6 million short settings,
// added to a small file since the import, or each changed in a file as big.
// Each case is generated in the temporary folder, merged by a fresh copy of
// this program (so that a runaway is measured, not suffered) and deleted.
//
//   merge-bench            all cases, one line each
//   merge-bench CASE DIR   one case on the folder DIR (internal)

#include "bench/ChildCase.h"
#include "bench/Memory.h"
#include "emulator/PlayerConfig.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>

namespace {

constexpr qint64 kGoalMs = 1000;
constexpr qint64 kGoalKiB = 100 * 1024;
constexpr int kChildTimeoutMs = 180'000;
constexpr int kSettings = 1'600'000; // ten bytes each: 16,000,000 bytes

struct Case {
    const char* name;
    const char* what;
    bool bigBase; // the import held the same settings, each changed since
};

const Case kCases[] = {
    {"added", "1.6 million settings added since the import", false},
    {"changed", "1.6 million settings changed since the import", true},
};

const Case* findCase(const QString& name) {
    for (const Case& c : kCases) {
        if (name == QLatin1String(c.name))
            return &c;
    }
    return nullptr;
}

// "abcde = V" lines, each name distinct.
QByteArray settingsFile(char value) {
    QByteArray bytes = "[ Global ]\n";
    bytes.reserve(kSettings * 10 + 16);
    char line[] = "aaaaa = 0\n";
    line[8] = value;
    for (int i = 0; i < kSettings; ++i) {
        int n = i;
        for (int d = 4; d >= 0; --d, n /= 26)
            line[d] = char('a' + n % 26);
        bytes.append(line, 10);
    }
    return bytes;
}

QString programFolder(const QString& dir) {
    return dir + QStringLiteral("program/");
}

QString playerFile(const QString& dir) {
    return dir + QStringLiteral("Supermodel.ini");
}

bool write(const QString& path, const QByteArray& bytes, int secondsAhead) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush() &&
           file.setFileTime(QDateTime::currentDateTime().addSecs(secondsAhead),
                            QFileDevice::FileModificationTime);
}

// The import as a first start makes it, then the player's later file.
bool generate(const QString& dir, const Case& c) {
    if (!QDir().mkpath(programFolder(dir)))
        return false;
    const QByteArray small = "[ Global ]\nWideScreen = 0\n";
    if (!write(playerFile(dir), c.bigBase ? settingsFile('0') : small, 0) ||
        !emulator::keepConfigInStep(programFolder(dir), QStringList{playerFile(dir)}).isEmpty())
        return false;
    return write(playerFile(dir), settingsFile('1'), 10);
}

// The child: the merge before a start, then "milliseconds extra-KiB lines".
int runCase(const QString& dir) {
    // Peak memory from here on: the kernel's high-water mark, reset.
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
    clear.close();
    const qint64 before = bench::statusKiB("VmRSS");
    QElapsedTimer timer;
    timer.start();
    const QStringList lines =
        emulator::keepConfigInStep(programFolder(dir), QStringList{playerFile(dir)});
    const qint64 ms = timer.elapsed();
    std::printf("%lld %lld %lld\n", static_cast<long long>(ms),
                static_cast<long long>(bench::statusKiB("VmHWM") - before),
                static_cast<long long>(lines.size()));
    return 0;
}

int runAll(const QString& self) {
    QTextStream out(stdout);
    bool allMet = true;
    for (const Case& c : kCases) {
        QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/kestrun-merge-XXXXXX"));
        const QString dir = folder.path() + u'/';
        if (!folder.isValid() || !generate(dir, c)) {
            out << c.what << ": cannot generate the files in " << QDir::tempPath() << Qt::endl;
            return 1;
        }
        const bench::ChildCase run =
            bench::runChildCase(self, {QString::fromLatin1(c.name), dir}, 3, kChildTimeoutMs);
        const QList<QByteArray>& figures = run.figures;
        // Carried whole: the working copy now reads as the player's file.
        QFile working(programFolder(dir) + QStringLiteral("Config/Supermodel.ini"));
        const bool carried =
            working.open(QIODevice::ReadOnly) && working.readAll() == settingsFile('1');
        out << c.what << ": ";
        if (!run.failure.isEmpty()) {
            out << run.failure;
            allMet = false;
        } else {
            const qint64 ms = figures[0].toLongLong();
            const qint64 kib = figures[1].toLongLong();
            const bool met = ms < kGoalMs && kib < kGoalKiB && carried && figures[2] == "0";
            allMet = allMet && met;
            out << ms << " ms, +" << QString::number(double(kib) / 1024.0, 'f', 1) << " MB"
                << (carried ? "" : ", not carried") << (met ? "" : "  (goal missed)");
        }
        out << Qt::endl;
    }
    out << "goal: under " << kGoalMs << " ms and under " << kGoalKiB / 1024
        << " MB more memory each: " << (allMet ? "met" : "MISSED") << Qt::endl;
    return allMet ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    if (argc == 3) {
        return findCase(QString::fromLocal8Bit(argv[1])) ? runCase(QString::fromLocal8Bit(argv[2]))
                                                         : 2;
    }
    return runAll(QCoreApplication::applicationFilePath());
}
