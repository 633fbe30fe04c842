#pragma once

#include <QByteArray>
#include <QString>

namespace emulator {

// Reading the emulator's configuration file, Config/Supermodel.ini, whole
// and bounded; ConfigDocument reads and edits what it holds.

// Files bigger than this, or holding a NUL byte, are not edited.
inline constexpr qsizetype kConfigFileLimit = qsizetype(16) << 20;

enum class ConfigProblem { None, NulByte, TooLarge, Unreadable };

// Why a file cannot be edited, as a box says it ("it holds a NUL byte").
QString configProblemText(ConfigProblem problem);

// Whether the bytes can be edited safely.
ConfigProblem configProblem(const QByteArray& bytes);

// The content of a configuration file, read whole when it is within the
// limit (never more is read); `problem` says why it cannot be edited.
struct ConfigRead {
    bool exists = false;
    QByteArray bytes;
    ConfigProblem problem = ConfigProblem::None;
};
ConfigRead readConfigFile(const QString& path);

} // namespace emulator
