#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

namespace catalogue {

// One listing of the ROM folder answers every presence question of a scan:
// the archives in it by lower-case name. Only regular files count (a link to
// one too); a folder, a FIFO or a device named like an archive is absent,
// and listing never opens anything.
class RomFolder final {
public:
    RomFolder() = default;
    explicit RomFolder(const QString& romFolderText);

    // The file name of the archive of set `set` ("vf3" finds "VF3.ZIP"): of
    // names that differ only in case, the exact lower-case one first; empty
    // when there is none.
    QString archiveOf(const QString& set) const;

    // The same as things are now, for a folder listed a while ago: the
    // listed archive while an ordinary file still bears its name, else the
    // exact lower-case name when an ordinary file bears that one. A lookup
    // of one or two names; the folder is not listed again.
    QString archiveNow(const QString& set) const;

    // The archive's path: the folder as given, then the file name.
    QString pathOf(const QString& fileName) const { return m_folder + fileName; }

private:
    // The ROM folder text is joined to a set's name with nothing between, so
    // a text without its final separator names files beside that folder.
    QString m_folder; // up to its last separator
    QString m_prefix; // what follows it
    QHash<QString, QStringList> m_byLowerName;
};

} // namespace catalogue
