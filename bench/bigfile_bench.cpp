// Huge-file benchmark: how long the front-end takes, and how much more memory
// it needs, to open a 1 GiB settings file or emulator input file. Each file
// is generated in the temporary folder, opened by a fresh copy of this
// program (so that a crash or a runaway is measured, not suffered) and
// deleted afterwards.
//
//   bigfile-bench            all cases, one line each
//   bigfile-bench CASE DIR   one case on the program folder DIR (internal)

#include "app/Lifecycle.h"
#include "bench/ChildCase.h"
#include "bench/Memory.h"
#include "bindings/BindingStore.h"
#include "bindings/SlotBinding.h"
#include "catalogue/GameCatalogue.h"
#include "emulator/BindingPanel.h"
#include "ui/Dialogs.h"
#include "ui/Form1.h"
#include "ui/Panel.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>

namespace {

constexpr qint64 kGiB = qint64(1) << 30;
constexpr qint64 kGoalMs = 1000;
constexpr qint64 kGoalKiB = 50 * 1024;
constexpr int kChildTimeoutMs = 180'000;

const QString kSettings = QStringLiteral("Config/Kestrun.ini");
const QString kInputFile = QStringLiteral("Supermodel_0.1a_Win32/Config/Supermodel.ini");

struct Case {
    const char* name;
    const char* what;
    QString file;
    QByteArray head; // before the 1 GiB of `fill`
    char fill;
    QByteArray tail;
};

const Case kCases[] = {
    {"settings-line", "settings file, one 1 GiB line", kSettings, "", 'x', ""},
    {"input-key", "input file, one 1 GiB key", kInputFile, "InputStart1 = \"", 'K', "\""},
    {"input-no-input", "input file, one 1 GiB line without \"Input\"", kInputFile, "", 'x', ""},
};

const Case* findCase(const QString& name) {
    for (const Case& c : kCases) {
        if (name == QLatin1String(c.name))
            return &c;
    }
    return nullptr;
}

bool generate(const QString& path, const Case& c) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray block(8 << 20, c.fill);
    bool ok = file.write(c.head) == c.head.size();
    for (qint64 written = 0; ok && written < kGiB; written += block.size())
        ok = file.write(block) == block.size();
    return ok && file.write(c.tail) == c.tail.size() && file.flush();
}

// Boxes are never shown: nothing may wait for a click here.
class QuietDialogs final : public ui::Dialogs {
public:
    void tell(const QString&, const QString&) override {}
    bool ask(const QString&, const QString&) override { return false; }
};

// The child: opens the file the way the program does, then draws what it
// shows, and prints "milliseconds extra-KiB".
int runCase(const Case& c, const QString& folder) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "bigfile-bench";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    ui::Form1 form;
    catalogue::GameCatalogue games;
    form.setSlotLooks(&bindings::slotLook);
    const bool settings = c.file == kSettings;
    if (!settings)
        app::StartUp(form, games, folder);
    form.grab(); // fonts and pictures loaded before the measure

    // Peak memory from here on: the kernel's high-water mark, reset.
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
    clear.close();
    const qint64 before = bench::statusKiB("VmRSS");

    QElapsedTimer timer;
    timer.start();
    if (settings) {
        app::StartUp(form, games, folder);
        form.grab();
    } else {
        QuietDialogs dialogs;
        bindings::BindingStore store;
        emulator::OpenPanel(form, store, games, dialogs);
        form.Picture3->grab();
    }
    const qint64 ms = timer.elapsed();
    std::printf("%lld %lld\n", static_cast<long long>(ms),
                static_cast<long long>(bench::statusKiB("VmHWM") - before));
    return 0;
}

int runAll(const QString& self) {
    QTextStream out(stdout);
    bool allMet = true;
    for (const Case& c : kCases) {
        QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/kestrun-bigfile-XXXXXX"));
        if (!folder.isValid() || !generate(folder.filePath(c.file), c)) {
            out << c.what << ": cannot generate the file in " << QDir::tempPath() << Qt::endl;
            return 1;
        }
        const bench::ChildCase run = bench::runChildCase(
            self, {QString::fromLatin1(c.name), folder.path() + u'/'}, 2, kChildTimeoutMs);
        const QList<QByteArray>& figures = run.figures;
        out << c.what << ": ";
        if (!run.failure.isEmpty()) {
            out << run.failure;
            allMet = false;
        } else {
            const qint64 ms = figures[0].toLongLong();
            const qint64 kib = figures[1].toLongLong();
            const bool met = ms < kGoalMs && kib < kGoalKiB;
            allMet = allMet && met;
            out << ms << " ms, +" << QString::number(double(kib) / 1024.0, 'f', 1) << " MB"
                << (met ? "" : "  (goal missed)");
        }
        out << Qt::endl;
    }
    out << "goal: under " << kGoalMs << " ms and under " << kGoalKiB / 1024
        << " MB more memory each: " << (allMet ? "met" : "MISSED") << Qt::endl;
    return allMet ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc == 3) {
        const Case* c = findCase(QString::fromLocal8Bit(argv[1]));
        return c ? runCase(*c, QString::fromLocal8Bit(argv[2])) : 2;
    }
    QCoreApplication application(argc, argv);
    return runAll(QCoreApplication::applicationFilePath());
}
