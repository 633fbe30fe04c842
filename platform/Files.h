#pragma once

#include <QByteArray>
#include <QString>

class QFile;

namespace platform {

// The file-system operations the front-end uses. None of them throws; a
// lookup that fails outright counts as "not there".

// True when an ordinary file (not a folder) of that name exists.
bool isFile(const QString& path);

// True when a file or a folder of that name exists.
bool exists(const QString& path);

// Creates one folder level; false when it could not be created.
bool makeFolder(const QString& path);

// An ordinary file's content, read whole only when it holds at most `limit`
// bytes, never more than one byte past it. A named pipe or a device is never
// waited on: it is Unreadable, like a file that cannot be opened or read.
struct FileRead {
    enum class Outcome { Read, Unreadable, TooLarge };
    Outcome outcome = Outcome::Unreadable;
    QByteArray bytes; // when Read
};
FileRead readFile(const QString& path, qint64 limit);

// Opens an ordinary file (not a folder) for reading, unbuffered, without
// waiting on a pipe or a device; false when it is not there or cannot be
// opened.
bool openToRead(QFile& file);

// What lies at a path, a symbolic link followed to its end.
enum class Place { Nothing, File, Folder, Pipe, Device, Socket, DanglingLink, Unknown };
Place placeAt(const QString& path);

// The place as a box names it: "a named pipe", "a link that leads nowhere".
QString placeName(Place place);

// Replaces the file's content atomically: after a failure or an interruption
// the old file, if any, is still whole. Only an ordinary file is replaced, or
// the one a link leads to (the link stays); anything else at `path` (a
// folder, a pipe, a device, a socket, a link that leads nowhere) is refused
// and left as it is. The new file keeps the old one's permissions. False
// unless every byte reached the new file (a full disk included) and the file
// in place has their size.
bool writeFileAtomically(const QString& path, const QByteArray& bytes);

// Removes what an interrupted writeFileAtomically of `path` can leave next to
// it: its own temporary files (platform::temporaryName), never a file a user
// named after it.
void removeWriteLeftovers(const QString& path);

// Removes every ordinary file in `folder` that bears a temporary name of
// ours (temporaryName), whatever file it stood for.
void removeTemporaryFiles(const QString& folder);

// Copies an ordinary file onto `to` atomically, a piece at a time, whatever
// its size; false (and `to` untouched) when either side fails.
bool copyFileAtomically(const QString& from, const QString& to);

// True when both paths name the same existing file, however spelled
// (symlinks, "./", doubled separators).
bool sameFile(const QString& a, const QString& b);

} // namespace platform
