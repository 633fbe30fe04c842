#include "platform/Files.h"

#include "platform/FileDescriptor.h"
#include "platform/TemporaryName.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <unistd.h>

namespace platform {

namespace {

// Replaces the ordinary file at `path` (or the one a link there leads to)
// with what `fill` writes. The size of the file in place afterwards, or -1.
qint64 replaceFile(const QString& path, const std::function<int(int)>& fill) {
    const Place place = placeAt(path);
    if (path.isEmpty() || (place != Place::Nothing && place != Place::File))
        return -1;
    // Through a link, the file it leads to is replaced and the link stays.
    const QFileInfo info(path);
    const QFileInfo target(info.isSymLink() ? info.canonicalFilePath() : info.absoluteFilePath());
    const QByteArray name = QFile::encodeName(target.fileName());
    const FileDescriptor folder(::open(QFile::encodeName(target.absolutePath()).constData(),
                                       O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    // The user's file keeps its permissions (and, replaced by root, its owner).
    if (!folder.valid() || replaceAt(folder.get(), name, fill, {.keepPermissions = true}) != 0)
        return -1;
    struct stat now;
    if (::fstatat(folder.get(), name.constData(), &now, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(now.st_mode))
        return -1;
    return now.st_size;
}

// Removes the ordinary files in `folder` whose names `ours` picks.
void removeFilesIn(const QString& folder, const std::function<bool(const QString&)>& ours) {
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    while (it.hasNext()) {
        it.next();
        if (ours(it.fileName()) && it.fileInfo().isFile())
            QFile::remove(it.filePath());
    }
}

} // namespace

bool isFile(const QString& path) {
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

bool exists(const QString& path) {
    return !path.isEmpty() && QFileInfo::exists(path);
}

bool makeFolder(const QString& path) {
    return !path.isEmpty() && QDir().mkdir(path);
}

FileRead readFile(const QString& path, qint64 limit) {
    struct stat facts;
    const FileDescriptor fd = openWithoutWaiting(path, facts);
    if (!fd.valid() || !S_ISREG(facts.st_mode))
        return {};
    if (facts.st_size > limit)
        return {FileRead::Outcome::TooLarge, {}};
    // Never more than one byte past the limit, whatever the file grew to.
    QByteArray bytes(qsizetype(facts.st_size) + 1, Qt::Uninitialized);
    qint64 got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd.get(), bytes.data() + got, std::size_t(bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return {};
        if (n == 0)
            break;
        got += n;
        if (got == bytes.size() && got <= limit)
            bytes.resize(qMin(2 * got, limit + 1)); // it grew since the look
    }
    if (got > limit)
        return {FileRead::Outcome::TooLarge, {}};
    bytes.truncate(got);
    return {FileRead::Outcome::Read, bytes};
}

bool openToRead(QFile& file) {
    struct stat facts;
    FileDescriptor fd = openWithoutWaiting(file.fileName(), facts);
    if (!fd.valid() || !S_ISREG(facts.st_mode))
        return false;
    // Unbuffered: the reader has its own block, a second copy would be waste.
    if (!file.open(fd.get(), QIODevice::ReadOnly | QIODevice::Unbuffered,
                   QFileDevice::AutoCloseHandle))
        return false;
    fd.release();
    return true;
}

Place placeAt(const QString& path) {
    if (path.isEmpty())
        return Place::Nothing;
    const QByteArray name = QFile::encodeName(path);
    struct stat st;
    if (::lstat(name.constData(), &st) != 0)
        return errno == ENOENT || errno == ENOTDIR ? Place::Nothing : Place::Unknown;
    if (S_ISLNK(st.st_mode) && ::stat(name.constData(), &st) != 0)
        return errno == ENOENT || errno == ENOTDIR || errno == ELOOP ? Place::DanglingLink
                                                                     : Place::Unknown;
    if (S_ISREG(st.st_mode))
        return Place::File;
    if (S_ISDIR(st.st_mode))
        return Place::Folder;
    if (S_ISFIFO(st.st_mode))
        return Place::Pipe;
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
        return Place::Device;
    if (S_ISSOCK(st.st_mode))
        return Place::Socket;
    return Place::Unknown;
}

QString placeName(Place place) {
    switch (place) {
    case Place::Nothing:
        return QStringLiteral("nothing");
    case Place::File:
        return QStringLiteral("an ordinary file");
    case Place::Folder:
        return QStringLiteral("a folder");
    case Place::Pipe:
        return QStringLiteral("a named pipe");
    case Place::Device:
        return QStringLiteral("a device");
    case Place::Socket:
        return QStringLiteral("a socket");
    case Place::DanglingLink:
        return QStringLiteral("a link that leads nowhere");
    case Place::Unknown:
        break;
    }
    return QStringLiteral("something that cannot be looked at");
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes) {
    return replaceFile(path, [&bytes](int fd) { return writeAll(fd, bytes); }) == bytes.size();
}

void removeWriteLeftovers(const QString& path) {
    const QFileInfo info(path);
    removeFilesIn(info.absolutePath(), [name = info.fileName()](const QString& candidate) {
        return isTemporaryNameOf(candidate, name);
    });
}

void removeTemporaryFiles(const QString& folder) {
    removeFilesIn(folder, isTemporaryName);
}

bool copyFileAtomically(const QString& from, const QString& to) {
    struct stat facts;
    const FileDescriptor source = openWithoutWaiting(from, facts);
    if (!source.valid() || !S_ISREG(facts.st_mode))
        return false;
    constexpr qint64 kUnbounded = std::numeric_limits<qint64>::max();
    qint64 budget = kUnbounded;
    const qint64 size =
        replaceFile(to, [&](int fd) { return copyBytes(source.get(), fd, budget); });
    return size >= 0 && size == kUnbounded - budget;
}

bool sameFile(const QString& a, const QString& b) {
    const QString ca = QFileInfo(a).canonicalFilePath();
    const QString cb = QFileInfo(b).canonicalFilePath();
    return !ca.isEmpty() && ca == cb;
}

} // namespace platform
