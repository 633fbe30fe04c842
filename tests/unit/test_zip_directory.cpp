// An archive's directory: names and CRC-32 read right, found as the emulator
// finds it, and nothing (quickly, in bounded memory, never blocking) for what
// is not a regular file or is truncated, hostile or beyond the bounds.

#include "platform/Files.h"
#include "platform/ZipDirectory.h"
#include "support/ZipBytes.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using zipbytes::Member;

namespace {

enum class Kind { File, Fifo, Folder };

constexpr qint64 kMiB = qint64(1) << 20;

const QList<Member> kMembers = {
    zipbytes::member("epr-20092.20", 0x1A2B3C4D),
    zipbytes::member("mpr-20093.1", 0xFFFFFFFF),
    zipbytes::member("t\xc3\xabst/\xc3\xa9.bin", 0, true),
};

QStringList namesOf(const QList<Member>& members) {
    QStringList names;
    for (const Member& m : members)
        names << QString::fromUtf8(m.name);
    return names;
}

QList<uint> crcsOf(const QList<Member>& members) {
    QList<uint> crcs;
    for (const Member& m : members)
        crcs << m.crc;
    return crcs;
}

QList<Member> numbered(int count) {
    QList<Member> members;
    for (int i = 0; i < count; ++i)
        members.append(zipbytes::member(QByteArray::number(i).rightJustified(6, '0'),
                                        quint32(i) * 2654435761u));
    return members;
}

// An archive of `members` after `hole` bytes of data that no directory entry
// mentions, the end record described by a zip64 record.
QByteArray zip64Tail(QList<Member> members, qint64 hole) {
    for (Member& m : members)
        m.offset = quint64(hole);
    const QByteArray dir = zipbytes::directory(members);
    const quint64 n = quint64(members.size());
    return dir +
           zipbytes::zip64End(n, quint64(dir.size()), quint64(hole), quint64(hole + dir.size()));
}

} // namespace

class ZipDirectoryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsTheDirectoryWithinBounds_data();
    void readsTheDirectoryWithinBounds();
};

void ZipDirectoryTest::readsTheDirectoryWithinBounds_data() {
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<qint64>("hole");
    QTest::addColumn<QByteArray>("tail");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QList<uint>>("crcs");

    const QByteArray normal = zipbytes::archive(kMembers, "a comment");
    const QStringList names = namesOf(kMembers);
    const QList<uint> crcs = crcsOf(kMembers);
    auto row = [](const char* name, Kind kind, const QByteArray& head, qint64 hole,
                  const QByteArray& tail, bool readable, const QList<Member>& members = {}) {
        QTest::newRow(name) << kind << head << hole << tail << readable << namesOf(members)
                            << crcsOf(members);
    };

    row("normal", Kind::File, normal, 0, {}, true, kMembers);
    row("empty", Kind::File, zipbytes::endRecord(0, 0, 0), 0, {}, true);
    row("FIFO named x.zip", Kind::Fifo, {}, 0, {}, false);
    row("folder named x.zip", Kind::Folder, {}, 0, {}, false);
    row("not a zip", Kind::File, QByteArray(5000, 'x'), 0, {}, false);
    row("cut in the end record", Kind::File, normal.chopped(15), 0, {}, false);
    row("cut in the directory", Kind::File, normal.first(normal.size() - 40), 0, {}, false);
    // As the emulator does: data before the archive leaves the recorded
    // offsets short, the directory is found right before its end record.
    row("data before the archive", Kind::File, QByteArray(1000, 'S') + normal, 0, {}, true,
        kMembers);

    // The emulator takes the last end record: here it points nowhere.
    const QList<Member> many = numbered(2500);
    const QByteArray manyArchive = zipbytes::archive(many);
    const QByteArray manyDir = zipbytes::directory(many);
    const qint64 manyDirAt = manyArchive.size() - 22 - manyDir.size();
    QByteArray endRecords;
    while (endRecords.size() < 64 * 1024)
        endRecords += zipbytes::endRecord(2500, quint64(manyDir.size()), quint64(manyDirAt));
    row("many end records after the directory", Kind::File, manyArchive + endRecords, 0, {}, false);
    // Here the genuine end record is the last one, and the many others sit in
    // the directory (a member's comment), each describing a valid directory of
    // its first k members, where a reader might weigh them all.
    {
        QList<Member> members = numbered(2000);
        const qint64 entrySize = zipbytes::entry(members[0]).size();
        QByteArray records;
        for (quint64 k = 1; records.size() + 22 <= 65535; ++k)
            records += zipbytes::endRecord(k, k * entrySize, 0);
        members.last().comment = records;
        const QByteArray dir = zipbytes::directory(members);
        row("many end records in the directory", Kind::File,
            dir + zipbytes::endRecord(2000, quint64(dir.size()), 0), 0, {}, true, members);
    }

    // A genuine directory after 200 MB of member data that is never read.
    {
        QList<Member> members = kMembers;
        members[0].size = quint32(200 * kMiB);
        const QByteArray head = zipbytes::localHeader(members[0]);
        QByteArray tail;
        for (int i = 1; i < members.size(); ++i) {
            members[i].offset = quint64(head.size() + 200 * kMiB + tail.size());
            tail += zipbytes::localHeader(members[i]);
        }
        const QByteArray dir = zipbytes::directory(members);
        const quint64 dirAt = quint64(head.size() + 200 * kMiB + tail.size());
        tail += dir + zipbytes::endRecord(3, quint64(dir.size()), dirAt);
        row("sparse 200 MB", Kind::File, head, 200 * kMiB, tail, true, kMembers);
    }

    row("zip64", Kind::File, {}, kMiB, zip64Tail(kMembers, kMiB), true, kMembers);
    row("zip64 of 100,001 members", Kind::File, {}, 0, zip64Tail(numbered(100001), 0), false);
    // 2 GB of nothing under a zip64 record claiming a directory that fills
    // it: tens of millions of members, none of which may be allocated.
    {
        const qint64 at = 2048 * kMiB - 98;
        const QByteArray tail = zipbytes::zip64End(quint64(at / 46), quint64(at), 0, quint64(at));
        row("sparse 2 GB zip64 claiming millions", Kind::File, {}, at, tail, false);
    }
    // A genuine directory just over the size bound: members with the
    // longest extra field and comment there are.
    {
        QList<Member> members = numbered(512);
        for (Member& m : members) {
            m.extra = zipbytes::le(0xCAFE, 2) + zipbytes::le(65531, 2) + QByteArray(65531, 'e');
            m.comment = QByteArray(65535, 'c');
        }
        const QByteArray dir = zipbytes::directory(members);
        QVERIFY(dir.size() > platform::kZipDirectoryLimit);
        row("directory over 64 MiB", Kind::File, {}, 0,
            dir + zipbytes::endRecord(512, quint64(dir.size()), 0), false);
    }
    {
        const QByteArray dir = zipbytes::directory(QList<Member>(100));
        row("more members than the directory holds", Kind::File, {}, 0,
            dir + zipbytes::endRecord(60000, quint64(dir.size()), 0), false);
    }
}

void ZipDirectoryTest::readsTheDirectoryWithinBounds() {
    QFETCH(Kind, kind);
    QFETCH(QByteArray, head);
    QFETCH(qint64, hole);
    QFETCH(QByteArray, tail);
    QFETCH(bool, readable);
    QFETCH(QStringList, names);
    QFETCH(QList<uint>, crcs);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x.zip"));
    if (kind == Kind::Fifo)
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (kind == Kind::Folder)
        QVERIFY(QDir().mkdir(path));
    else
        QVERIFY(zipbytes::writeSparse(path, head, hole, tail));
    // What tells "not there" apart from "unreadable", without opening.
    QCOMPARE(platform::isFile(path), kind == Kind::File);

    QElapsedTimer timer;
    timer.start();
    const std::optional<QList<platform::ZipMember>> members = platform::readZipDirectory(path);
    QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed()) + " ms"));
    QCOMPARE(members.has_value(), readable);
    if (readable) {
        QStringList readNames;
        QList<uint> readCrcs;
        for (const platform::ZipMember& m : *members) {
            readNames << m.name;
            readCrcs << m.crc32;
        }
        QCOMPARE(readNames, names);
        QCOMPARE(readCrcs, crcs);
    }
    // The bytes in memory read the same.
    if (kind == Kind::File && hole == 0) {
        const auto fromBytes = platform::readZipDirectory(QByteArrayView(head + tail));
        QCOMPARE(fromBytes.has_value(), readable);
        if (readable)
            QCOMPARE(fromBytes->size(), members->size());
    }
}

QTEST_GUILESS_MAIN(ZipDirectoryTest)
#include "test_zip_directory.moc"
