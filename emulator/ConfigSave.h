#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

namespace emulator {

class ConfigDocument;

// An edit of the file as it is at the moment of saving.
using DocumentEdit = std::function<void(ConfigDocument& document)>;

// Edits the configuration file at `path` in place with `edit`, starting
// from `base` when there is no file yet. Copies of the front-end share the
// emulator's copy, so the read, the edit and the replacement happen under
// the file's save lock (platform::SaveLock), on the file as it is then: two
// copies saving different inputs at once both land, and of two saving the
// same input the later wins whole.
//
// Only an ordinary file is read or replaced, or the one a link leads to (the
// link stays). A folder, a pipe, a device, a socket or a link leading nowhere
// at `path` is refused and nothing is created; so is a file that cannot be
// edited safely (configProblem), a lock another copy keeps past the wait,
// and anything but a lock file in the lock's place (saveObstacle).
// Only the file's own folder is ever made, as the emulator would.
//
// The bytes now in the file, or nothing when it was refused or not written.
std::optional<QByteArray> saveConfigEdit(const QString& path, const QByteArray& base,
                                         const DocumentEdit& edit);

// What stands in the place of the save lock of `path` and keeps every save
// of it from happening (".../.kestrun-lock-Supermodel.ini is a named pipe"),
// or empty.
QString saveObstacle(const QString& path);

// Removes the temporary files a save of `path` killed midway left beside it,
// unless another copy is saving it at this moment. Something other than a
// lock file in the lock's place is left alone, and the files with it.
void removeSaveLeftovers(const QString& path);

} // namespace emulator
