#include "platform/SaveLock.h"

#include <QFileInfo>
#include <QLockFile>

namespace platform {

namespace {

// A save holds the lock for as long as it reads and writes one file of at
// most 16 MiB. A lock file whose owner cannot be read (cut short by a crash)
// is taken over once older than this; a live owner never holds it so long.
constexpr int kUnreadableLockAgeMs = 30 * 1000;

} // namespace

QString SaveLock::pathFor(const QString& file) {
    const QFileInfo info(file);
    return info.absolutePath() + QStringLiteral("/.kestrun-lock-") + info.fileName();
}

SaveLock::SaveLock(const QString& file) : m_lock(std::make_unique<QLockFile>(pathFor(file))) {
    m_lock->setStaleLockTime(kUnreadableLockAgeMs);
}

SaveLock::~SaveLock() = default;

SaveLock::Outcome SaveLock::acquire(int waitMs) {
    if (m_lock->tryLock(waitMs))
        return Outcome::Locked;
    return m_lock->error() == QLockFile::LockFailedError ? Outcome::Busy : Outcome::Unavailable;
}

} // namespace platform
