#pragma once

// Resident memory of this process, for the benchmarks: the peak is reset
// before a step, and the step's cost is the peak after it less the memory
// before it.

#include <QByteArray>
#include <QFile>

#include <malloc.h>

namespace bench {

inline qint64 statusKiB(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Gives the memory freed so far back to the system, so that a step reusing
// it counts, and sets the peak back to what is resident then.
inline void resetPeak() {
    malloc_trim(0);
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

} // namespace bench
