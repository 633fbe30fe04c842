#include "platform/Files.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cstring>

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

bool writeFileAtomically(const QString& path, const QByteArray& bytes) {
    if (path.isEmpty() || QFileInfo(path).isDir())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // write() only fills Qt's buffer, and a disk that fills up while commit()
    // empties it can still leave an empty file in place with commit() saying
    // yes: push every byte out first, while the old file is still whole.
    if (file.write(bytes) != bytes.size() || !file.flush() ||
        file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit())
        return false;
    return QFileInfo(path).size() == bytes.size();
}

void removeWriteLeftovers(const QString& path) {
    const QFileInfo info(path);
    const QString prefix = info.fileName() + u'.';
    QDirIterator it(info.absolutePath(),
                    QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        if (name.size() == prefix.size() + 6 && name.startsWith(prefix))
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
    if (!isFile(from) || to.isEmpty() || QFileInfo(to).isDir())
        return false;
    QFile source(from);
    QSaveFile target(to);
    if (!source.open(QIODevice::ReadOnly) || !target.open(QIODevice::WriteOnly))
        return false;
    QByteArray piece;
    while (!source.atEnd()) {
        piece = source.read(64 * 1024);
        if (piece.isEmpty() || target.write(piece) != piece.size()) {
            target.cancelWriting();
            return false;
        }
    }
    if (source.error() != QFileDevice::NoError) {
        target.cancelWriting();
        return false;
    }
    return target.commit();
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
