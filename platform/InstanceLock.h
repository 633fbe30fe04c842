#pragma once

#include <QString>
#include <memory>
#include <vector>

class QLockFile;

namespace platform {

// Lets only one copy of the program run per program file and user, and per
// program folder. The lock is kept in the user's private runtime folder
// ($XDG_RUNTIME_DIR, when it is an absolute path to a folder the user owns)
// and in the temporary folder, so that copies started with and without a
// runtime folder (a desktop, su, ssh) still see each other; and in the
// program folder too, a hidden ".kestrun-lock-instance", so that copies of
// one folder meet whatever their temporary folders or program files. A
// folder that refuses the file (a read-only program folder) is passed over.
// A copy that crashed leaves a stale lock that the next copy takes over; a
// file of another user's is never taken for this user's lock.
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

    // Takes the lock in every folder available, the runtime folder first and
    // the program folder last.
    // A live lock in any of them is RunningElsewhere (and nothing is kept); a
    // folder that is missing or refuses the file is passed over.
    Outcome acquire();
    void release();

    // Where the lock is (or would first be) made: the runtime or temporary
    // folder when there is one, else the program folder.
    QString lockPath() const;

private:
    // A lock file's name without its number, and what follows the number.
    struct Place {
        QString stem;
        QString suffix;
        QString name(int i) const;
    };
    std::vector<Place> places() const;

    enum class Try { Taken, Held, Unusable };
    Try tryPlace(const Place& place);

    QString m_programFolder;
    QString m_key;
    std::vector<std::unique_ptr<QLockFile>> m_locks;
};

} // namespace platform
