#include "platform/SaveLock.h"

#include "platform/FileDescriptor.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>
#include <algorithm>
#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// A save holds the lock for as long as it reads and writes one file of at
// most 16 MiB. A lock file whose owner cannot be read (cut short by a crash)
// is taken over once older than this; a live owner never holds it so long.
constexpr int kUnreadableLockAgeMs = 30 * 1000;

// A lock file names its owner in three short lines.
constexpr off_t kLockFileLimit = 4096;

// A copy makes its lock file and locks it at once, then writes its name in
// it. An empty lock file that nobody holds and that is older than this was
// left by a copy killed in between.
constexpr qint64 kEmptyLockAgeMs = 1000;

// How often a waiting save looks again.
constexpr qint64 kRetryMs = 20;

// QLockFile takes a lock of its own, beside ours, to remove a stale one.
QString removalLockOf(const QString& lock) {
    return lock + QStringLiteral(".rmlock");
}

QString kindOf(mode_t mode) {
    if (S_ISLNK(mode))
        return QStringLiteral("a symbolic link");
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    if (S_ISFIFO(mode))
        return QStringLiteral("a named pipe");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("a device");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    return QStringLiteral("something other than a file");
}

qint64 ageMs(const struct timespec& modified) {
    struct timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const qint64 ms = qint64(now.tv_sec - modified.tv_sec) * 1000 +
                      (qint64(now.tv_nsec) - qint64(modified.tv_nsec)) / 1000000;
    return ms < 0 ? -ms : ms; // a clock set back counts as old too
}

// Looks at what is in a lock's place before QLockFile reads it, which would
// wait on a named pipe for ever and read a device without end: without
// following a link, opening anything but an ordinary file, or waiting. What
// it finds that is no lock file, as a box names it; empty when there is a
// lock file or nothing. An empty lock file that nobody holds, left by a
// kill, is removed on the way.
QString inspect(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::lstat(name.constData(), &st) != 0)
        return {}; // nothing, or a folder QLockFile cannot use either
    if (!S_ISREG(st.st_mode))
        return kindOf(st.st_mode);
    const FileDescriptor fd = openWithoutWaiting(path, st, O_NOFOLLOW);
    if (!fd.valid())
        return errno == ELOOP ? kindOf(S_IFLNK) : QString(); // else QLockFile sees for itself
    QString found;
    if (!S_ISREG(st.st_mode)) {
        found = kindOf(st.st_mode); // put there since the look
    } else if (st.st_size > kLockFileLimit) {
        found = QStringLiteral("a file too large to be a lock");
    } else if (st.st_size == 0 && ageMs(st.st_mtim) > kEmptyLockAgeMs &&
               ::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) {
        // Nobody holds it, and while this holds it, nobody else removes it
        // and makes a new one under the same name: only this very file goes.
        struct stat now {};
        if (::lstat(name.constData(), &now) == 0 && now.st_dev == st.st_dev &&
            now.st_ino == st.st_ino && now.st_size == 0)
            ::unlink(name.constData());
    }
    return found;
}

} // namespace

QString SaveLock::pathFor(const QString& file) {
    const QFileInfo info(file);
    return info.absolutePath() + QStringLiteral("/.kestrun-lock-") + info.fileName();
}

QString SaveLock::obstacle(const QString& file) {
    const QString lock = pathFor(file);
    for (const QString& path : {lock, removalLockOf(lock)}) {
        const QString found = inspect(path);
        if (!found.isEmpty())
            return path + QStringLiteral(" is ") + found;
    }
    return {};
}

SaveLock::SaveLock(const QString& file)
    : m_path(pathFor(file)), m_lock(std::make_unique<QLockFile>(m_path)) {
    m_lock->setStaleLockTime(kUnreadableLockAgeMs);
}

SaveLock::~SaveLock() = default;

SaveLock::Outcome SaveLock::acquire(int waitMs) {
    // QLockFile is only asked without waiting, each time after a look: its
    // own wait reads the file again and again unlooked.
    const QDeadlineTimer deadline(waitMs);
    for (;;) {
        for (const QString& path : {m_path, removalLockOf(m_path)}) {
            if (!inspect(path).isEmpty())
                return Outcome::Obstructed;
        }
        if (m_lock->tryLock(0))
            return Outcome::Locked;
        if (m_lock->error() != QLockFile::LockFailedError)
            return Outcome::Unavailable;
        const qint64 left = deadline.remainingTime();
        if (left == 0)
            return Outcome::Busy;
        QThread::msleep(std::min(left, kRetryMs));
    }
}

} // namespace platform
