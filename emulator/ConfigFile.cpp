#include "emulator/ConfigFile.h"

#include "platform/Files.h"

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
    if (!platform::isFile(path))
        return {};
    // One swapped for a pipe or a device since the look is never waited on.
    const platform::FileRead file = platform::readFile(path, kConfigFileLimit);
    switch (file.outcome) {
    case platform::FileRead::Outcome::Read:
        return {true, file.bytes, configProblem(file.bytes)};
    case platform::FileRead::Outcome::TooLarge:
        return {true, {}, ConfigProblem::TooLarge};
    case platform::FileRead::Outcome::Unreadable:
        break;
    }
    return {true, {}, ConfigProblem::Unreadable};
}

} // namespace emulator
