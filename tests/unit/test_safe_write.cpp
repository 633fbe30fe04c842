#include "platform/Files.h"
#include "platform/SafeCopy.h"
#include "support/FileTree.h"
#include "support/FullDisk.h"
#include "support/ReadOnlyFolder.h"

#include <QTest>

#include <cerrno>
#include <cstring>
#include <optional>

// Every writer of platform/ goes through one atomic replace: here it fails
// for want of room or of a writable folder, and must leave what was there.
class SafeWriteTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aFailedWriteLeavesWhatWasThere_data();
    void aFailedWriteLeavesWhatWasThere();
};

void SafeWriteTest::aFailedWriteLeavesWhatWasThere_data() {
    QTest::addColumn<QString>("writer");
    QTest::addColumn<bool>("fullDisk"); // else a read-only folder
    for (const char* writer : {"write", "copy", "bring", "copy when missing"}) {
        QTest::addRow("%s, full disk", writer) << QString::fromLatin1(writer) << true;
        QTest::addRow("%s, read-only folder", writer) << QString::fromLatin1(writer) << false;
    }
}

void SafeWriteTest::aFailedWriteLeavesWhatWasThere() {
    QFETCH(QString, writer);
    QFETCH(bool, fullDisk);
    Tree t;
    // More than a full disk has room for.
    const QString content = QString(8192, u'n');
    t.make(QStringLiteral("emu/Config/Games.xml=") + content);
    const QString source = t.root + QStringLiteral("emu/Config/Games.xml");
    const QString folder = t.root + QStringLiteral("front/Config");
    const QString target = folder + QStringLiteral("/Games.xml");
    const bool replacing = writer != u"copy when missing"; // which keeps what is there
    FullDisk disk;
    if (fullDisk)
        MOUNT_FULL_DISK(disk, folder);
    if (replacing)
        t.make(QStringLiteral("front/Config/Games.xml=old@500"));
    std::optional<ReadOnlyFolder> readOnly;
    if (fullDisk)
        disk.fill();
    else if (!readOnly.emplace(folder).works())
        QSKIP("no read-only folder can be made here");
    const auto entries = [&folder] {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    };
    const QStringList before = entries();

    // Why it failed; empty when the writer does not say; nothing when it did not.
    std::optional<QString> failure;
    if (writer == u"write" && !platform::writeFileAtomically(target, content.toUtf8()))
        failure = QString();
    if (writer == u"copy" && !platform::copyFileAtomically(source, target))
        failure = QString();
    const QString front = t.root + QStringLiteral("front");
    const QString relative = QStringLiteral("Config/Games.xml");
    std::optional<platform::CopyFailure> failed;
    if (writer == u"bring")
        failed = platform::bringCopy(t.root + QStringLiteral("emu"), front, relative, 1 << 20);
    if (writer == u"copy when missing")
        failed = platform::copyWhenMissing(source, front, relative, 1 << 20);
    if (failed)
        failure = failed->reason;

    QVERIFY(failure);
    const int error = fullDisk ? ENOSPC : readOnly->mounted ? EROFS : EACCES;
    if (!failure->isEmpty())
        QCOMPARE(*failure, QString::fromLocal8Bit(std::strerror(error)));
    // Nothing half-written stays, under its name or another, and the old
    // file is whole.
    QCOMPARE(entries(), before);
    if (replacing && !(readOnly && readOnly->mounted)) // else hidden under the mount
        t.check(QStringLiteral("front/Config/Games.xml=old"));
}

QTEST_APPLESS_MAIN(SafeWriteTest)
#include "test_safe_write.moc"
