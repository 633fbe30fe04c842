#include "platform/Files.h"

#include "platform/TemporaryName.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace platform {

namespace {

// Large enough that skipping a huge line costs few reads, small enough not to
// count: the block is the reader's only buffer.
constexpr qsizetype kBlockSize = qsizetype(1) << 20;

// Where the line starting at `begin` ends: its first CR or LF, else `end`.
const char* lineEnd(const char* begin, const char* end) {
    const void* lf = std::memchr(begin, '\n', std::size_t(end - begin));
    const char* stop = lf ? static_cast<const char*>(lf) : end;
    const void* cr = std::memchr(begin, '\r', std::size_t(stop - begin));
    return cr ? static_cast<const char*>(cr) : stop;
}

bool isContinuationByte(char c) {
    return (uchar(c) & 0xC0) == 0x80;
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

std::optional<QByteArray> readFile(const QString& path) {
    if (!isFile(path))
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

bool openToRead(QFile& file) {
    // Unbuffered: the reader has its own block, a second copy would be waste.
    return isFile(file.fileName()) && file.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
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

namespace {

bool writeAll(int fd, const char* data, qsizetype size) {
    for (qsizetype done = 0; done < size;) {
        const ssize_t put = ::write(fd, data + done, std::size_t(size - done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        done += put;
    }
    return true;
}

// Replaces the ordinary file at `path` (or the one a link there leads to)
// with a new file beside it that `fill` writes, renamed over it once whole.
// The size of the file in place afterwards, or -1.
qint64 replaceFile(const QString& path, const std::function<bool(int)>& fill) {
    const Place place = placeAt(path);
    if (path.isEmpty() || (place != Place::Nothing && place != Place::File))
        return -1;
    // Through a link, the file it leads to is replaced and the link stays.
    const QFileInfo info(path);
    const QFileInfo target(info.isSymLink() ? info.canonicalFilePath() : info.absoluteFilePath());
    const QByteArray name = QFile::encodeName(target.fileName());
    const int folder = ::open(QFile::encodeName(target.absolutePath()).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return -1;
    const auto closeFolder = qScopeGuard([folder] { ::close(folder); });
    struct stat old;
    const bool replacing = ::fstatat(folder, name.constData(), &old, 0) == 0;

    QByteArray spare;
    int out;
    do {
        spare = temporaryName(name);
        out = ::openat(folder, spare.constData(),
                       O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    } while (out < 0 && errno == EEXIST);
    if (out < 0)
        return -1;
    const auto giveUp = [&] {
        if (out >= 0)
            ::close(out);
        ::unlinkat(folder, spare.constData(), 0);
        return -1;
    };
    // The user's file keeps its permissions (and, replaced by root, its owner).
    if (replacing) {
        if (::fchmod(out, old.st_mode & 07777) != 0)
            return giveUp();
        if (::geteuid() == 0)
            (void)::fchown(out, old.st_uid, old.st_gid);
    }
    // On the disk before the name moves: a crash leaves the old or the new whole.
    if (!fill(out) || ::fsync(out) != 0 || ::close(std::exchange(out, -1)) != 0)
        return giveUp();
    // rename replaces the name, never what a link there would lead to.
    if (::renameat(folder, spare.constData(), folder, name.constData()) != 0)
        return giveUp();
    struct stat now;
    if (::fstatat(folder, name.constData(), &now, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(now.st_mode))
        return -1;
    return now.st_size;
}

} // namespace

bool writeFileAtomically(const QString& path, const QByteArray& bytes) {
    return replaceFile(path, [&bytes](int fd) {
               return writeAll(fd, bytes.constData(), bytes.size());
           }) == bytes.size();
}

void removeWriteLeftovers(const QString& path) {
    const QFileInfo info(path);
    const QString name = info.fileName();
    QDirIterator it(info.absolutePath(),
                    QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    while (it.hasNext()) {
        it.next();
        if (isTemporaryNameOf(it.fileName(), name) && it.fileInfo().isFile())
            QFile::remove(it.filePath());
    }
}

void removeTemporaryFiles(const QString& folder) {
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    while (it.hasNext()) {
        it.next();
        if (isTemporaryName(it.fileName()) && it.fileInfo().isFile())
            QFile::remove(it.filePath());
    }
}

LineReader::LineReader(QIODevice& device, qsizetype maxLength)
    : m_device(device), m_maxLength(maxLength) {}

bool LineReader::fill() {
    m_block.resize(kBlockSize);
    const qint64 got = m_device.read(m_block.data(), kBlockSize);
    m_block.resize(got > 0 ? qsizetype(got) : 0);
    m_pos = 0;
    return got > 0;
}

bool LineReader::next(QByteArray& line) {
    line.clear();
    if (m_pos == m_block.size() && !fill())
        return false;
    for (;;) {
        const char* begin = m_block.constData() + m_pos;
        const char* blockEnd = m_block.constData() + m_block.size();
        const char* stop = lineEnd(begin, blockEnd);
        // One byte more than kept, to see whether the cut falls inside a
        // UTF-8 sequence.
        const qsizetype room = m_maxLength + 1 - line.size();
        if (room > 0)
            line.append(begin, qMin(qsizetype(stop - begin), room));
        m_pos = stop - m_block.constData();
        if (stop != blockEnd) {
            const bool cr = *stop == '\r';
            ++m_pos;
            if (cr && m_pos == m_block.size())
                fill();
            if (cr && m_pos < m_block.size() && m_block[m_pos] == '\n')
                ++m_pos;
            break;
        }
        if (!fill())
            break; // the last line has no end
    }
    if (line.size() > m_maxLength) {
        // Back up to the lead byte of a sequence the cut would split (at most
        // three bytes: no valid sequence is longer than four).
        qsizetype cut = m_maxLength;
        while (cut > 0 && m_maxLength - cut < 3 && isContinuationByte(line[cut]))
            --cut;
        if (isContinuationByte(line[cut]))
            cut = m_maxLength;
        line.truncate(cut);
    }
    return true;
}

bool copyFileAtomically(const QString& from, const QString& to) {
    QFile source(from);
    if (!isFile(from) || !source.open(QIODevice::ReadOnly))
        return false;
    qint64 copied = 0;
    const qint64 size = replaceFile(to, [&](int fd) {
        while (!source.atEnd()) {
            const QByteArray piece = source.read(64 * 1024);
            if (piece.isEmpty() || !writeAll(fd, piece.constData(), piece.size()))
                return false;
            copied += piece.size();
        }
        return source.error() == QFileDevice::NoError;
    });
    return size >= 0 && size == copied;
}

std::optional<QDateTime> modifiedTime(const QString& path) {
    if (!exists(path))
        return std::nullopt;
    const QDateTime time = QFileInfo(path).lastModified();
    if (!time.isValid())
        return std::nullopt;
    return time;
}

bool sameFile(const QString& a, const QString& b) {
    const QString ca = QFileInfo(a).canonicalFilePath();
    const QString cb = QFileInfo(b).canonicalFilePath();
    return !ca.isEmpty() && ca == cb;
}

} // namespace platform
