#include "platform/SafeCopy.h"

#include "platform/FileDescriptor.h"
#include "platform/Paths.h"
#include "platform/TemporaryName.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

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
    Folder openFolder(int parent, const QString& relative, const struct stat& source,
                      FileDescriptor& folder, bool onTheWay = false);
    bool replaceLinkWithFolder(int parent, const QByteArray& name);
    void bringFile(int parent, const QString& relative, const struct stat& source);
    void copyInto(int parent, const QByteArray& name, const QString& relative);

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

    FileDescriptor root(
        ::open(encoded(m_targetRoot).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!root.valid()) {
        fail(relative, errorText(errno));
        return m_failure;
    }
    // The folders on the way ("Config" for "Config/Games.xml") are the
    // source's folders of the same names.
    const QStringList parts = relative.split(u'/', Qt::SkipEmptyParts);
    FileDescriptor parent = std::move(root);
    QString walked;
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        walked += (walked.isEmpty() ? QString() : QStringLiteral("/")) + parts[i];
        struct stat source;
        if (::stat(encoded(sourcePath(walked)).constData(), &source) != 0) {
            fail(walked, errorText(errno));
            return m_failure;
        }
        FileDescriptor next;
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
    FileDescriptor folder;
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
                                  FileDescriptor& folder, bool onTheWay) {
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
    folder = FileDescriptor(
        ::openat(parent, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
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

void Copier::copyInto(int parent, const QByteArray& name, const QString& relative) {
    // Not blocking: a source swapped for a pipe must not hang the window.
    struct stat source;
    const FileDescriptor in = openWithoutWaiting(sourcePath(relative), source);
    if (!in.valid())
        return fail(relative, errorText(errno));
    if (!S_ISREG(source.st_mode))
        return fail(relative, QStringLiteral("not an ordinary file"));
    // The copy's time is the source's: a later start sees it up to date.
    const int error =
        replaceAt(parent, name, [&](int out) { return copyBytes(in.get(), out, m_budget); },
                  {.modified = &source.st_mtim});
    if (error != 0)
        fail(relative, error == kGrew ? tooLarge(false) : errorText(error));
}

} // namespace

std::optional<CopyFailure> bringCopy(const QString& sourceRoot, const QString& targetRoot,
                                     const QString& relative, qint64 limit) {
    return Copier(withTrailingSeparator(sourceRoot), withTrailingSeparator(targetRoot), limit)
        .run(relative);
}

std::optional<CopyFailure> copyWhenMissing(const QString& source, const QString& targetRoot,
                                           const QString& relative, qint64 limit) {
    const QString root = withTrailingSeparator(targetRoot);
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

    FileDescriptor top(::open(encoded(root).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!top.valid())
        return failed(errorText(errno));
    const QByteArray folderName = encoded(relative.section(u'/', 0, -2));
    const QByteArray name = lastPart(relative);
    FileDescriptor folder(::openat(top.get(), folderName.constData(),
                                   O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!folder.valid() && errno == ENOENT) {
        if (::mkdirat(top.get(), folderName.constData(), 0777) != 0 && errno != EEXIST)
            return failed(errorText(errno));
        folder = FileDescriptor(::openat(top.get(), folderName.constData(),
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
    struct stat opened;
    const FileDescriptor in = openWithoutWaiting(source, opened, O_NOFOLLOW);
    if (!in.valid())
        return failed(errno == ELOOP ? QStringLiteral("a link, left alone") : errorText(errno));
    if (!S_ISREG(opened.st_mode))
        return failed(QStringLiteral("not an ordinary file"));
    const QString tooLarge = QStringLiteral("more than %1 MiB").arg(limit / (1024 * 1024));
    if (opened.st_size > limit)
        return failed(tooLarge);

    qint64 budget = limit;
    // Never over anything: a file that came meanwhile is kept.
    const int error =
        replaceAt(folder.get(), name, [&](int out) { return copyBytes(in.get(), out, budget); },
                  {.overExisting = false, .modified = &opened.st_mtim});
    if (error == 0 || error == EEXIST)
        return std::nullopt;
    return failed(error == kGrew ? tooLarge : errorText(error));
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
