#pragma once

// Runs one case of a benchmark in a fresh copy of the benchmark program, so
// that a runaway case is measured, not suffered.

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace bench {

struct ChildCase {
    QList<QByteArray> figures; // what the child printed, split at blanks
    QString failure;           // why there are no figures, or empty
};

// The child's figures, when it ended by itself within `timeoutMs` and
// printed `count` of them.
inline ChildCase runChildCase(const QString& program, const QStringList& arguments, int count,
                              int timeoutMs) {
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(program, arguments);
    if (!child.waitForFinished(timeoutMs)) {
        child.kill();
        child.waitForFinished();
        return {{}, QStringLiteral("no answer after %1 s").arg(timeoutMs / 1000)};
    }
    const QList<QByteArray> figures = child.readAllStandardOutput().trimmed().split(' ');
    if (child.exitStatus() != QProcess::NormalExit || figures.size() != count)
        return {{}, QStringLiteral("crashed")};
    return {figures, {}};
}

} // namespace bench
