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

// The archive's directory, or nothing when the file is not a regular file,
// cannot be opened, or is truncated, hostile or beyond the bounds. Nothing is
// decompressed; only the end records and the directory itself are read, so
// time and memory follow the directory, never the archive. The directory is
// found as the emulator finds it: the last end record in the file's tail,
// the directory right before it (or before its zip64 record).
// A FIFO or device is never read from, so this never blocks; telling "not
// there / not a regular file" apart from "unreadable" is isFile() in Files.h.
std::optional<QList<ZipMember>> readZipDirectory(const QString& path);

// The same over bytes in memory.
std::optional<QList<ZipMember>> readZipDirectory(QByteArrayView bytes);

// Bounds: the largest directory read, and the most members.
inline constexpr qint64 kZipDirectoryLimit = qint64(64) << 20;
inline constexpr qint64 kZipMemberLimit = 100000;

} // namespace platform
