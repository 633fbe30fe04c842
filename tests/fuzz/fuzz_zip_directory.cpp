// The archive directory reader over any bytes: it never crashes, hangs or
// exceeds its bounds, reads the same twice, and what it reads, written back
// as a fresh archive, reads back the same.
#include "platform/ZipDirectory.h"
#include "tests/support/ZipBytes.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "zip directory: %s\n", what);
        std::abort();
    }
}

bool sameMembers(const QList<platform::ZipMember>& a, const QList<platform::ZipMember>& b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i].name != b[i].name || a[i].crc32 != b[i].crc32)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    platform::ZipProblem problem = platform::ZipProblem::None;
    const auto members = platform::readZipDirectory(bytes, &problem);
    const auto again = platform::readZipDirectory(bytes);
    check(members.has_value() == again.has_value(), "two readings disagree");
    check(members.has_value() == (problem == platform::ZipProblem::None),
          "a problem told for a directory read, or none for one refused");
    if (!members)
        return 0;
    check(members->size() <= platform::kZipMemberLimit, "more members than the bound");
    check(sameMembers(*members, *again), "two readings disagree on the members");

    QList<zipbytes::Member> written;
    for (const platform::ZipMember& m : *members) {
        const QByteArray name = m.name.toUtf8();
        if (name.size() > platform::kZipNameLimit)
            return 0; // a name that grew past the bound in its conversion
        written.append(zipbytes::member(name, m.crc32, true));
    }
    const auto reread = platform::readZipDirectory(QByteArrayView(zipbytes::archive(written)));
    check(reread.has_value(), "a fresh archive of the members is unreadable");
    check(sameMembers(*members, *reread), "a fresh archive of the members reads otherwise");
    return 0;
}
