#include "platform/Files.h"

#include "platform/FileDescriptor.h"
#include "platform/TemporaryName.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>

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

FileRead readFile(const QString& path, qint64 limit) {
    struct stat facts;
    const FileDescriptor fd = openWithoutWaiting(path, facts);
    if (!fd.valid() || !S_ISREG(facts.st_mode))
        return {};
    if (facts.st_size > limit)
        return {FileRead::Outcome::TooLarge, {}};
    // Never more than one byte past the limit, whatever the file grew to.
    QByteArray bytes(qMin(qint64(facts.st_size), limit) + 1, Qt::Uninitialized);
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

} // namespace

bool writeFileAtomically(const QString& path, const QByteArray& bytes) {
    return replaceFile(path, [&bytes](int fd) { return writeAll(fd, bytes); }) == bytes.size();
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
