#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <sys/mount.h>
#include <unistd.h>

// A folder no file can be made in: a read-only tmpfs over it as root (root
// ignores permissions), its permissions elsewhere.
struct ReadOnlyFolder {
    QString folder;
    bool mounted = false;
    explicit ReadOnlyFolder(const QString& path) : folder(path) {
        QDir().mkpath(folder);
        mounted = ::geteuid() == 0 && ::mount("tmpfs", QFile::encodeName(folder).constData(),
                                              "tmpfs", MS_RDONLY, "size=64k") == 0;
        if (!mounted)
            QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }
    bool works() const { return mounted || ::geteuid() != 0; }
    ~ReadOnlyFolder() {
        if (mounted)
            ::umount2(QFile::encodeName(folder).constData(), MNT_DETACH);
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner);
    }
};
