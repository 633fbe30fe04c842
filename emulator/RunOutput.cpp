#include "emulator/RunOutput.h"

#include <QIODevice>

namespace emulator {

namespace {

QString shownLine(const QByteArray& bytes) {
    QString line = QString::fromUtf8(bytes);
    for (QChar& c : line) {
        if (c == u'\t')
            c = u' ';
        else if (!c.isPrint() && !c.isSurrogate())
            c = QChar::ReplacementCharacter;
    }
    if (line.size() > kErrorLineLength) {
        qsizetype cut = kErrorLineLength;
        if (line[cut - 1].isHighSurrogate())
            --cut;
        line = line.first(cut) + QStringLiteral("...");
    }
    return line;
}

} // namespace

OutputTail readOutputTail(QIODevice& output) {
    OutputTail tail;
    const qint64 size = output.size();
    const qint64 start = size > kOutputTailBytes ? size - kOutputTailBytes : 0;
    if (!output.seek(start))
        return tail;
    tail.bytes = output.read(kOutputTailBytes);
    tail.whole = start == 0;
    return tail;
}

QStringList lastErrorLines(const OutputTail& tail) {
    QList<QByteArray> lines = tail.bytes.split('\n');
    if (!tail.whole && !lines.isEmpty())
        lines.removeFirst();
    QStringList found;
    // From the end, so that only the lines shown are decoded.
    for (qsizetype i = lines.size() - 1; i >= 0 && found.size() < kErrorLinesShown; --i) {
        const QList<QByteArray> pieces = lines[i].split('\r');
        for (qsizetype j = pieces.size() - 1; j >= 0 && found.size() < kErrorLinesShown; --j) {
            if (pieces[j].startsWith("Error:"))
                found.prepend(shownLine(pieces[j]));
        }
    }
    return found;
}

QString emuErrorText(const QStringList& errorLines) {
    QString text = QStringLiteral("Emu Error ...");
    for (const QString& line : errorLines)
        text += u'\n' + line;
    return text;
}

} // namespace emulator
