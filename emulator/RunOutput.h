#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class QIODevice;

namespace emulator {

// What the emulator printed, as far as the user is told of it: its "Error:"
// lines. Its output may be huge or binary, so only its end is ever read.

constexpr qint64 kOutputTailBytes = 64 * 1024;
constexpr int kErrorLinesShown = 5;
constexpr int kErrorLineLength = 200;

// The last kOutputTailBytes of `output` (a file or buffer that can seek), and
// whether that is all of it.
struct OutputTail {
    QByteArray bytes;
    bool whole = true;
};
OutputTail readOutputTail(QIODevice& output);

// The last kErrorLinesShown lines that begin with "Error:", oldest first,
// each cut to kErrorLineLength characters (then "...") with characters that
// cannot be shown replaced. A cut tail's first line, being partial, is
// skipped. Lines end at LF, CR or CR LF.
QStringList lastErrorLines(const OutputTail& tail);

// "Emu Error ..." followed by one line per error line.
QString emuErrorText(const QStringList& errorLines);

} // namespace emulator
