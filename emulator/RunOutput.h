#pragma once

#include <QString>
#include <QStringList>

class QIODevice;

namespace emulator {

// What the emulator printed, as far as the user is told of it: its "Error:"
// lines. Its output may be huge or binary, so only its end is searched.

// The lines searched are those that reach into the last kOutputTailBytes.
constexpr qint64 kOutputTailBytes = 64 * 1024;
// How far back the start of a line that runs into that tail is looked for.
constexpr qint64 kLineStartSearchBytes = 16 * 1024 * 1024;
constexpr int kErrorLinesShown = 5;
constexpr int kErrorLineLength = 200;

// The last kErrorLinesShown lines of `output` (a file or buffer that can
// seek) that begin with "Error:", oldest first, among the lines that reach
// into its last kOutputTailBytes, however early they begin. Each is cut to
// kErrorLineLength characters (then "...") and holds only characters a box
// can show. Lines end at LF, CR or CR LF.
QStringList lastErrorLines(QIODevice& output);

// One line as the user sees it: UTF-8 decoded, a tab as a space, every
// control, format, private-use, unassigned or line-breaking character as
// U+FFFD, cut to kErrorLineLength characters (then "...").
QString shownLine(const QByteArray& bytes);

// Output as the user sees it, line ends kept: LF and tabs as they are, CR
// dropped (CR LF is a line end), every other character shownLine would not
// show as U+FFFD.
QString shownOutput(const QString& text);

// "Emu Error ..." followed by one line per error line and, when the run's
// output could not be kept, a sentence saying so.
QString emuErrorText(const QStringList& errorLines, bool outputKept = true);

// What a run that ended with `status` tells the user: its error lines, else
// how it ended (and whether it printed anything that could be kept).
QStringList failureLines(int status, const QStringList& errorLines, bool outputKept);

// One linked cabinet that failed, and what it told.
struct CabinetFailure {
    int cabinet = 1;
    QStringList lines; // failureLines
    bool outputKept = true;
};

// "Emu Error ..." followed, for each cabinet, by "Cabinet k:" and its
// lines, indented.
QString linkedErrorText(const QList<CabinetFailure>& failures);

} // namespace emulator
