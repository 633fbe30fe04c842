#pragma once

#include <QString>
#include <memory>

class QLockFile;

namespace platform {

// Lets only one copy of the program run. The lock is keyed by the program
// file's path and kept outside the program folder: in the temporary folder,
// else in the user's runtime folder ($XDG_RUNTIME_DIR). A copy that crashed
// leaves a stale lock that the next copy takes over.
class InstanceLock final {
public:
    enum class Outcome {
        Acquired,         // this copy holds the lock
        RunningElsewhere, // a live copy holds it
        Unavailable,      // no lock can be made anywhere: run unguarded
    };

    explicit InstanceLock(const QString& programFile);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Tries the temporary folder, then the runtime folder. Only a lock held
    // by another live copy is RunningElsewhere; a folder that is missing or
    // refuses the file is passed over.
    Outcome acquire();
    void release();

    // Where the lock is (or would first be) made; empty when nowhere.
    QString lockPath() const;

private:
    QString m_name;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace platform
