#pragma once

#include "catalogue/Definitions.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace catalogue {

// Which game an archive holds, decided the way the emulator decides: by the
// CRC-32 of its members (a name counts only for a file the definitions give
// no CRC), never by the archive's file name.

struct ArchiveMember {
    QString name;
    quint32 crc32 = 0;
};

enum class ArchiveVerdict {
    Complete,     // the set loads from this archive alone
    NeedsParent,  // a clone: the emulator also opens its parent's archive
    MissingFiles, // the nearest set lacks files
    NotKnown,     // nothing of any set the emulator knows
    Unreadable,   // the directory could not be read
};

struct ArchiveCheck {
    ArchiveVerdict verdict = ArchiveVerdict::NotKnown;
    int set = -1;        // the set that loads, or the nearest one
    QStringList missing; // its missing files, in definitions order
};

// What the emulator makes of an archive with these members on its own.
ArchiveCheck checkArchive(const Definitions& definitions, const QList<ArchiveMember>& members);

// The same for a clone's set with its parent's archive beside it: complete,
// or the files still missing from the two together.
ArchiveCheck checkWithParent(const Definitions& definitions, int clone,
                             const QList<ArchiveMember>& members,
                             const QList<ArchiveMember>& parentMembers);

} // namespace catalogue
