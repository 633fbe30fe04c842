#pragma once

#include <QChar>
#include <QString>
#include <initializer_list>

namespace platform {

// The path separator that folder texts end with and relative names use.
#ifdef Q_OS_WIN
inline constexpr QChar kSeparator = u'\\';
#else
inline constexpr QChar kSeparator = u'/';
#endif

// `folder` with exactly the one trailing separator it needs: a folder that
// already ends with the separator (a drive or file-system root) is kept.
QString withTrailingSeparator(const QString& folder);

// The emulator's program file, named once for each platform.
#ifdef Q_OS_WIN
inline constexpr const char* kEmulatorProgram = "Supermodel.exe";
#else
inline constexpr const char* kEmulatorProgram = "supermodel";
#endif

// A relative name under a folder: parts joined by the separator.
QString relative(std::initializer_list<const char*> parts);

} // namespace platform
