#include "platform/SafeCopy.h"

#include "platform/TemporaryName.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace platform {

namespace {

// Owns a file descriptor.
class Fd final {
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    Fd(Fd&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    Fd& operator=(Fd&& other) noexcept {
        std::swap(m_fd, other.m_fd);
        return *this;
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    // Closes now, for the error a delayed write can report only here.
    int close() { return ::close(std::exchange(m_fd, -1)); }

private:
    int m_fd;
};

QString errorText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

QByteArray encoded(const QString& path) {
    return QFile::encodeName(path);
}

bool sameObject(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// A copy is older when its time is before the source's. A file system that
// keeps whole seconds only cuts the copy's time: equal seconds then count as
// up to date.
bool olderThan(const struct timespec& copy, const struct timespec& source) {
    if (copy.tv_sec != source.tv_sec)
        return copy.tv_sec < source.tv_sec;
    return copy.tv_nsec != 0 && copy.tv_nsec < source.tv_nsec;
}

// The names in a folder of the source, sorted; nothing when it cannot be
// listed (with errno set).
std::optional<QStringList> namesIn(const QString& folder) {
    DIR* dir = ::opendir(encoded(folder).constData());
    if (!dir)
        return std::nullopt;
    QStringList names;
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const QString name = QFile::decodeName(entry->d_name);
        if (name != QLatin1String(".") && name != QLatin1String(".."))
            names.append(name);
    }
    const int error = errno;
    ::closedir(dir);
    if (error != 0) {
        errno = error;
        return std::nullopt;
    }
    names.sort();
    return names;
}

// What a source entry is, links followed: a file, a folder, or nothing to
// bring (anything else, or a link to a folder inside a folder).
enum class Kind { File, Folder, Skip };

Kind kindOf(const QString& path, bool top, struct stat& st) {
    struct stat own;
    if (::lstat(encoded(path).constData(), &own) != 0 ||
        ::stat(encoded(path).constData(), &st) != 0)
        return Kind::Skip;
    if (S_ISREG(st.st_mode))
        return Kind::File;
    if (S_ISDIR(st.st_mode) && (top || !S_ISLNK(own.st_mode)))
        return Kind::Folder;
    return Kind::Skip;
}

class Copier final {
public:
    Copier(QString sourceRoot, QString targetRoot, qint64 limit)
        : m_sourceRoot(std::move(sourceRoot)), m_targetRoot(std::move(targetRoot)), m_budget(limit),
          m_limit(limit) {}

    std::optional<CopyFailure> run(const QString& relative);

private:
    enum class Folder { Open, Own, Failed };

    QString sourcePath(const QString& relative) const { return m_sourceRoot + relative; }
    QString targetPath(const QString& relative) const { return m_targetRoot + relative; }

    void fail(const QString& relative, const QString& reason) {
        if (!m_failure)
            m_failure = CopyFailure{sourcePath(relative), targetPath(relative), reason};
    }
    QString tooLarge(bool folder) const {
        const QString size = QString::number(m_limit / (1024 * 1024));
        return folder ? QStringLiteral("more than %1 MiB in all").arg(size)
                      : QStringLiteral("more than %1 MiB").arg(size);
    }

    bool measure(const QString& relative, bool top, qint64& total);
    void bring(int parent, const QString& relative, bool top);
    Folder openFolder(int parent, const QString& relative, const struct stat& source, Fd& folder,
                      bool onTheWay = false);
    bool replaceLinkWithFolder(int parent, const QByteArray& name);
    void bringFile(int parent, const QString& relative, const struct stat& source);
    bool copyInto(int parent, const QByteArray& name, const QString& relative);

    QString m_sourceRoot;
    QString m_targetRoot;
    qint64 m_budget;
    qint64 m_limit;
    QString m_top;
    std::optional<CopyFailure> m_failure;
};

QByteArray lastPart(const QString& relative) {
    return encoded(relative.section(u'/', -1));
}

// What copyBytes returns when the source held more than its budget.
constexpr int kGrew = -1;

// Copies `in` to its end into `out`, taking what it reads from `budget`:
// 0, an errno value, or kGrew when the budget ran out (the source grew since
// it was measured).
int copyBytes(int in, int out, qint64& budget) {
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        const ssize_t got = ::read(in, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errno;
        if (got == 0)
            return 0;
        budget -= got;
        if (budget < 0)
            return kGrew;
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(out, buffer.data() + done, std::size_t(got - done));
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0)
                return put < 0 ? errno : ENOSPC;
            done += put;
        }
    }
}

bool Copier::measure(const QString& relative, bool top, qint64& total) {
    struct stat st;
    switch (kindOf(sourcePath(relative), top, st)) {
    case Kind::Skip:
        return true;
    case Kind::File:
        total += st.st_size;
        if (total > m_limit) {
            // A folder's files count together: the folder is what is too large.
            fail(m_top, tooLarge(!top));
            return false;
        }
        return true;
    case Kind::Folder:
        break;
    }
    const auto names = namesIn(sourcePath(relative));
    if (!names) {
        fail(relative, errorText(errno));
        return false;
    }
    for (const QString& name : *names) {
        if (!measure(relative + u'/' + name, false, total))
            return false;
    }
    return true;
}

std::optional<CopyFailure> Copier::run(const QString& relative) {
    m_top = relative;
    qint64 total = 0;
    if (!measure(relative, true, total))
        return m_failure;

    Fd root(::open(encoded(m_targetRoot).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!root.valid()) {
        fail(relative, errorText(errno));
        return m_failure;
    }
    // The folders on the way ("Config" for "Config/Games.xml") are the
    // source's folders of the same names.
    const QStringList parts = relative.split(u'/', Qt::SkipEmptyParts);
    Fd parent = std::move(root);
    QString walked;
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        walked += (walked.isEmpty() ? QString() : QStringLiteral("/")) + parts[i];
        struct stat source;
        if (::stat(encoded(sourcePath(walked)).constData(), &source) != 0) {
            fail(walked, errorText(errno));
            return m_failure;
        }
        Fd next;
        switch (openFolder(parent.get(), walked, source, next, true)) {
        case Folder::Own:
            return std::nullopt;
        case Folder::Failed:
            return m_failure;
        case Folder::Open:
            parent = std::move(next);
            break;
        }
    }
    bring(parent.get(), parts.join(u'/'), true);
    return m_failure;
}

void Copier::bring(int parent, const QString& relative, bool top) {
    struct stat source;
    switch (kindOf(sourcePath(relative), top, source)) {
    case Kind::Skip:
        return;
    case Kind::File:
        bringFile(parent, relative, source);
        return;
    case Kind::Folder:
        break;
    }
    Fd folder;
    if (openFolder(parent, relative, source, folder) != Folder::Open)
        return;
    const auto names = namesIn(sourcePath(relative));
    if (!names) {
        fail(relative, errorText(errno));
        return;
    }
    for (const QString& name : *names) {
        bring(folder.get(), relative + u'/' + name, false);
        if (m_failure)
            return;
    }
}

Copier::Folder Copier::openFolder(int parent, const QString& relative, const struct stat& source,
                                  Fd& folder, bool onTheWay) {
    const QByteArray name = lastPart(relative);
    struct stat st;
    if (::fstatat(parent, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno != ENOENT) {
            fail(relative, errorText(errno));
            return Folder::Failed;
        }
        if (::mkdirat(parent, name.constData(), 0777) != 0 && errno != EEXIST) {
            fail(relative, errorText(errno));
            return Folder::Failed;
        }
    } else if (S_ISDIR(st.st_mode)) {
        if (sameObject(st, source))
            return Folder::Own; // the emulator runs in the program folder
    } else if (S_ISLNK(st.st_mode)) {
        struct stat target;
        if (::fstatat(parent, name.constData(), &target, 0) == 0 && sameObject(target, source))
            return Folder::Own; // the user's own shortcut to the emulator's folder
        // A folder on the way ("Config") holds the user's own files too: it is
        // neither written through nor replaced, which would hide them.
        if (onTheWay) {
            fail(relative, QStringLiteral("a link leads out of the program folder"));
            return Folder::Failed;
        }
        if (!replaceLinkWithFolder(parent, name)) {
            fail(relative, errorText(errno));
            return Folder::Failed;
        }
    } else {
        fail(relative, QStringLiteral("a file is in the place of the folder"));
        return Folder::Failed;
    }
    // Should the name have turned into a link meanwhile, this refuses it.
    folder =
        Fd(::openat(parent, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!folder.valid()) {
        fail(relative, errorText(errno));
        return Folder::Failed;
    }
    return Folder::Open;
}

bool Copier::replaceLinkWithFolder(int parent, const QByteArray& name) {
    QByteArray spare;
    int made;
    do {
        spare = temporaryName(name);
        made = ::mkdirat(parent, spare.constData(), 0777);
    } while (made != 0 && errno == EEXIST);
    if (made != 0)
        return false;
    // Swapped in one step where the file system can; the link then sits at
    // the spare name and goes.
    if (::renameat2(parent, spare.constData(), parent, name.constData(), RENAME_EXCHANGE) == 0)
        return ::unlinkat(parent, spare.constData(), 0) == 0;
    if (errno != EINVAL && errno != ENOSYS) {
        const int error = errno;
        ::unlinkat(parent, spare.constData(), AT_REMOVEDIR);
        errno = error;
        return false;
    }
    // Otherwise a moment without the name: no link is followed either way.
    if (::unlinkat(parent, name.constData(), 0) != 0 ||
        ::renameat(parent, spare.constData(), parent, name.constData()) != 0) {
        const int error = errno;
        ::unlinkat(parent, spare.constData(), AT_REMOVEDIR);
        errno = error;
        return false;
    }
    return true;
}

void Copier::bringFile(int parent, const QString& relative, const struct stat& source) {
    const QByteArray name = lastPart(relative);
    struct stat st;
    if (::fstatat(parent, name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        if (S_ISDIR(st.st_mode)) {
            fail(relative, QStringLiteral("a folder is in the place of the file"));
            return;
        }
        if (S_ISREG(st.st_mode) &&
            (sameObject(st, source) || !olderThan(st.st_mtim, source.st_mtim)))
            return;
        if (S_ISLNK(st.st_mode)) {
            struct stat target;
            if (::fstatat(parent, name.constData(), &target, 0) == 0 && sameObject(target, source))
                return; // the user's own shortcut to the emulator's file
        }
    } else if (errno != ENOENT) {
        fail(relative, errorText(errno));
        return;
    }
    copyInto(parent, name, relative);
}

bool Copier::copyInto(int parent, const QByteArray& name, const QString& relative) {
    // Not blocking: a source swapped for a pipe must not hang the window.
    Fd in(::open(encoded(sourcePath(relative)).constData(),
                 O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat source;
    if (!in.valid() || ::fstat(in.get(), &source) != 0) {
        fail(relative, errorText(errno));
        return false;
    }
    if (!S_ISREG(source.st_mode)) {
        fail(relative, QStringLiteral("not an ordinary file"));
        return false;
    }

    QByteArray spare;
    Fd out;
    do {
        spare = temporaryName(name);
        out = Fd(::openat(parent, spare.constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    } while (!out.valid() && errno == EEXIST);
    if (!out.valid()) {
        fail(relative, errorText(errno));
        return false;
    }

    const auto give_up = [&](const QString& reason) {
        out.close();
        ::unlinkat(parent, spare.constData(), 0);
        fail(relative, reason);
        return false;
    };

    const int error = copyBytes(in.get(), out.get(), m_budget);
    if (error == kGrew)
        return give_up(tooLarge(false));
    if (error != 0)
        return give_up(errorText(error));
    // The copy's time is the source's: a later start sees it up to date.
    const struct timespec times[2] = {{0, UTIME_OMIT}, source.st_mtim};
    if (::futimens(out.get(), times) != 0 || ::fsync(out.get()) != 0)
        return give_up(errorText(errno));
    if (out.close() != 0) {
        const int error = errno;
        ::unlinkat(parent, spare.constData(), 0);
        fail(relative, errorText(error));
        return false;
    }
    // rename replaces a link itself, never what it leads to.
    if (::renameat(parent, spare.constData(), parent, name.constData()) != 0) {
        const int error = errno;
        ::unlinkat(parent, spare.constData(), 0);
        fail(relative, errorText(error));
        return false;
    }
    return true;
}

QString withSlash(const QString& folder) {
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

} // namespace

std::optional<CopyFailure> bringCopy(const QString& sourceRoot, const QString& targetRoot,
                                     const QString& relative, qint64 limit) {
    return Copier(withSlash(sourceRoot), withSlash(targetRoot), limit).run(relative);
}

std::optional<CopyFailure> copyWhenMissing(const QString& source, const QString& targetRoot,
                                           const QString& relative, qint64 limit) {
    const QString root = withSlash(targetRoot);
    const auto failed = [&](const QString& reason) {
        return CopyFailure{source, root + relative, reason};
    };
    struct stat own;
    if (::lstat(encoded(source).constData(), &own) != 0)
        return failed(errorText(errno));
    if (S_ISLNK(own.st_mode))
        return failed(QStringLiteral("a link, left alone"));
    if (!S_ISREG(own.st_mode))
        return failed(QStringLiteral("not an ordinary file"));

    Fd top(::open(encoded(root).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!top.valid())
        return failed(errorText(errno));
    const QByteArray folderName = encoded(relative.section(u'/', 0, -2));
    const QByteArray name = lastPart(relative);
    Fd folder(::openat(top.get(), folderName.constData(),
                       O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!folder.valid() && errno == ENOENT) {
        if (::mkdirat(top.get(), folderName.constData(), 0777) != 0 && errno != EEXIST)
            return failed(errorText(errno));
        folder = Fd(::openat(top.get(), folderName.constData(),
                             O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    }
    if (!folder.valid()) {
        const int error = errno;
        // A folder that is the user's own link: what is there through it
        // counts, but nothing is written through it.
        struct stat through;
        if (::fstatat(top.get(), encoded(relative).constData(), &through, 0) == 0)
            return std::nullopt;
        return failed(error == ELOOP || error == ENOTDIR
                          ? QStringLiteral("the folder in the program folder is a link or a file")
                          : errorText(error));
    }

    struct stat st;
    if (::fstatat(folder.get(), name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        if (!S_ISLNK(st.st_mode))
            return std::nullopt; // kept, whatever its age
        struct stat target;
        if (::fstatat(folder.get(), name.constData(), &target, 0) == 0 && sameObject(target, own))
            return std::nullopt; // the user's own shortcut to this very file
        return failed(QStringLiteral("a link is in its place, left alone"));
    }
    if (errno != ENOENT)
        return failed(errorText(errno));

    // Not blocking: a source swapped for a pipe must not hang the window.
    Fd in(::open(encoded(source).constData(),
                 O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat opened;
    if (!in.valid())
        return failed(errno == ELOOP ? QStringLiteral("a link, left alone") : errorText(errno));
    if (::fstat(in.get(), &opened) != 0)
        return failed(errorText(errno));
    if (!S_ISREG(opened.st_mode))
        return failed(QStringLiteral("not an ordinary file"));
    const QString tooLarge = QStringLiteral("more than %1 MiB").arg(limit / (1024 * 1024));
    if (opened.st_size > limit)
        return failed(tooLarge);

    QByteArray spare;
    Fd out;
    do {
        spare = temporaryName(name);
        out = Fd(::openat(folder.get(), spare.constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    } while (!out.valid() && errno == EEXIST);
    if (!out.valid())
        return failed(errorText(errno));
    const auto giveUp = [&](const QString& reason) {
        if (out.valid())
            out.close();
        ::unlinkat(folder.get(), spare.constData(), 0);
        return failed(reason);
    };
    qint64 budget = limit;
    const int error = copyBytes(in.get(), out.get(), budget);
    if (error == kGrew)
        return giveUp(tooLarge);
    if (error != 0)
        return giveUp(errorText(error));
    const struct timespec times[2] = {{0, UTIME_OMIT}, opened.st_mtim};
    if (::futimens(out.get(), times) != 0 || ::fsync(out.get()) != 0)
        return giveUp(errorText(errno));
    if (out.close() != 0)
        return giveUp(errorText(errno));
    // Never over anything: a file that came meanwhile is kept.
    if (::renameat2(folder.get(), spare.constData(), folder.get(), name.constData(),
                    RENAME_NOREPLACE) == 0)
        return std::nullopt;
    if (errno == EEXIST) {
        giveUp(QString());
        return std::nullopt;
    }
    if (errno != EINVAL && errno != ENOSYS)
        return giveUp(errorText(errno));
    // Where the file system cannot rename without replacing, a new name
    // made for the copy fails the same way when one is there.
    if (::linkat(folder.get(), spare.constData(), folder.get(), name.constData(), 0) != 0 &&
        errno != EEXIST)
        return giveUp(errorText(errno));
    ::unlinkat(folder.get(), spare.constData(), 0);
    return std::nullopt;
}

namespace {

// A leftover of ours: its link, its file, or its folder while empty.
void removeLeftover(const QFileInfo& leftover) {
    if (leftover.isSymLink() || leftover.isFile())
        QFile::remove(leftover.filePath());
    else if (leftover.isDir())
        QDir().rmdir(leftover.filePath());
}

} // namespace

void removeCopyLeftovers(const QString& targetRoot, const QString& relative) {
    const QFileInfo item(QDir(targetRoot).filePath(relative));
    const auto entries = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    QDirIterator beside(item.absolutePath(), entries);
    while (beside.hasNext()) {
        beside.next();
        if (isTemporaryNameOf(beside.fileName(), item.fileName()))
            removeLeftover(beside.fileInfo());
    }
    if (item.isSymLink() || !item.isDir())
        return;
    // Looked at whole first, then removed from the deepest up.
    QList<QFileInfo> within;
    QDirIterator it(item.filePath(), entries, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        if (isTemporaryName(it.fileName()))
            within.append(it.fileInfo());
    }
    for (auto leftover = within.crbegin(); leftover != within.crend(); ++leftover)
        removeLeftover(*leftover);
}

} // namespace platform
