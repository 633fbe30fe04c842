#include "platform/ZipDirectory.h"

#include "platform/FileDescriptor.h"

#include <QLibrary>
#include <QScopeGuard>
#include <QtEndian>
#include <cerrno>
#include <cstring>
#include <functional>
#include <unistd.h>
#include <zip.h>

namespace platform {

namespace {

// libzip parses the directory, but never sees the file. Left to itself it
// takes time and memory that follow whatever the end records claim: with many
// end records in the tail it reads every member's header once for each of
// them, and a zip64 record claiming millions of members allocates them all
// before reading one. So the end records are read here, the directory is
// bounded and copied out, and libzip opens a clean archive in memory made of
// that directory and one end record alone.

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
    return d.oneDisk && d.entries <= quint64(kZipMemberLimit) &&
           d.size <= quint64(kZipDirectoryLimit) && d.entries * kEntrySize <= d.size &&
           d.size <= d.end && d.offset <= d.end - d.size;
}

// The directory alone as an archive: its bytes, the gap, and a fresh end
// record (with a zip64 record once the count needs one), the directory at 0.
std::optional<QByteArray> cleanArchive(const Directory& d, const ReadAt& read) {
    const bool zip64 = d.entries >= 0xFFFF;
    const qint64 size = qint64(d.size);
    QByteArray archive(size + kGap + (zip64 ? kZip64RecordSize + kLocatorSize : 0) + kEndRecordSize,
                       '\0');
    if (!read(qint64(d.end) - size, archive.data(), size))
        return std::nullopt;
    if (d.entries > 0 && u32(archive.constData()) != kEntrySignature)
        return std::nullopt;
    char* p = archive.data() + size + kGap;
    if (zip64) {
        qToLittleEndian<quint32>(kZip64Signature, p);
        qToLittleEndian<quint64>(kZip64RecordSize - 12, p + 4);
        qToLittleEndian<quint16>(45, p + 12);
        qToLittleEndian<quint16>(45, p + 14);
        qToLittleEndian<quint64>(d.entries, p + 24);
        qToLittleEndian<quint64>(d.entries, p + 32);
        qToLittleEndian<quint64>(d.size, p + 40);
        p += kZip64RecordSize;
        qToLittleEndian<quint32>(kLocatorSignature, p);
        qToLittleEndian<quint64>(quint64(size + kGap), p + 8);
        qToLittleEndian<quint32>(1, p + 16);
        p += kLocatorSize;
    }
    qToLittleEndian<quint32>(kEndSignature, p);
    qToLittleEndian<quint16>(zip64 ? 0xFFFF : quint16(d.entries), p + 8);
    qToLittleEndian<quint16>(zip64 ? 0xFFFF : quint16(d.entries), p + 10);
    qToLittleEndian<quint32>(zip64 ? 0xFFFFFFFF : quint32(d.size), p + 12);
    qToLittleEndian<quint32>(zip64 ? 0xFFFFFFFF : 0, p + 16);
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

std::optional<QList<ZipMember>> readDirectory(qint64 fileSize, const ReadAt& read) {
    const std::optional<Directory> directory = findDirectory(fileSize, read);
    if (!directory || !withinBounds(*directory))
        return std::nullopt;
    const std::optional<QByteArray> archive = cleanArchive(*directory, read);
    if (!archive)
        return std::nullopt;
    return membersOf(*archive, directory->entries);
}

} // namespace

std::optional<QList<ZipMember>> readZipDirectory(const QString& path) {
    // Never blocks: a FIFO or a device opens at once and is refused unread.
    struct stat info;
    const FileDescriptor file = openWithoutWaiting(path, info);
    if (!file.valid() || !S_ISREG(info.st_mode))
        return std::nullopt;
    const int fd = file.get();
    return readDirectory(qint64(info.st_size), [fd](qint64 offset, char* to, qint64 length) {
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
    });
}

std::optional<QList<ZipMember>> readZipDirectory(QByteArrayView bytes) {
    return readDirectory(bytes.size(), [bytes](qint64 offset, char* to, qint64 length) {
        if (offset < 0 || length < 0 || offset > bytes.size() - length)
            return false;
        if (length > 0)
            std::memcpy(to, bytes.data() + offset, std::size_t(length));
        return true;
    });
}

} // namespace platform
