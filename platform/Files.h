#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

namespace platform {

// The file-system operations the front-end uses. None of them throws; a
// lookup that fails outright counts as "not there".

// True when an ordinary file (not a folder) of that name exists.
bool isFile(const QString& path);

// True when a file or a folder of that name exists.
bool exists(const QString& path);

// Creates one folder level; false when it could not be created.
bool makeFolder(const QString& path);

// The whole content of an ordinary file, or nothing when it cannot be read.
std::optional<QByteArray> readFile(const QString& path);

// Replaces the file's content atomically: after a failure or an interruption
// the old file, if any, is still whole.
bool writeFileAtomically(const QString& path, const QByteArray& bytes);

// Copies an ordinary file onto `to` atomically, a piece at a time, whatever
// its size; false (and `to` untouched) when either side fails.
bool copyFileAtomically(const QString& from, const QString& to);

// The last modification time of an existing file or folder.
std::optional<QDateTime> modifiedTime(const QString& path);

// True when both paths name the same existing file, however spelled
// (symlinks, "./", doubled separators).
bool sameFile(const QString& a, const QString& b);

} // namespace platform
