#pragma once

#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>

// The real emulator's build beside the repository, run headless.

namespace realemulator {

inline QString program() {
    return QStringLiteral(KESTRUN_REAL_EMULATOR "/supermodel");
}

// Why the real emulator cannot run here, or empty.
inline QString missing() {
    if (!QFileInfo(program()).isExecutable())
        return QStringLiteral("no real emulator in ../shared/real-emulator");
    if (QStandardPaths::findExecutable(QStringLiteral("xvfb-run")).isEmpty())
        return QStringLiteral("no xvfb-run to give the real emulator a display");
    QProcess ldd;
    ldd.start(QStringLiteral("ldd"), {program()});
    ldd.waitForFinished(10000);
    const QString libraries = QString::fromLocal8Bit(ldd.readAllStandardOutput());
    static const QRegularExpression notFound(QStringLiteral("^\\s*(\\S+) => not found"),
                                             QRegularExpression::MultilineOption);
    QStringList absent;
    for (auto it = notFound.globalMatch(libraries); it.hasNext();)
        absent << it.next().captured(1);
    if (!absent.isEmpty())
        return QStringLiteral("the real emulator's runtime packages are missing: ") +
               absent.join(QStringLiteral(", "));
    return {};
}

// What "-print-inputs" prints in `folder` (which needs Config/Games.xml and
// Assets/), standard output and errors merged; empty when it did not end.
inline QString printInputs(const QString& folder) {
    QProcess emu;
    emu.setWorkingDirectory(folder);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
    emu.setProcessEnvironment(env);
    emu.setProcessChannelMode(QProcess::MergedChannels);
    emu.start(QStandardPaths::findExecutable(QStringLiteral("xvfb-run")),
              {QStringLiteral("-a"), program(), QStringLiteral("-print-inputs")});
    if (!emu.waitForFinished(60000))
        return {};
    return QString::fromLocal8Bit(emu.readAll());
}

// The bindings "-print-inputs" printed, by group heading ("Ski Controls")
// and label ("Ski Champ X-Axis"): "Heading:" lines, then " Label = VALUE".
inline QHash<QString, QHash<QString, QString>> printedBindings(const QString& printed) {
    QHash<QString, QHash<QString, QString>> groups;
    QString heading;
    for (const QString& line : printed.split(u'\n')) {
        if (line.startsWith(u' ') && !heading.isEmpty() && line.contains(QLatin1String(" = "))) {
            const qsizetype at = line.indexOf(QLatin1String(" = "));
            groups[heading].insert(line.mid(1, at - 1), line.mid(at + 3).trimmed());
        } else if (line.endsWith(u':') && !line.startsWith(u' ')) {
            heading = line.chopped(1);
        }
    }
    return groups;
}

} // namespace realemulator
