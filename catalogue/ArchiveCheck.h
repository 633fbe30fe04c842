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
    TooManyFiles, // not read: more members than a Model 3 archive holds
    LongName,     // not read: a member name longer than any a set has
};

struct ArchiveCheck {
    ArchiveVerdict verdict = ArchiveVerdict::NotKnown;
    int set = -1;        // the set that loads, or the nearest one
    QStringList missing; // its missing files, in definitions order
};

// What the emulator makes of an archive with these members on its own.
ArchiveCheck checkArchive(const Definitions& definitions, const QList<ArchiveMember>& members);

// What the archive the emulator opens as a clone's parent gives it.
struct ParentCheck {
    // It holds files of the parent's set: `check` is the clone's set over
    // both archives, NeedsParent when complete, else MissingFiles with the
    // files still missing. Otherwise `check` is what it holds on its own
    // (or why it could not be read).
    bool holdsParent = false;
    ArchiveCheck check;
};

ParentCheck checkWithParent(const Definitions& definitions, int clone,
                            const QList<ArchiveMember>& members,
                            const QList<ArchiveMember>& parentMembers);

} // namespace catalogue
