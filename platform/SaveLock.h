#pragma once

#include <QString>
#include <memory>

class QLockFile;

namespace platform {

// How long a save waits for another copy's save of the same file.
inline constexpr int kSaveLockWaitMs = 2000;

// The lock every copy of the front-end holds while it reads, edits and
// replaces a file that copies share (the emulator's Supermodel.ini): a
// hidden lock file of ours beside that file, ".kestrun-lock-NAME". Copies
// whose program folders differ still meet there. A lock left by a process
// that died is taken over, as is an unreadable one once it is old.
class SaveLock final {
public:
    enum class Outcome {
        Locked,      // held until this object goes
        Busy,        // another copy held it all the time waited
        Unavailable, // no lock file can be made there (a read-only folder)
    };

    explicit SaveLock(const QString& file);
    ~SaveLock();
    SaveLock(const SaveLock&) = delete;
    SaveLock& operator=(const SaveLock&) = delete;

    Outcome acquire(int waitMs = kSaveLockWaitMs);

    // The lock file for `file`.
    static QString pathFor(const QString& file);

private:
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace platform
