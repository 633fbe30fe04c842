#pragma once

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/sysmacros.h>

// Folders described by lines, all relative to one temporary root; "front/" is
// the program folder:
//   "a/b=text@age"  a file (age in seconds, default 100);
//   "a/b=%17"       a sparse file of 17 MiB;
//   "a/b/"          a folder;
//   "a/b->c/d"      a link to c/d under the root (to "/x" when absolute);
//   "a/b|pipe"      a named pipe, "a/b|device" a device node (root only).
// The checks afterwards use the same forms, plus "a/b!": nothing there.
struct Tree {
    QTemporaryDir dir;
    QString root = dir.path() + u'/';

    void make(const QString& line) const {
        if (line.contains(u'|')) {
            const QByteArray path = QFile::encodeName(root + line.section(u'|', 0, 0));
            QDir().mkpath(QFileInfo(QFile::decodeName(path)).absolutePath());
            QVERIFY(line.endsWith(QLatin1String("|pipe"))
                        ? ::mkfifo(path.constData(), 0644) == 0
                        : ::mknod(path.constData(), S_IFCHR | 0666, makedev(1, 3)) == 0);
        } else if (line.contains(QLatin1String("->"))) {
            const QString link = root + line.section(QLatin1String("->"), 0, 0);
            const QString to = line.section(QLatin1String("->"), 1);
            QDir().mkpath(QFileInfo(link).absolutePath());
            QVERIFY(QFile::link(to.startsWith(u'/') ? to : root + to, link));
        } else if (line.endsWith(u'/')) {
            QVERIFY(QDir().mkpath(root + line));
        } else {
            const QString path = root + line.section(u'=', 0, 0);
            const QString value = line.section(u'=', 1);
            QDir().mkpath(QFileInfo(path).absolutePath());
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            if (value.startsWith(u'%')) {
                QVERIFY(file.resize(value.mid(1).toLongLong() << 20));
                return;
            }
            file.write(value.section(u'@', 0, 0).toUtf8());
            QVERIFY(file.flush()); // a later write would set the time again
            const int age = value.contains(u'@') ? value.section(u'@', 1).toInt() : 100;
            QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-age),
                                     QFileDevice::FileModificationTime));
        }
    }

    void check(const QString& line) const {
        if (line.endsWith(u'!')) {
            QVERIFY2(!QFileInfo(root + line.chopped(1)).isSymLink() &&
                         !QFileInfo::exists(root + line.chopped(1)),
                     qPrintable(line));
        } else if (line.contains(QLatin1String("->"))) {
            const QFileInfo link(root + line.section(QLatin1String("->"), 0, 0));
            QVERIFY2(link.isSymLink(), qPrintable(line));
            QCOMPARE(link.symLinkTarget(),
                     QDir::cleanPath(root + line.section(QLatin1String("->"), 1)));
        } else if (line.endsWith(u'/')) {
            const QFileInfo folder(root + line);
            QVERIFY2(folder.isDir() && !folder.isSymLink(), qPrintable(line));
        } else {
            const QFileInfo info(root + line.section(u'=', 0, 0));
            QVERIFY2(info.isFile() && !info.isSymLink(), qPrintable(line));
            QFile file(info.filePath());
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(QString::fromUtf8(file.readAll()), line.section(u'=', 1));
        }
    }
};
