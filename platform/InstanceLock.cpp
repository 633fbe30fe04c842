#include "platform/InstanceLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>

namespace platform {

namespace {} // namespace

InstanceLock::InstanceLock(const QString& programFile) {
    // One lock per program file and user, in the shared temporary folder.
    const QString owner = QFileInfo(programFile).absoluteFilePath() + u'\n' + QDir::homePath();
    const QByteArray key =
        QCryptographicHash::hash(owner.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    m_path =
        QDir::tempPath() + QLatin1String("/kestrun-") + QLatin1String(key) + QLatin1String(".lock");
    m_lock = std::make_unique<QLockFile>(m_path);
    // Only a dead owner makes a lock stale, however old it is.
    m_lock->setStaleLockTime(0);
}

InstanceLock::~InstanceLock() = default;

bool InstanceLock::acquire() {
    return m_lock->tryLock(0);
}

void InstanceLock::release() {
    m_lock->unlock();
}

QString InstanceLock::lockPath() const {
    return m_path;
}

} // namespace platform
