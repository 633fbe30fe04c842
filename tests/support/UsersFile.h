#pragma once

// The emulator's first-start configuration file, as it writes it and as a
// user edits it, and what an edit changed in it.

#include <QByteArray>
#include <QFile>
#include <QList>

inline QByteArray firstStartFile() {
    QFile file(QStringLiteral(KESTRUN_TEST_SUPPORT "/first-start-Supermodel.ini"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The first-start file as a user edits it by the emulator's documentation:
// 263 lines, with a game section.
inline QByteArray usersFile() {
    QByteArray file = firstStartFile();
    file.replace("WideScreen = 0", "WideScreen = true");
    file += "RefreshRate = 57.524\n\n[ vf3 ]\nInputPunch = \"KEY_Q\"\n";
    return file;
}

// The lines of `b` that differ from `a`'s, which has as many.
inline QList<QByteArray> changedLines(const QByteArray& a, const QByteArray& b) {
    const QList<QByteArray> before = a.split('\n');
    const QList<QByteArray> after = b.split('\n');
    if (before.size() != after.size())
        return {"line count differs"};
    QList<QByteArray> changed;
    for (qsizetype i = 0; i < before.size(); ++i) {
        if (before[i] != after[i])
            changed.append(after[i]);
    }
    return changed;
}
