#include "platform/InstanceLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>

namespace platform {

namespace {

// The folders a lock may live in, in order. QDir::tempPath() is empty when
// the temporary folder does not exist.
QStringList lockFolders() {
    QStringList folders;
    for (const QString& folder : {QDir::tempPath(), qEnvironmentVariable("XDG_RUNTIME_DIR")}) {
        if (!folder.isEmpty() && QFileInfo(folder).isDir())
            folders.append(folder);
    }
    return folders;
}

} // namespace

InstanceLock::InstanceLock(const QString& programFile) {
    // One lock per program file and user.
    const QString owner = QFileInfo(programFile).absoluteFilePath() + u'\n' + QDir::homePath();
    const QByteArray key =
        QCryptographicHash::hash(owner.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    m_name = QLatin1String("/kestrun-") + QLatin1String(key) + QLatin1String(".lock");
}

InstanceLock::~InstanceLock() = default;

InstanceLock::Outcome InstanceLock::acquire() {
    for (const QString& folder : lockFolders()) {
        auto lock = std::make_unique<QLockFile>(folder + m_name);
        // Only a dead owner makes a lock stale, however old it is.
        lock->setStaleLockTime(0);
        if (lock->tryLock(0)) {
            m_lock = std::move(lock);
            return Outcome::Acquired;
        }
        if (lock->error() == QLockFile::LockFailedError)
            return Outcome::RunningElsewhere;
    }
    return Outcome::Unavailable;
}

void InstanceLock::release() {
    if (m_lock)
        m_lock->unlock();
}

QString InstanceLock::lockPath() const {
    if (m_lock)
        return m_lock->fileName();
    const QStringList folders = lockFolders();
    return folders.isEmpty() ? QString() : folders.first() + m_name;
}

} // namespace platform
