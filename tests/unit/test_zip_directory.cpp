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
    QTest::addColumn<platform::ZipProblem>("problem");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QList<uint>>("crcs");

    const QByteArray normal = zipbytes::archive(kMembers, "a comment");
    const QStringList names = namesOf(kMembers);
    const QList<uint> crcs = crcsOf(kMembers);
    using P = platform::ZipProblem;
    constexpr P readable = P::None;
    constexpr P unreadable = P::Unreadable;
    auto row = [](const char* name, Kind kind, const QByteArray& head, qint64 hole,
                  const QByteArray& tail, P problem, const QList<Member>& members = {}) {
        QTest::newRow(name) << kind << head << hole << tail << problem << namesOf(members)
                            << crcsOf(members);
    };

    row("normal", Kind::File, normal, 0, {}, readable, kMembers);
    row("empty", Kind::File, zipbytes::endRecord(0, 0, 0), 0, {}, readable);
    row("FIFO named x.zip", Kind::Fifo, {}, 0, {}, P::NotAFile);
    row("folder named x.zip", Kind::Folder, {}, 0, {}, P::NotAFile);
    row("not a zip", Kind::File, QByteArray(5000, 'x'), 0, {}, unreadable);
    row("cut in the end record", Kind::File, normal.chopped(15), 0, {}, unreadable);
    row("cut in the directory", Kind::File, normal.first(normal.size() - 40), 0, {}, unreadable);
    // As the emulator does: data before the archive leaves the recorded
    // offsets short, the directory is found right before its end record.
    row("data before the archive", Kind::File, QByteArray(1000, 'S') + normal, 0, {}, readable,
        kMembers);

    // The emulator takes the last end record: here it points nowhere.
    const QList<Member> many = numbered(2500);
    const QByteArray manyArchive = zipbytes::archive(many);
    const QByteArray manyDir = zipbytes::directory(many);
    const qint64 manyDirAt = manyArchive.size() - 22 - manyDir.size();
    QByteArray endRecords;
    while (endRecords.size() < 64 * 1024)
        endRecords += zipbytes::endRecord(2500, quint64(manyDir.size()), quint64(manyDirAt));
    row("many end records after the directory", Kind::File, manyArchive + endRecords, 0, {},
        unreadable);
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
            dir + zipbytes::endRecord(2000, quint64(dir.size()), 0), 0, {}, readable, members);
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
        row("sparse 200 MB", Kind::File, head, 200 * kMiB, tail, readable, kMembers);
    }

    row("zip64", Kind::File, {}, kMiB, zip64Tail(kMembers, kMiB), readable, kMembers);
    row("zip64 of 100,001 members", Kind::File, {}, 0, zip64Tail(numbered(100001), 0),
        P::TooManyMembers);
    // 2 GB of nothing under a zip64 record claiming a directory that fills
    // it: tens of millions of members, none of which may be allocated.
    {
        const qint64 at = 2048 * kMiB - 98;
        const QByteArray tail = zipbytes::zip64End(quint64(at / 46), quint64(at), 0, quint64(at));
        row("sparse 2 GB zip64 claiming millions", Kind::File, {}, at, tail, P::TooManyMembers);
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
            dir + zipbytes::endRecord(512, quint64(dir.size()), 0), unreadable);
    }
    {
        const QByteArray dir = zipbytes::directory(QList<Member>(100));
        row("more members than the directory holds", Kind::File, {}, 0,
            dir + zipbytes::endRecord(4000, quint64(dir.size()), 0), unreadable);
    }

    // The bounds of what a Model 3 archive can hold: refused from the end
    // record, or from the entry, before anything of the directory is kept.
    row("4,096 members", Kind::File, zipbytes::archive(numbered(4096)), 0, {}, readable,
        numbered(4096));
    row("4,097 members", Kind::File, zipbytes::archive(numbered(4097)), 0, {}, P::TooManyMembers);
    const QList<Member> longest{zipbytes::member(QByteArray(1024, 'n'), 7)};
    row("a name of 1 KiB", Kind::File, zipbytes::archive(longest), 0, {}, readable, longest);
    const QList<Member> tooLong = numbered(3) << zipbytes::member(QByteArray(1025, 'n'), 7);
    row("a name over 1 KiB", Kind::File, zipbytes::archive(tooLong), 0, {}, P::LongName);
    {
        // Comments and the extra fields no one reads are dropped, within
        // the size bound; the UTF-8 name field still names the member.
        QList<Member> members = numbered(2);
        const QByteArray utf8 = "\xc3\xa9t\xc3\xa9.20";
        const QByteArray crc = zipbytes::le(0x4e413570, 4); // of the name "000001"
        members[1].extra = zipbytes::le(0xCAFE, 2) + zipbytes::le(6000, 2) + QByteArray(6000, 'e') +
                           zipbytes::le(0x7075, 2) + zipbytes::le(5 + utf8.size(), 2) + '\x01' +
                           crc + utf8;
        members[1].comment = QByteArray(60000, 'c');
        QList<Member> read = members;
        read[1].name = utf8;
        row("extra fields and comments", Kind::File, zipbytes::archive(members), 0, {}, readable,
            read);
        members[0].extra = zipbytes::le(0xCAFE, 2) + zipbytes::le(9, 2) + "short";
        row("an extra field longer than its block", Kind::File, zipbytes::archive(members), 0, {},
            unreadable);
        members[0].extra = zipbytes::le(0x7075, 2) + zipbytes::le(5 + 1025, 2) + '\x01' +
                           zipbytes::le(0, 4) + QByteArray(1025, 'n');
        row("a UTF-8 name over 1 KiB", Kind::File, zipbytes::archive(members), 0, {}, P::LongName);
    }
}

void ZipDirectoryTest::readsTheDirectoryWithinBounds() {
    QFETCH(Kind, kind);
    QFETCH(QByteArray, head);
    QFETCH(qint64, hole);
    QFETCH(QByteArray, tail);
    QFETCH(platform::ZipProblem, problem);
    const bool readable = problem == platform::ZipProblem::None;
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
    platform::ZipProblem why = platform::ZipProblem::Unreadable;
    const std::optional<QList<platform::ZipMember>> members =
        platform::readZipDirectory(path, &why);
    QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed()) + " ms"));
    QCOMPARE(members.has_value(), readable);
    QCOMPARE(why, problem);
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
        const auto fromBytes = platform::readZipDirectory(QByteArrayView(head + tail), &why);
        QCOMPARE(fromBytes.has_value(), readable);
        QCOMPARE(why, problem);
        if (readable)
            QCOMPARE(fromBytes->size(), members->size());
    }
}

QTEST_GUILESS_MAIN(ZipDirectoryTest)
#include "test_zip_directory.moc"
