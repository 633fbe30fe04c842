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
// that died is taken over, as is an unreadable one once it is old, and an
// empty one (its maker killed before it wrote a word) within a second.
//
// Only an ordinary file of a lock's size is ever read there: a named pipe, a
// device, a folder, a socket or a link in the lock's place (or in that of
// the lock it takes to remove a stale one) is left alone, and nothing is
// saved while it is there.
class SaveLock final {
public:
    enum class Outcome {
        Locked,      // held until this object goes
        Busy,        // another copy held it all the time waited
        Unavailable, // no lock file can be made there (a read-only folder)
        Obstructed,  // something that is no lock file is in its place: obstacle()
    };

    explicit SaveLock(const QString& file);
    ~SaveLock();
    SaveLock(const SaveLock&) = delete;
    SaveLock& operator=(const SaveLock&) = delete;

    Outcome acquire(int waitMs = kSaveLockWaitMs);

    // The lock file for `file`.
    static QString pathFor(const QString& file);

    // What stands in the place of the lock for `file`, as a box says it
    // (".../.kestrun-lock-Supermodel.ini is a named pipe"); empty when
    // nothing but a lock file or nothing is there.
    static QString obstacle(const QString& file);

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace platform
