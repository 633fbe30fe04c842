#pragma once

#include <QString>
#include <memory>
#include <vector>

class QLockFile;

namespace platform {

// Lets only one copy of the program run per program file and user. The lock
// is kept outside the program folder: in the user's private runtime folder
// ($XDG_RUNTIME_DIR, when it is an absolute path to a folder the user owns)
// and in the temporary folder, both at once, so that copies started with and
// without a runtime folder (a desktop, su, ssh) still see each other. A copy
// that crashed leaves a stale lock that the next copy takes over; a file of
// another user's is never taken for this user's lock.
class InstanceLock final {
public:
    enum class Outcome {
        Acquired,         // this copy holds the lock
        RunningElsewhere, // a live copy of this user's holds it
        Unavailable,      // no lock can be made anywhere: run unguarded
    };

    explicit InstanceLock(const QString& programFile);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Takes the lock in every folder available, the runtime folder first.
    // A live lock in any of them is RunningElsewhere (and nothing is kept); a
    // folder that is missing or refuses the file is passed over.
    Outcome acquire();
    void release();

    // Where the lock is (or would first be) made; empty when nowhere.
    QString lockPath() const;

private:
    enum class Try { Taken, Held, Unusable };
    Try tryFolder(const QString& folder);

    QString m_key;
    std::vector<std::unique_ptr<QLockFile>> m_locks;
};

} // namespace platform
