#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <sys/stat.h>
#include <utility>

namespace platform {

// The descriptor-level file work that Files and SafeCopy share: one owner of
// a descriptor, one open that never waits, one atomic replace.

// Owns a file descriptor.
class FileDescriptor final {
public:
    explicit FileDescriptor(int fd = -1) : m_fd(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        std::swap(m_fd, other.m_fd);
        return *this;
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor();

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    // Gives the descriptor up to a new owner.
    int release() { return std::exchange(m_fd, -1); }
    // Closes now, for the error a delayed write can report only here: 0 or
    // an errno value.
    int close();

private:
    int m_fd;
};

// Opens `path` to read without ever waiting: a named pipe or a device opens
// at once, and `facts` says what was opened (only an ordinary file is ever
// read here). `flags` adds to the open's (O_NOFOLLOW). Invalid, with errno
// set, when it cannot be opened or looked at.
FileDescriptor openWithoutWaiting(const QString& path, struct stat& facts, int flags = 0);

// What copyBytes returns when the source held more than its budget.
inline constexpr int kGrew = -1;

// Copies `in` to its end into `out`, taking what it reads from `budget`: 0,
// an errno value, or kGrew when the budget ran out.
int copyBytes(int in, int out, qint64& budget);

// Writes all of `bytes` to `fd`: 0 or an errno value.
int writeAll(int fd, QByteArrayView bytes);

// How replaceAt treats the name it writes.
struct Replacement {
    bool overExisting = true;     // false: whatever has the name is kept
    bool keepPermissions = false; // the replaced file's, and its owner when root replaces it
    const struct timespec* modified = nullptr; // the new file's modification time
};

// Puts a new file at `name` in the open `folder`: made under a temporary name
// of ours beside it (temporaryName), written by `fill`, synced, then renamed
// to `name`, so that an interruption leaves the old file or the whole new
// one. A link at `name` is itself replaced, never written through. On a
// failure the new file goes and the old stays.
//
// 0 when done; EEXIST when, not over an existing one, something had the name
// (the new file gone); otherwise an errno value, or what `fill` returned
// other than 0. Not QSaveFile: it writes through links and devices, and in
// Qt 6.4 can report success on a full disk after an empty file was put in place.
int replaceAt(int folder, const QByteArray& name, const std::function<int(int fd)>& fill,
              const Replacement& how);

} // namespace platform
