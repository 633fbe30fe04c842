#include "platform/ZipDirectory.h"

#include "platform/FileDescriptor.h"

#include <QFile>
#include <QLibrary>
#include <QScopeGuard>
#include <QtEndian>
#include <cerrno>
#include <cstring>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <zip.h>

namespace platform {

namespace {

// libzip parses the directory, but never sees the file. Left to itself it
// takes time and memory that follow whatever the end records claim: with many
// end records in the tail it reads every member's header once for each of
// them, and a zip64 record claiming millions of members allocates them all
// before reading one, and it keeps every extra field of every member. So the
// end records are read here, the directory is bounded and walked, what libzip
// needs of each entry is copied out, and libzip opens a clean archive in
// memory made of those entries and one end record alone.

constexpr qint64 kEndRecordSize = 22;
constexpr qint64 kCommentLimit = 0xFFFF;
constexpr qint64 kLocatorSize = 20;
constexpr qint64 kZip64RecordSize = 56;
constexpr qint64 kEntrySize = 46; // an entry's fixed part, before its name
constexpr quint32 kEndSignature = 0x06054b50;
constexpr quint32 kLocatorSignature = 0x07064b50;
constexpr quint32 kZip64Signature = 0x06064b50;
constexpr quint32 kEntrySignature = 0x02014b50;

// libzip looks for end records in the last 64 KiB of what it opens: this much
// blank space between the directory and the end record keeps the directory's
// own bytes (a name may hold an end record's signature) out of that search,
// so that libzip finds exactly one end record and never weighs candidates.
constexpr qint64 kGap = qint64(128) << 10;

// Reads `length` bytes at `offset`; false unless every one was read.
using ReadAt = std::function<bool(qint64 offset, char* to, qint64 length)>;

quint16 u16(const char* p) {
    return qFromLittleEndian<quint16>(p);
}
quint32 u32(const char* p) {
    return qFromLittleEndian<quint32>(p);
}
quint64 u64(const char* p) {
    return qFromLittleEndian<quint64>(p);
}

struct Directory {
    quint64 end = 0; // where the end record (or the zip64 record) begins
    quint64 size = 0;
    quint64 offset = 0; // as recorded; data may precede the archive
    quint64 entries = 0;
    bool oneDisk = false; // split archives are not read
};

// The zip64 record that the locator just before the end record points at,
// if any. As the emulator's unzip does, a locator or record that does not
// hold up means the plain end record counts.
std::optional<Directory> zip64Directory(const char* locator, qint64 locatorAt, const ReadAt& read) {
    if (u32(locator) != kLocatorSignature || u32(locator + 4) != 0 || u32(locator + 16) != 1)
        return std::nullopt;
    const quint64 at = u64(locator + 8);
    if (locatorAt < kZip64RecordSize || at > quint64(locatorAt - kZip64RecordSize))
        return std::nullopt;
    char record[kZip64RecordSize];
    if (!read(qint64(at), record, kZip64RecordSize) || u32(record) != kZip64Signature)
        return std::nullopt;
    const bool oneDisk =
        u32(record + 16) == 0 && u32(record + 20) == 0 && u64(record + 24) == u64(record + 32);
    return Directory{at, u64(record + 40), u64(record + 48), u64(record + 32), oneDisk};
}

// Where the directory lies and what it holds, by the end records as the
// emulator reads them: the last end record signature in the tail counts.
std::optional<Directory> findDirectory(qint64 fileSize, const ReadAt& read) {
    if (fileSize < kEndRecordSize)
        return std::nullopt;
    const qint64 tailSize = qMin(fileSize, kLocatorSize + kCommentLimit + kEndRecordSize);
    const qint64 tailAt = fileSize - tailSize;
    QByteArray tail(tailSize, Qt::Uninitialized);
    if (!read(tailAt, tail.data(), tailSize))
        return std::nullopt;
    const qsizetype at =
        tail.lastIndexOf(QByteArrayView("PK\x05\x06", 4), tail.size() - kEndRecordSize);
    if (at < 0 || at < tail.size() - kEndRecordSize - kCommentLimit)
        return std::nullopt;
    const char* record = tail.constData() + at;
    if (at >= kLocatorSize) {
        if (auto zip64 = zip64Directory(record - kLocatorSize, tailAt + at - kLocatorSize, read))
            return zip64;
    }
    const quint16 entries = u16(record + 10);
    const bool oneDisk = u16(record + 4) == 0 && u16(record + 6) == 0 && u16(record + 8) == entries;
    return Directory{quint64(tailAt + at), u32(record + 12), u32(record + 16), entries, oneDisk};
}

bool withinBounds(const Directory& d) {
    return d.oneDisk && d.size <= quint64(kZipDirectoryLimit) && d.entries * kEntrySize <= d.size &&
           d.size <= d.end && d.offset <= d.end - d.size;
}

// The directory read front to back through a window of the file, so that
// what is skipped (comments, extra fields no one reads) is never kept.
class DirectoryReader {
public:
    DirectoryReader(const ReadAt& read, qint64 start, qint64 size)
        : m_read(read), m_at(start), m_end(start + size) {}

    // The next `length` bytes, or null when the directory ends first or
    // they cannot be read.
    const char* take(qint64 length) {
        if (length > m_end - m_at)
            return nullptr;
        if (m_at < m_windowAt || m_at + length > m_windowAt + m_window.size()) {
            const qint64 size = qMin(qMax(length, kWindow), m_end - m_at);
            m_window.resize(size);
            if (!m_read(m_at, m_window.data(), size))
                return nullptr;
            m_windowAt = m_at;
        }
        const char* bytes = m_window.constData() + (m_at - m_windowAt);
        m_at += length;
        return bytes;
    }

    bool skip(qint64 length) {
        if (length > m_end - m_at)
            return false;
        m_at += length;
        return true;
    }

    bool atEnd() const { return m_at == m_end; }

private:
    static constexpr qint64 kWindow = qint64(64) << 10;
    const ReadAt& m_read;
    qint64 m_at;
    qint64 m_end;
    QByteArray m_window;
    qint64 m_windowAt = 0;
};

// Of an entry's extra fields, libzip reads three for what is asked of it:
// the zip64 sizes and offset (28 bytes at most), the UTF-8 name, and the
// AES marker (7 bytes; another length is refused). The first of each is
// kept, bounded; the rest are dropped. A block libzip would refuse as
// malformed is refused here.
constexpr quint16 kZip64Field = 0x0001;
constexpr quint16 kUtf8NameField = 0x7075;
constexpr quint16 kAesField = 0x9901;

bool keepExtraFields(const char* extra, qint64 length, QByteArray& out, ZipProblem& problem) {
    bool zip64 = false, utf8Name = false, aes = false;
    qint64 at = 0;
    while (length - at >= 4) {
        const quint16 id = u16(extra + at);
        const qint64 size = u16(extra + at + 2);
        if (size > length - at - 4) {
            problem = ZipProblem::Unreadable;
            return false;
        }
        qint64 kept = -1;
        if (id == kZip64Field && !std::exchange(zip64, true))
            kept = qMin<qint64>(size, 28);
        else if (id == kUtf8NameField && !std::exchange(utf8Name, true)) {
            if (size > 5 + kZipNameLimit) {
                problem = ZipProblem::LongName;
                return false;
            }
            kept = size;
        } else if (id == kAesField && !std::exchange(aes, true))
            kept = qMin<qint64>(size, 8);
        if (kept >= 0) {
            char head[4];
            qToLittleEndian<quint16>(id, head);
            qToLittleEndian<quint16>(quint16(kept), head + 2);
            out.append(head, 4).append(extra + at + 4, kept);
        }
        at += 4 + size;
    }
    // Up to three zero bytes of padding are allowed, as libzip allows them.
    for (; at < length; ++at) {
        if (extra[at] != 0) {
            problem = ZipProblem::Unreadable;
            return false;
        }
    }
    return true;
}

// The directory alone as an archive: its entries as kept, the gap, and a
// fresh end record (with a zip64 record once the count needs one), the
// directory at 0. Refused, saying why, when an entry does not hold up, a
// name is over the bound, or the entries do not fill the directory exactly
// (as libzip refuses it).
std::optional<QByteArray> cleanArchive(const Directory& d, const ReadAt& read,
                                       ZipProblem& problem) {
    problem = ZipProblem::Unreadable;
    DirectoryReader reader(read, qint64(d.end - d.size), qint64(d.size));
    QByteArray archive;
    // What is kept is at most the directory: pages never written cost nothing.
    archive.reserve(qsizetype(d.size) + kGap + kZip64RecordSize + kLocatorSize + kEndRecordSize);
    for (quint64 i = 0; i < d.entries; ++i) {
        const char* fixed = reader.take(kEntrySize);
        if (!fixed || u32(fixed) != kEntrySignature)
            return std::nullopt;
        const qint64 nameSize = u16(fixed + 28);
        const qint64 extraSize = u16(fixed + 30);
        const qint64 commentSize = u16(fixed + 32);
        if (nameSize > kZipNameLimit) {
            problem = ZipProblem::LongName;
            return std::nullopt;
        }
        const qsizetype entryAt = archive.size();
        archive.append(fixed, kEntrySize);
        const char* name = reader.take(nameSize);
        if (!name)
            return std::nullopt;
        archive.append(name, nameSize);
        const char* extra = reader.take(extraSize);
        if (!extra)
            return std::nullopt;
        const qsizetype extraAt = archive.size();
        if (!keepExtraFields(extra, extraSize, archive, problem))
            return std::nullopt;
        qToLittleEndian<quint16>(quint16(archive.size() - extraAt), archive.data() + entryAt + 30);
        qToLittleEndian<quint16>(0, archive.data() + entryAt + 32); // the comment goes
        if (!reader.skip(commentSize))
            return std::nullopt;
    }
    if (!reader.atEnd())
        return std::nullopt;

    const quint64 size = quint64(archive.size());
    const bool zip64 = d.entries >= 0xFFFF;
    archive.append(kGap + (zip64 ? kZip64RecordSize + kLocatorSize : 0) + kEndRecordSize, '\0');
    char* p = archive.data() + size + kGap;
    if (zip64) {
        qToLittleEndian<quint32>(kZip64Signature, p);
        qToLittleEndian<quint64>(kZip64RecordSize - 12, p + 4);
        qToLittleEndian<quint16>(45, p + 12);
        qToLittleEndian<quint16>(45, p + 14);
        qToLittleEndian<quint64>(d.entries, p + 24);
        qToLittleEndian<quint64>(d.entries, p + 32);
        qToLittleEndian<quint64>(size, p + 40);
        p += kZip64RecordSize;
        qToLittleEndian<quint32>(kLocatorSignature, p);
        qToLittleEndian<quint64>(size + quint64(kGap), p + 8);
        qToLittleEndian<quint32>(1, p + 16);
        p += kLocatorSize;
    }
    qToLittleEndian<quint32>(kEndSignature, p);
    qToLittleEndian<quint16>(zip64 ? 0xFFFF : quint16(d.entries), p + 8);
    qToLittleEndian<quint16>(zip64 ? 0xFFFF : quint16(d.entries), p + 10);
    qToLittleEndian<quint32>(zip64 ? 0xFFFFFFFF : quint32(size), p + 12);
    qToLittleEndian<quint32>(zip64 ? 0xFFFFFFFF : 0, p + 16);
    problem = ZipProblem::None;
    return archive;
}

// libzip and what it pulls in (OpenSSL's libcrypto among them) cost the
// start-up a few milliseconds and megabytes; the first directory read loads
// it, and it then stays.
#define KESTRUN_LIBZIP_FUNCTIONS(X)                                                                \
    X(zip_error_init)                                                                              \
    X(zip_error_fini)                                                                              \
    X(zip_source_buffer_create)                                                                    \
    X(zip_open_from_source)                                                                        \
    X(zip_source_free)                                                                             \
    X(zip_discard)                                                                                 \
    X(zip_get_num_entries)                                                                         \
    X(zip_stat_init)                                                                               \
    X(zip_stat_index)

struct Libzip {
#define KESTRUN_LIBZIP_MEMBER(name) decltype(&::name) name = nullptr;
    KESTRUN_LIBZIP_FUNCTIONS(KESTRUN_LIBZIP_MEMBER)
#undef KESTRUN_LIBZIP_MEMBER
};

const Libzip* libzip() {
    static const std::optional<Libzip> loaded = []() -> std::optional<Libzip> {
        QLibrary library(QStringLiteral("zip"), 4);
        library.setLoadHints(QLibrary::ResolveAllSymbolsHint);
        if (!library.load())
            return std::nullopt;
        Libzip lib;
        bool complete = true;
#define KESTRUN_LIBZIP_RESOLVE(name)                                                               \
    lib.name = reinterpret_cast<decltype(lib.name)>(library.resolve(#name));                       \
    complete = complete && lib.name != nullptr;
        KESTRUN_LIBZIP_FUNCTIONS(KESTRUN_LIBZIP_RESOLVE)
#undef KESTRUN_LIBZIP_RESOLVE
        if (!complete)
            return std::nullopt;
        return lib;
    }();
    return loaded ? &*loaded : nullptr;
}

std::optional<QList<ZipMember>> membersOf(const QByteArray& archive, quint64 entries) {
    const Libzip* lib = libzip();
    if (!lib)
        return std::nullopt;
    zip_error_t error;
    lib->zip_error_init(&error);
    const auto finishError = qScopeGuard([lib, &error] { lib->zip_error_fini(&error); });
    zip_source_t* source =
        lib->zip_source_buffer_create(archive.constData(), zip_uint64_t(archive.size()), 0, &error);
    if (!source)
        return std::nullopt;
    zip_t* zip = lib->zip_open_from_source(source, ZIP_RDONLY, &error);
    if (!zip) {
        lib->zip_source_free(source);
        return std::nullopt;
    }
    const auto close = qScopeGuard([lib, zip] { lib->zip_discard(zip); });
    const zip_int64_t count = lib->zip_get_num_entries(zip, 0);
    if (count < 0 || quint64(count) != entries)
        return std::nullopt;
    QList<ZipMember> members;
    members.reserve(count);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        lib->zip_stat_init(&stat);
        if (lib->zip_stat_index(zip, zip_uint64_t(i), 0, &stat) != 0 ||
            !(stat.valid & ZIP_STAT_NAME) || !(stat.valid & ZIP_STAT_CRC))
            return std::nullopt;
        members.append({QString::fromUtf8(stat.name), stat.crc});
    }
    return members;
}

std::optional<QList<ZipMember>> readDirectory(qint64 fileSize, const ReadAt& read,
                                              ZipProblem& problem) {
    problem = ZipProblem::Unreadable;
    const std::optional<Directory> directory = findDirectory(fileSize, read);
    if (!directory)
        return std::nullopt;
    if (directory->entries > quint64(kZipMemberLimit)) {
        problem = ZipProblem::TooManyMembers;
        return std::nullopt;
    }
    if (!withinBounds(*directory))
        return std::nullopt;
    const std::optional<QByteArray> archive = cleanArchive(*directory, read, problem);
    if (!archive)
        return std::nullopt;
    auto members = membersOf(*archive, directory->entries);
    problem = members ? ZipProblem::None : ZipProblem::Unreadable;
    return members;
}

} // namespace

std::optional<QList<ZipMember>> readZipDirectory(const QString& path, ZipProblem* problem) {
    ZipProblem ignored;
    ZipProblem& why = problem ? *problem : ignored;
    why = ZipProblem::NotAFile;
    // Never blocks: a FIFO or a device opens at once and is refused unread.
    struct stat info;
    const FileDescriptor file = openWithoutWaiting(path, info);
    if (!file.valid()) {
        // What is there but cannot be opened is unreadable, not absent.
        const QByteArray name = QFile::encodeName(path);
        if (!name.isEmpty() && ::stat(name.constData(), &info) == 0 && S_ISREG(info.st_mode))
            why = ZipProblem::Unreadable;
        return std::nullopt;
    }
    if (!S_ISREG(info.st_mode))
        return std::nullopt;
    const int fd = file.get();
    const ReadAt read = [fd](qint64 offset, char* to, qint64 length) {
        while (length > 0) {
            const ssize_t n = ::pread(fd, to, std::size_t(length), off_t(offset));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            to += n;
            offset += n;
            length -= n;
        }
        return true;
    };
    return readDirectory(qint64(info.st_size), read, why);
}

std::optional<QList<ZipMember>> readZipDirectory(QByteArrayView bytes, ZipProblem* problem) {
    ZipProblem ignored;
    const ReadAt read = [bytes](qint64 offset, char* to, qint64 length) {
        if (offset < 0 || length < 0 || offset > bytes.size() - length)
            return false;
        if (length > 0)
            std::memcpy(to, bytes.data() + offset, std::size_t(length));
        return true;
    };
    return readDirectory(bytes.size(), read, problem ? *problem : ignored);
}

} // namespace platform
