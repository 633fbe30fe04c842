#pragma once

// A configuration file with game sections and comments, and the same file
// as the emulator's own launcher saved it (its Exit, answered Yes).

#include <QByteArray>
#include <QFile>

inline QByteArray launcherSaveFile(const QString& name) {
    QFile file(QStringLiteral(KESTRUN_TEST_SUPPORT "/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QByteArray launcherSaveBase() {
    return launcherSaveFile(QStringLiteral("launcher-save-before.ini"));
}

inline QByteArray launcherSave() {
    return launcherSaveFile(QStringLiteral("launcher-save-after.ini"));
}
