#include "emulator/ConfigFile.h"

#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace emulator {

QString configProblemText(ConfigProblem problem) {
    switch (problem) {
    case ConfigProblem::NulByte:
        return QStringLiteral("it holds a NUL byte");
    case ConfigProblem::TooLarge:
        return QStringLiteral("it is larger than 16 MiB");
    case ConfigProblem::Unreadable:
        return QStringLiteral("it cannot be read");
    case ConfigProblem::None:
        break;
    }
    return {};
}

ConfigProblem configProblem(const QByteArray& bytes) {
    if (bytes.size() > kConfigFileLimit)
        return ConfigProblem::TooLarge;
    if (bytes.contains('\0'))
        return ConfigProblem::NulByte;
    return ConfigProblem::None;
}

ConfigRead readConfigFile(const QString& path) {
    ConfigRead read;
    if (!QFileInfo(path).isFile())
        return read;
    read.exists = true;
    // Not blocking, and an ordinary file only: one swapped for a pipe or a
    // device since the look must not hang the window.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    struct stat st;
    QFile file;
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        if (fd >= 0)
            ::close(fd);
        read.problem = ConfigProblem::Unreadable;
        return read;
    }
    // Never more than one byte past the limit: a bigger file is refused unread.
    read.bytes = file.read(kConfigFileLimit + 1);
    read.problem = file.error() != QFileDevice::NoError ? ConfigProblem::Unreadable
                                                        : configProblem(read.bytes);
    if (read.problem == ConfigProblem::TooLarge)
        read.bytes.clear();
    return read;
}

} // namespace emulator
