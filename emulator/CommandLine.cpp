#include "emulator/CommandLine.h"

namespace emulator {

namespace {

QString optionPiece(bool on, const QString& option) {
    return on ? option : QString();
}

} // namespace

CommandLine gameCommandLine(const GameLaunch& launch, QChar quote) {
    const QString program = launch.emulatorFolder + QLatin1String(kEmulatorProgram);
    const QString archive = launch.archivePath.isEmpty()
                                ? launch.romFolder + launch.romSet + QStringLiteral(".zip")
                                : launch.archivePath;

    // Everything after the archive: the blanks between the optional pieces
    // stay in the text even when a piece is off.
    const QString options =
        QStringLiteral("-res=") + launch.width + u',' + launch.height + u' ' +
        optionPiece(launch.clockOn, QStringLiteral("-ppc-frequency=") + launch.clock) + u' ' +
        optionPiece(launch.showFps, QStringLiteral("-show-fps")) + u' ' +
        optionPiece(launch.fullScreen, QStringLiteral("-fullscreen")) + u' ' +
        optionPiece(launch.noThrottle, QStringLiteral("-no-throttle"));

    CommandLine line;
    line.text = quote + program + quote + u' ' + quote + archive + quote + u' ' + options;
    line.program = program;
    // The paths go over whole: blanks or quotes in a folder name must not
    // turn one path into several arguments.
    line.arguments << archive << options.split(u' ', Qt::SkipEmptyParts);
    return line;
}

CommandLine inputSetupCommandLine(const QString& emulatorFolder, QChar quote) {
    CommandLine line;
    line.program = emulatorFolder + QLatin1String(kEmulatorProgram);
    line.text = quote + line.program + quote + QStringLiteral(" -config-inputs");
    line.arguments << QStringLiteral("-config-inputs");
    return line;
}

QStringList splitCommandLine(const QString& text, QChar quote) {
    QStringList pieces;
    QString current;
    // A pair of quotes makes an argument even when nothing lies between them.
    bool inPiece = false;
    bool quoted = false;
    for (QChar c : text) {
        if (c == quote) {
            quoted = !quoted;
            inPiece = true;
        } else if (c == u' ' && !quoted) {
            if (inPiece) {
                pieces << current;
                current.clear();
                inPiece = false;
            }
        } else {
            current += c;
            inPiece = true;
        }
    }
    if (inPiece)
        pieces << current;
    return pieces;
}

} // namespace emulator
