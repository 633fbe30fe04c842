#pragma once

#include "app/Frontend.h"
#include "bindings/SlotBinding.h"
#include "catalogue/EmulatorSearch.h"
#include "emulator/CommandLine.h"
#include "emulator/Launcher.h"
#include "ui/Dialogs.h"
#include "ui/Form1.h"

#include <QDir>
#include <QFile>
#include <QQueue>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

// Records every box and answers questions from a queue (Yes when it runs dry,
// so that a missing answer shows up as an unexpected write, not a hang).
class FakeDialogs final : public ui::Dialogs {
public:
    struct Box {
        QString text;
        QString title;
        bool question;
    };

    void tell(const QString& text, const QString& title) override {
        boxes.append({text, title, false});
        if (shown)
            shown();
    }
    bool ask(const QString& text, const QString& title) override {
        boxes.append({text, title, true});
        if (shown)
            shown();
        return answers.isEmpty() ? true : answers.dequeue();
    }

    QList<Box> boxes;
    QQueue<bool> answers;
    std::function<void()> shown; // called as each box shows, when set
};

// Records what would have been started; print() tells what a run prints,
// finish() reports its end.
class FakeLauncher final : public emulator::Launcher {
public:
    struct Start {
        QString program;
        QStringList arguments;
        emulator::WindowState state;
        QString workingFolder;
    };

    bool start(const QString& program, const QStringList& arguments, emulator::WindowState state,
               const QString& workingFolder) override {
        starts.append({program, arguments, state, workingFolder});
        if (onStart)
            onStart();
        if (succeeds) {
            ++m_running;
            m_lastRun = int(starts.size()) - 1;
        }
        return succeeds;
    }
    bool running() const override { return m_running > 0; }
    int lastRun() const override { return m_lastRun; }
    // The end of run `run` (its index in starts), by default the last one.
    void finish(int status, const QStringList& errorLines = {}, bool outputKept = true,
                int run = -1) {
        if (m_running > 0)
            --m_running;
        Q_EMIT finished(status, errorLines, outputKept, run < 0 ? m_lastRun : run);
    }
    // What a run started Normal prints, as the real one tells it.
    void print(const QString& text) { Q_EMIT printed(text); }

    QList<Start> starts;
    bool succeeds = true;
    // Runs as the process would start: what it reads then.
    std::function<void()> onStart;

private:
    int m_running = 0;
    int m_lastRun = -1;
};

// A front-end over a fresh temporary program folder, not yet started.
struct FrontEndFixture {
    // An emulator installed on the machine that runs the tests is not found.
    struct NoInstalledEmulator {
        NoInstalledEmulator() {
            catalogue::installedEmulatorSource = [] {
                return std::optional<catalogue::FoundEmulator>();
            };
        }
        ~NoInstalledEmulator() { catalogue::installedEmulatorSource = nullptr; }
    } noInstalledEmulator;
    QTemporaryDir dir;
    ui::Form1 form;
    FakeDialogs dialogs;
    FakeLauncher launcher;
    int ended = 0;
    app::Frontend frontend{form, dialogs, launcher, QDir(dir.path()).absolutePath(),
                           [this] { ++ended; }};

    bindings::BindingStore& store() { return frontend.bindingStore(); }
    // The whole value the store holds for chart slot or page entry `slot`.
    QString value(int slot) { return bindings::slotValue(form, store(), slot); }

    QString folder() const { return QDir(dir.path()).absolutePath() + u'/'; }
    QString path(const QString& relative) const { return folder() + relative; }
    // The emulator program in the emulator folder a first start assumes.
    static QString emulatorFile() {
        return QStringLiteral("Supermodel_0.1a_Win32/") + QLatin1String(emulator::kEmulatorProgram);
    }

    void writeFile(const QString& relative, const QByteArray& bytes) const {
        QDir().mkpath(QFileInfo(path(relative)).absolutePath());
        QFile file(path(relative));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray readFile(const QString& relative) const {
        QFile file(path(relative));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return file.readAll();
    }
};
