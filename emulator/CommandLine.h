#pragma once

#include "platform/Paths.h"

#include <QChar>
#include <QString>
#include <QStringList>

namespace emulator {

using platform::kEmulatorProgram;

// A composed command line: the text kept as the record of the launch, and the
// program and arguments it stands for, which are what is started (never
// through a shell).
struct CommandLine {
    QString text;
    QString program;
    QStringList arguments;
};

// What the game command line is made of, read from the window.
struct GameLaunch {
    QString emulatorFolder; // ends with the path separator
    QString romFolder;      // ends with the path separator
    QString romSet;         // e.g. "vf3"
    QString archivePath;    // the archive found, as it is named; else ROM folder + set + ".zip"
    QString width;          // as typed
    QString height;         // as typed
    QString clock;          // as typed, used only when clockOn
    bool clockOn = false;
    bool showFps = false;
    bool fullScreen = false;
    bool noThrottle = false;
};

// The 22 pieces joined with nothing between: quote, emulator folder, program
// file, quote, " ", quote, ROM folder, set, ".zip" (or the archive found,
// however its name is written), quote, " -res=", width,
// ",", height, then " " + "-ppc-frequency=" clock, " " + "-show-fps",
// " " + "-fullscreen", " " + "-no-throttle", each optional piece empty when
// off (its blank stays). Program: emulator folder + program file. Arguments:
// the archive path as one argument, then the rest of the line split on
// blanks with empty pieces dropped.
CommandLine gameCommandLine(const GameLaunch& launch, QChar quote);

// quote + emulator folder + program file + quote + " -config-inputs".
CommandLine inputSetupCommandLine(const QString& emulatorFolder, QChar quote);

// Splits a stored command-line text back into program and arguments: a piece
// between two quotes is one argument whatever it holds (blanks included);
// outside quotes, blanks separate arguments and runs of blanks give no empty
// argument. Returns program first.
QStringList splitCommandLine(const QString& text, QChar quote);

} // namespace emulator
