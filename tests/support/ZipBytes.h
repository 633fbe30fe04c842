#pragma once

// Zip archives written byte by byte, in the shapes the directory reader must
// take or refuse. Member data is never written: the reader never looks at it,
// and a hole in a sparse file stands for it.

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QtEndian>

namespace zipbytes {

inline QByteArray le(quint64 value, int bytes) {
    QByteArray out(bytes, '\0');
    for (int i = 0; i < bytes; ++i)
        out[i] = char((value >> (8 * i)) & 0xFF);
    return out;
}

struct Member {
    QByteArray name;
    quint32 crc = 0;
    quint32 size = 0;   // of the data after its local header
    quint64 offset = 0; // of its local header
    bool utf8 = false;
    QByteArray extra;
    QByteArray comment;
};

inline Member member(const QByteArray& name, quint32 crc, bool utf8 = false) {
    Member m;
    m.name = name;
    m.crc = crc;
    m.utf8 = utf8;
    return m;
}

inline QByteArray localHeader(const Member& m) {
    return le(0x04034b50, 4) + le(20, 2) + le(m.utf8 ? 0x800 : 0, 2) + le(0, 2) + le(0, 4) +
           le(m.crc, 4) + le(m.size, 4) + le(m.size, 4) + le(m.name.size(), 2) + le(0, 2) + m.name;
}

inline QByteArray entry(const Member& m) {
    return le(0x02014b50, 4) + le(20, 2) + le(20, 2) + le(m.utf8 ? 0x800 : 0, 2) + le(0, 2) +
           le(0, 4) + le(m.crc, 4) + le(m.size, 4) + le(m.size, 4) + le(m.name.size(), 2) +
           le(m.extra.size(), 2) + le(m.comment.size(), 2) + le(0, 2) + le(0, 2) + le(0, 4) +
           le(m.offset, 4) + m.name + m.extra + m.comment;
}

inline QByteArray directory(const QList<Member>& members) {
    QByteArray out;
    for (const Member& m : members)
        out += entry(m);
    return out;
}

inline QByteArray endRecord(quint64 entries, quint64 size, quint64 offset,
                            const QByteArray& comment = {}) {
    return le(0x06054b50, 4) + le(0, 2) + le(0, 2) + le(entries, 2) + le(entries, 2) + le(size, 4) +
           le(offset, 4) + le(comment.size(), 2) + comment;
}

// The zip64 record at `at`, its locator and an end record that defers to it.
inline QByteArray zip64End(quint64 entries, quint64 size, quint64 offset, quint64 at) {
    return le(0x06064b50, 4) + le(44, 8) + le(45, 2) + le(45, 2) + le(0, 4) + le(0, 4) +
           le(entries, 8) + le(entries, 8) + le(size, 8) + le(offset, 8) + le(0x07064b50, 4) +
           le(0, 4) + le(at, 8) + le(1, 4) + endRecord(0xFFFF, 0xFFFFFFFF, 0xFFFFFFFF);
}

// A whole archive of members without data.
inline QByteArray archive(QList<Member> members, const QByteArray& comment = {}) {
    QByteArray out;
    for (Member& m : members) {
        m.offset = quint64(out.size());
        m.size = 0;
        out += localHeader(m);
    }
    const QByteArray dir = directory(members);
    return out + dir +
           endRecord(quint64(members.size()), quint64(dir.size()), quint64(out.size()), comment);
}

// Writes `head`, then a hole of `hole` bytes (sparse where the file system
// allows it), then `tail`.
inline bool writeSparse(const QString& path, const QByteArray& head, qint64 hole,
                        const QByteArray& tail) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(head) != head.size() ||
        !file.resize(head.size() + hole) || !file.seek(head.size() + hole))
        return false;
    return file.write(tail) == tail.size() && file.flush();
}

} // namespace zipbytes
