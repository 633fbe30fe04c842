// Archive directory benchmark: how long reading an archive's directory takes,
// and how much more memory it needs, for a genuine directory after 200 MB of
// data (the goal: well under 10 ms) and for the hostile shapes the reader
// must refuse quickly. The files are generated, sparse, in the temporary
// folder and deleted afterwards.

#include "bench/Memory.h"
#include "platform/ZipDirectory.h"
#include "tests/support/ZipBytes.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>

namespace {

constexpr qint64 kMiB = qint64(1) << 20;
constexpr double kGoalMs = 10.0;

struct Shape {
    QByteArray head;
    qint64 hole = 0;
    QByteArray tail;
};

QList<zipbytes::Member> numbered(int count) {
    QList<zipbytes::Member> members;
    for (int i = 0; i < count; ++i)
        members.append(
            zipbytes::member("mpr-" + QByteArray::number(20000 + i) + ".ic" + QByteArray::number(i),
                             quint32(i) * 2654435761u));
    return members;
}

// 20 members, the first with 200 MB of data that only a hole holds.
Shape sparseGenuine() {
    QList<zipbytes::Member> members = numbered(20);
    members[0].size = quint32(200 * kMiB);
    Shape s{zipbytes::localHeader(members[0]), 200 * kMiB, {}};
    for (qsizetype i = 1; i < members.size(); ++i) {
        members[i].offset = quint64(s.head.size() + s.hole + s.tail.size());
        s.tail += zipbytes::localHeader(members[i]);
    }
    const QByteArray dir = zipbytes::directory(members);
    const quint64 at = quint64(s.head.size() + s.hole + s.tail.size());
    s.tail += dir + zipbytes::endRecord(quint64(members.size()), quint64(dir.size()), at);
    return s;
}

// A genuine archive of 2500 members followed by 64 KiB of end records that
// each point at its directory.
Shape endRecordsAfter() {
    const QList<zipbytes::Member> members = numbered(2500);
    const QByteArray archive = zipbytes::archive(members);
    const QByteArray dir = zipbytes::directory(members);
    const quint64 at = quint64(archive.size() - 22 - dir.size());
    QByteArray records;
    while (records.size() < 64 * 1024)
        records += zipbytes::endRecord(2500, quint64(dir.size()), at);
    return {archive + records, 0, {}};
}

// 64 KiB of end records inside the directory (a member's comment), each
// describing a valid directory of the first k members; the genuine one last.
Shape endRecordsInDirectory() {
    // A record for each of the first 2,978 prefixes: as many as 64 KiB hold.
    QList<zipbytes::Member> members = numbered(3000);
    QByteArray records;
    quint64 prefix = 0;
    for (quint64 k = 1; records.size() + 22 <= 65535; ++k) {
        prefix += quint64(zipbytes::entry(members[qsizetype(k - 1)]).size());
        records += zipbytes::endRecord(k, prefix, 0);
    }
    members.last().comment = records;
    const QByteArray dir = zipbytes::directory(members);
    return {dir + zipbytes::endRecord(quint64(members.size()), quint64(dir.size()), 0), 0, {}};
}

// 2 GiB of nothing under a zip64 record that claims it is all directory.
Shape zip64Claims() {
    const qint64 at = 2048 * kMiB - 98;
    return {{}, at, zipbytes::zip64End(quint64(at / 46), quint64(at), 0, quint64(at))};
}

// Members after 200 MB of data, in a zip64 directory.
Shape membersAfterData(int count, int nameLength) {
    QList<zipbytes::Member> members;
    for (int i = 0; i < count; ++i)
        members.append(zipbytes::member(QByteArray::number(i).rightJustified(nameLength, 'm'),
                                        quint32(i) * 2654435761u));
    const QByteArray dir = zipbytes::directory(members);
    const quint64 at = quint64(200 * kMiB);
    return {{},
            200 * kMiB,
            dir + zipbytes::zip64End(quint64(members.size()), quint64(dir.size()), at,
                                     at + quint64(dir.size()))};
}

struct Figures {
    double medianMs = 0;
    double maxMs = 0;
    qint64 extraKiB = 0;
    qsizetype members = -1;
};

Figures measure(const QString& path, int runs) {
    Figures f;
    bench::resetPeak();
    const qint64 before = bench::statusKiB("VmRSS");
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        const auto members = platform::readZipDirectory(path);
        times << double(timer.nsecsElapsed()) / 1e6;
        f.members = members ? members->size() : -1;
    }
    f.extraKiB = bench::statusKiB("VmHWM") - before;
    std::sort(times.begin(), times.end());
    f.medianMs = times[times.size() / 2];
    f.maxMs = times.last();
    return f;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    struct Case {
        const char* what;
        Shape (*make)();
        int runs;
        bool goal;
    };
    const Case cases[] = {
        {"sparse 200 MB, genuine directory of 20", &sparseGenuine, 101, true},
        {"64 KiB of end records after the directory", &endRecordsAfter, 21, false},
        {"64 KiB of end records in the directory", &endRecordsInDirectory, 21, false},
        {"sparse 2 GiB zip64 claiming 46 million members", &zip64Claims, 21, false},
        {"the most it takes, 4,096 members named in 1 KiB, after 200 MB",
         [] {
             return membersAfterData(int(platform::kZipMemberLimit), int(platform::kZipNameLimit));
         },
         5, false},
        {"100,000 members after 200 MB", [] { return membersAfterData(100000, 12); }, 5, false},
    };
    QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/kestrun-zip-XXXXXX"));
    bool met = true;
    for (const Case& c : cases) {
        const QString path = folder.filePath(QStringLiteral("x.zip"));
        const Shape shape = c.make();
        if (!folder.isValid() || !zipbytes::writeSparse(path, shape.head, shape.hole, shape.tail)) {
            out << c.what << ": cannot generate the file in " << QDir::tempPath() << Qt::endl;
            return 1;
        }
        const Figures f = measure(path, c.runs);
        QFile::remove(path);
        out << c.what << ": ";
        if (f.members < 0)
            out << "refused";
        else
            out << f.members << " members";
        out << ", median " << QString::number(f.medianMs, 'f', 2) << " ms, max "
            << QString::number(f.maxMs, 'f', 2) << " ms (" << c.runs << " runs), +"
            << QString::number(double(f.extraKiB) / 1024.0, 'f', 1) << " MB peak";
        if (c.goal) {
            const bool ok = f.medianMs < kGoalMs && f.members == 20;
            met = met && ok;
            out << (ok ? "" : "  (goal missed)");
        }
        out << Qt::endl;
    }
    out << "goal: the genuine directory read in under " << kGoalMs
        << " ms: " << (met ? "met" : "MISSED") << Qt::endl;
    return met ? 0 : 1;
}
