#include "platform/InstanceLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

namespace {

// Names tried in one folder, in order, past files of other users.
constexpr int kNamesPerFolder = 4;

QString canonicalFolder(const QString& folder) {
    if (folder.isEmpty() || !QDir::isAbsolutePath(folder))
        return {};
    const QFileInfo info(folder);
    return info.isDir() ? info.canonicalFilePath() : QString();
}

QString runtimeFolder() {
    const QString folder = canonicalFolder(qEnvironmentVariable("XDG_RUNTIME_DIR"));
#ifndef Q_OS_WIN
    // Private to the user, or it is no runtime folder of theirs.
    if (!folder.isEmpty() && QFileInfo(folder).ownerId() != ::geteuid())
        return {};
#endif
    return folder;
}

// The program folder's lock: a hidden file of ours, as the save lock is,
// whatever the program file is called.
constexpr char kFolderLockName[] = ".kestrun-lock-instance";

// A file at `path` that is not this user's lock file: another user's, or
// not a plain file at all. Such a file is never read, taken over or removed.
bool notOurs(const QString& path) {
#ifdef Q_OS_WIN
    (void)path;
    return false;
#else
    struct stat facts {};
    if (::lstat(QFile::encodeName(path).constData(), &facts) != 0)
        return false;
    return facts.st_uid != ::geteuid() || !S_ISREG(facts.st_mode);
#endif
}

} // namespace

// The places the lock lives in, in the order it is taken: the runtime and
// the temporary folder (QDir::tempPath() is empty when it does not exist),
// keyed by the program file and the user; then the program folder itself,
// so that copies of one folder meet whatever their temporary folders.
std::vector<InstanceLock::Place> InstanceLock::places() const {
    std::vector<Place> places;
    QStringList folders;
    for (const QString& folder : {runtimeFolder(), canonicalFolder(QDir::tempPath())}) {
        if (!folder.isEmpty() && !folders.contains(folder)) {
            folders.append(folder);
            places.push_back(
                {folder + QStringLiteral("/kestrun-") + m_key, QStringLiteral(".lock")});
        }
    }
    if (!m_programFolder.isEmpty())
        places.push_back({m_programFolder + u'/' + QLatin1String(kFolderLockName), QString()});
    return places;
}

InstanceLock::InstanceLock(const QString& programFile)
    : m_programFolder(canonicalFolder(QFileInfo(programFile).absolutePath())) {
#ifdef Q_OS_WIN
    const QString user = QDir::homePath();
#else
    // The user, not the home folder: su may keep another's $HOME.
    const QString user = QString::number(::geteuid());
#endif
    const QString owner = QFileInfo(programFile).absoluteFilePath() + u'\n' + user;
    m_key = QLatin1String(
        QCryptographicHash::hash(owner.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
}

InstanceLock::~InstanceLock() = default;

QString InstanceLock::Place::name(int i) const {
    return stem + (i == 0 ? QString() : u'-' + QString::number(i)) + suffix;
}

InstanceLock::Try InstanceLock::tryPlace(const Place& place) {
    for (int i = 0; i < kNamesPerFolder; ++i) {
        const QString path = place.name(i);
        if (notOurs(path))
            continue;
        auto lock = std::make_unique<QLockFile>(path);
        // Only a dead owner makes a lock stale, however old it is.
        lock->setStaleLockTime(0);
        if (lock->tryLock(0)) {
            m_locks.push_back(std::move(lock));
            return Try::Taken;
        }
        if (lock->error() != QLockFile::LockFailedError)
            return Try::Unusable;
        // Made by another user between the look and the try: not ours either.
        if (!notOurs(path))
            return Try::Held;
    }
    return Try::Unusable;
}

InstanceLock::Outcome InstanceLock::acquire() {
    release();
    // Always in the same order, so that of two copies started at the same
    // instant, whichever loses a folder first gives up all it took.
    for (const Place& place : places()) {
        if (tryPlace(place) == Try::Held) {
            release();
            return Outcome::RunningElsewhere;
        }
    }
    return m_locks.empty() ? Outcome::Unavailable : Outcome::Acquired;
}

void InstanceLock::release() {
    for (const auto& lock : m_locks)
        lock->unlock();
    m_locks.clear();
}

QString InstanceLock::lockPath() const {
    if (!m_locks.empty())
        return m_locks.front()->fileName();
    const std::vector<Place> all = places();
    return all.empty() ? QString() : all.front().name(0);
}

} // namespace platform
