#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <optional>

namespace platform {

// One entry of a zip archive's central directory.
struct ZipMember {
    QString name;
    quint32 crc32 = 0;
};

// Why a directory was not read.
enum class ZipProblem {
    None,
    NotAFile,       // nothing there, or no regular file (a folder, a FIFO, a device)
    Unreadable,     // it cannot be opened, or is no archive, truncated or hostile
    TooManyMembers, // more members than kZipMemberLimit
    LongName,       // a member name longer than kZipNameLimit
};

// The archive's directory, or nothing when the file is not a regular file,
// cannot be opened, or is truncated, hostile or beyond the bounds (and
// `problem`, when given, says which). Nothing is
// decompressed; only the end records and the directory itself are read, so
// time and memory follow the directory, never the archive. The directory is
// found as the emulator finds it: the last end record in the file's tail,
// the directory right before it (or before its zip64 record).
// A FIFO or device is never read from, so this never blocks; telling "not
// there / not a regular file" apart from "unreadable" is isFile() in Files.h.
std::optional<QList<ZipMember>> readZipDirectory(const QString& path,
                                                 ZipProblem* problem = nullptr);

// The same over bytes in memory.
std::optional<QList<ZipMember>> readZipDirectory(QByteArrayView bytes,
                                                 ZipProblem* problem = nullptr);

// Bounds: the largest directory read, the most members and the longest
// member name (in bytes). The largest Model 3 set has under 100 files, an
// archive merging a parent with all its clones a few hundred.
inline constexpr qint64 kZipDirectoryLimit = qint64(64) << 20;
inline constexpr qint64 kZipMemberLimit = 4096;
inline constexpr qint64 kZipNameLimit = 1024;

} // namespace platform
