#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <sys/mount.h>
#include <unistd.h>

// A real full file system: a small tmpfs mounted over `folder`, then filled up
// to the last byte. Mounting needs root (as in CI); elsewhere the test is
// skipped with the reason printed. Unmounted when it goes.
class FullDisk {
public:
    // Mounts the tmpfs over `folder` (made if needed); false, with `why`
    // saying why, when it cannot be done here.
    bool mount(const QString& folder, QString& why) {
        if (::geteuid() != 0) {
            why = QStringLiteral("mounting a tmpfs needs root");
            return false;
        }
        QDir().mkpath(folder);
        if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=64k") != 0) {
            why =
                QStringLiteral("cannot mount a tmpfs: ") + QString::fromLocal8Bit(strerror(errno));
            return false;
        }
        m_folder = folder;
        return true;
    }

    // Takes every free byte with one filler file.
    void fill() const {
        QFile filler(m_folder + QStringLiteral("/filler"));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'f');
        while (filler.write(block) > 0) {
        }
        // Even a single byte no longer fits.
        while (filler.write("f", 1) > 0) {
        }
    }

    ~FullDisk() {
        if (!m_folder.isEmpty())
            ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
    }

private:
    QString m_folder;
};

// Skips the calling test unless the tmpfs could be mounted over `folder`.
#define MOUNT_FULL_DISK(disk, folder)                                                              \
    do {                                                                                           \
        QString why_;                                                                              \
        if (!(disk).mount((folder), why_))                                                         \
            QSKIP(qPrintable(QStringLiteral("no full-disk test: ") + why_));                       \
    } while (false)
