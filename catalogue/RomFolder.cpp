#include "catalogue/RomFolder.h"

#include "platform/Files.h"

#include <QDir>

#include <algorithm>

namespace catalogue {

RomFolder::RomFolder(const QString& romFolderText) {
    const qsizetype cut =
        std::max(romFolderText.lastIndexOf(u'/'), romFolderText.lastIndexOf(QDir::separator()));
    m_folder = romFolderText.left(cut + 1);
    m_prefix = romFolderText.mid(cut + 1);
    const QString folder = m_folder.isEmpty() ? QStringLiteral(".") : m_folder;
    // QDir::Files without QDir::System leaves out FIFOs, devices, sockets
    // and dangling links; a link to a regular file stays.
    const QStringList names =
        QDir(folder).entryList({QStringLiteral("*.zip")}, QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& name : names) {
        if (name.size() > 4) // ".zip" alone names no set
            m_byLowerName[name.toLower()].append(name);
    }
}

QString RomFolder::archiveOf(const QString& set) const {
    if (m_byLowerName.isEmpty())
        return {};
    const auto found =
        m_byLowerName.constFind(QString(m_prefix + set + QLatin1String(".zip")).toLower());
    if (found == m_byLowerName.constEnd())
        return {};
    const QString exact = m_prefix + set + QLatin1String(".zip");
    return found->contains(exact) ? exact : found->front();
}

QString RomFolder::archiveNow(const QString& set) const {
    const QString listed = archiveOf(set);
    if (!listed.isEmpty() && platform::isFile(pathOf(listed)))
        return listed;
    const QString exact = m_prefix + set + QLatin1String(".zip");
    return exact != listed && platform::isFile(pathOf(exact)) ? exact : QString();
}

} // namespace catalogue
