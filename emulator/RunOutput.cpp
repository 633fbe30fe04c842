#include "emulator/RunOutput.h"

#include <QIODevice>
#include <algorithm>

namespace emulator {

namespace {

// Enough bytes for kErrorLineLength characters and one more, however many
// bytes each takes in UTF-8.
constexpr qint64 kLineHeadBytes = 4 * (kErrorLineLength + 1);
constexpr qint64 kSearchChunk = 64 * 1024;

bool isBreak(char c) {
    return c == '\n' || c == '\r';
}

bool shownAsItIs(char32_t c) {
    if (!QChar::isPrint(c))
        return false;
    const QChar::Category category = QChar::category(c);
    return category != QChar::Separator_Line && category != QChar::Separator_Paragraph;
}

// Where the line holding the byte at `at` begins, when the byte before it is
// not a line break: searched backwards, kLineStartSearchBytes at most; -1
// when its start lies further back.
qint64 startOfLineAround(QIODevice& output, qint64 at) {
    const qint64 limit = std::max<qint64>(0, at - kLineStartSearchBytes);
    qint64 end = at;
    while (end > limit) {
        const qint64 begin = std::max(limit, end - kSearchChunk);
        if (!output.seek(begin))
            return -1;
        const QByteArray chunk = output.read(end - begin);
        if (chunk.size() != end - begin)
            return -1;
        for (qsizetype i = chunk.size() - 1; i >= 0; --i) {
            if (isBreak(chunk[i]))
                return begin + i + 1;
        }
        end = begin;
    }
    return end == 0 ? 0 : -1;
}

// The first bytes of the line beginning at `start`, up to its break.
QByteArray lineHead(QIODevice& output, qint64 start) {
    if (!output.seek(start))
        return {};
    QByteArray head = output.read(kLineHeadBytes);
    const auto brk = std::find_if(head.begin(), head.end(), isBreak);
    head.truncate(brk - head.begin());
    return head;
}

} // namespace

QString shownLine(const QByteArray& bytes) {
    const QString decoded = QString::fromUtf8(bytes);
    // By code point, so that a character outside the BMP is judged whole.
    const QList<uint> points = decoded.toUcs4();
    QString line;
    qsizetype count = 0;
    for (const uint point : points) {
        if (count == kErrorLineLength)
            return line + QStringLiteral("...");
        const char32_t c = point == u'\t' ? U' ' : char32_t(point);
        if (shownAsItIs(c))
            line += QString::fromUcs4(&c, 1);
        else
            line += QChar(QChar::ReplacementCharacter);
        ++count;
    }
    return line;
}

QString shownOutput(const QString& text) {
    QString shown;
    shown.reserve(text.size());
    for (const uint point : text.toUcs4()) {
        const auto c = char32_t(point);
        if (c == U'\r')
            continue;
        if (c == U'\n' || c == U'\t' || shownAsItIs(c))
            shown += QString::fromUcs4(&c, 1);
        else
            shown += QChar(QChar::ReplacementCharacter);
    }
    return shown;
}

QStringList lastErrorLines(QIODevice& output) {
    const qint64 size = output.size();
    const qint64 tailStart = std::max<qint64>(0, size - kOutputTailBytes);
    if (!output.seek(tailStart))
        return {};
    const QByteArray tail = output.read(size - tailStart);

    // Every line start that reaches into the tail, in order: the start of
    // the line running into it from before, then each one after a break.
    QList<qint64> starts;
    if (tailStart > 0) {
        const qint64 first = startOfLineAround(output, tailStart);
        if (first >= 0)
            starts.append(first);
    } else {
        starts.append(0);
    }
    for (qsizetype i = 0; i < tail.size(); ++i) {
        if (isBreak(tail[i]))
            starts.append(tailStart + i + 1);
    }

    QStringList found;
    for (qsizetype i = starts.size() - 1; i >= 0 && found.size() < kErrorLinesShown; --i) {
        const qint64 start = starts[i];
        if (start < tailStart) {
            const QByteArray head = lineHead(output, start);
            if (head.startsWith("Error:"))
                found.prepend(shownLine(head));
            continue;
        }
        const QByteArrayView rest = QByteArrayView(tail).sliced(start - tailStart);
        if (!rest.startsWith("Error:"))
            continue;
        const QByteArrayView head = rest.first(std::min<qsizetype>(rest.size(), kLineHeadBytes));
        found.prepend(
            shownLine(head.first(std::find_if(head.begin(), head.end(), isBreak) - head.begin())
                          .toByteArray()));
    }
    return found;
}

QStringList failureLines(int status, const QStringList& errorLines, bool outputKept) {
    if (!errorLines.isEmpty())
        return errorLines;
    const QString line = status < 0
                             ? QStringLiteral("The emulator stopped abnormally")
                             : QStringLiteral("The emulator stopped with status %1").arg(status);
    return {line +
            (outputKept ? QStringLiteral(" and printed no error line.") : QStringLiteral("."))};
}

QString linkedErrorText(const QList<CabinetFailure>& failures) {
    QString text = QStringLiteral("Emu Error ...");
    for (const CabinetFailure& failure : failures) {
        text += QStringLiteral("\nCabinet %1:").arg(failure.cabinet);
        for (const QString& line : failure.lines)
            text += QStringLiteral("\n    ") + line;
        if (!failure.outputKept)
            text += QStringLiteral("\n    Its messages could not be kept.");
    }
    return text;
}

QString emuErrorText(const QStringList& errorLines, bool outputKept) {
    QString text = QStringLiteral("Emu Error ...");
    for (const QString& line : errorLines)
        text += u'\n' + line;
    if (!outputKept)
        text += QStringLiteral("\nIts messages could not be kept.");
    return text;
}

} // namespace emulator
