#include "platform/FileDescriptor.h"

#include "platform/TemporaryName.h"

#include <QFile>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

// Moves the finished file from `spare` to `name`: 0, or an errno value (EEXIST
// when `name` is taken and may not be replaced).
int moveInto(int folder, const QByteArray& spare, const QByteArray& name, bool overExisting) {
    // rename replaces the name, never what a link there would lead to.
    if (overExisting)
        return ::renameat(folder, spare.constData(), folder, name.constData()) == 0 ? 0 : errno;
    if (::renameat2(folder, spare.constData(), folder, name.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // Where the file system cannot rename without replacing, a new name
    // made for the file fails the same way when one is there.
    if (::linkat(folder, spare.constData(), folder, name.constData(), 0) != 0)
        return errno;
    ::unlinkat(folder, spare.constData(), 0);
    return 0;
}

} // namespace

FileDescriptor::~FileDescriptor() {
    if (m_fd >= 0)
        ::close(m_fd);
}

int FileDescriptor::close() {
    return ::close(std::exchange(m_fd, -1)) == 0 ? 0 : errno;
}

FileDescriptor openWithoutWaiting(const QString& path, struct stat& facts, int flags) {
    FileDescriptor fd(::open(QFile::encodeName(path).constData(),
                             O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | flags));
    if (fd.valid() && ::fstat(fd.get(), &facts) != 0) {
        const int error = errno;
        fd = FileDescriptor();
        errno = error;
    }
    return fd;
}

int writeAll(int fd, QByteArrayView bytes) {
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t put = ::write(fd, bytes.data() + done, std::size_t(bytes.size() - done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return put < 0 ? errno : ENOSPC;
        done += put;
    }
    return 0;
}

int copyBytes(int in, int out, qint64& budget) {
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        const ssize_t got = ::read(in, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return got < 0 ? errno : 0;
        budget -= got;
        if (budget < 0)
            return kGrew;
        if (const int error = writeAll(out, QByteArrayView(buffer.data(), got)))
            return error;
    }
}

int replaceAt(int folder, const QByteArray& name, const std::function<int(int fd)>& fill,
              const Replacement& how) {
    struct stat old;
    const bool keep = how.keepPermissions && ::fstatat(folder, name.constData(), &old, 0) == 0;
    QByteArray spare;
    FileDescriptor out;
    do {
        spare = temporaryName(name);
        out = FileDescriptor(::openat(folder, spare.constData(),
                                      O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    } while (!out.valid() && errno == EEXIST);
    if (!out.valid())
        return errno;

    int error = keep && ::fchmod(out.get(), old.st_mode & 07777) != 0 ? errno : 0;
    if (!error && keep && ::geteuid() == 0)
        (void)::fchown(out.get(), old.st_uid, old.st_gid);
    if (!error)
        error = fill(out.get());
    if (!error && how.modified) {
        const struct timespec times[2] = {{0, UTIME_OMIT}, *how.modified};
        if (::futimens(out.get(), times) != 0)
            error = errno;
    }
    // On the disk before the name moves: a crash leaves the old or the new whole.
    if (!error && ::fsync(out.get()) != 0)
        error = errno;
    if (!error)
        error = out.close();
    if (!error)
        error = moveInto(folder, spare, name, how.overExisting);
    if (error)
        ::unlinkat(folder, spare.constData(), 0);
    return error;
}

} // namespace platform
