#pragma once

// What the window benches drive the front-end with: questions answered Yes,
// a launcher that starts nothing, and the emulator's first-start file as a
// user edits it (263 lines).

#include "emulator/Launcher.h"
#include "ui/Dialogs.h"

#include <QFile>

class YesDialogs final : public ui::Dialogs {
public:
    void tell(const QString&, const QString&) override {}
    bool ask(const QString&, const QString&) override { return true; }
};

class NoLauncher final : public emulator::Launcher {
public:
    bool start(const QString&, const QStringList&, emulator::WindowState, const QString&) override {
        return false;
    }
    bool running() const override { return false; }
    int lastRun() const override { return -1; }
};

inline QByteArray usersFile() {
    QFile file(QStringLiteral(KESTRUN_SOURCE "/tests/support/first-start-Supermodel.ini"));
    QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    bytes.replace("WideScreen = 0", "WideScreen = true");
    return bytes + "RefreshRate = 57.524\n\n[ vf3 ]\nInputPunch = \"KEY_Q\"\n";
}
