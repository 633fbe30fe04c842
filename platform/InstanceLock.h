#pragma once

#include <QString>
#include <memory>

class QLockFile;

namespace platform {

// Lets only one copy of the program run. The lock is keyed by the program
// file's path and kept outside the program folder; a copy that crashed leaves
// a stale lock that the next copy takes over.
class InstanceLock final {
public:
    explicit InstanceLock(const QString& programFile);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True when this copy now holds the lock; false when another copy runs.
    bool acquire();
    void release();

    QString lockPath() const;

private:
    std::unique_ptr<QLockFile> m_lock;
    QString m_path;
};

} // namespace platform
