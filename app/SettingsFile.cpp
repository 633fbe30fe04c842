#include "app/SettingsFile.h"

#include "platform/LineBreaks.h"

#include <QIODevice>
#include <QStringDecoder>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

namespace app {

namespace {

// One line of the file at a time, without copying: CR LF, CR alone and LF
// alone each end one line. CR and LF never occur inside a UTF-8 multi-byte
// sequence, so lines can be cut on bytes and decoded one by one.
class LineScanner {
public:
    explicit LineScanner(QByteArrayView bytes)
        : pos_(bytes.data()), end_(bytes.data() + bytes.size()) {}

    bool next(QByteArrayView& line) {
        if (pos_ == end_)
            return false;
        const char* start = pos_;
        while (pos_ != end_ && *pos_ != '\r' && *pos_ != '\n')
            ++pos_;
        line = QByteArrayView(start, pos_ - start);
        if (pos_ != end_) {
            const bool cr = *pos_ == '\r';
            ++pos_;
            if (cr && pos_ != end_ && *pos_ == '\n')
                ++pos_;
        }
        return true;
    }

private:
    const char* pos_;
    const char* end_;
};

// Large enough that skipping a huge line costs few reads, small enough not to
// count: the block is the reader's only buffer.
constexpr qsizetype kBlockSize = qsizetype(1) << 20;

// Where the line starting at `begin` ends: its first CR or LF, else `end`.
const char* lineEnd(const char* begin, const char* end) {
    const void* lf = std::memchr(begin, '\n', std::size_t(end - begin));
    const char* stop = lf ? static_cast<const char*>(lf) : end;
    const void* cr = std::memchr(begin, '\r', std::size_t(stop - begin));
    return cr ? static_cast<const char*>(cr) : stop;
}

bool isContinuationByte(char c) {
    return (uchar(c) & 0xC0) == 0x80;
}

// Reads a device one line at a time in fixed-size blocks, so that memory stays
// bounded whatever the file holds. CR LF, CR alone and LF alone each end one
// line; a line longer than kLineLimit bytes is cut to that length (never
// inside a UTF-8 sequence) and the rest of it skipped.
class LineReader final {
public:
    explicit LineReader(QIODevice& device) : m_device(device) {}

    // The next line without its end; false at the end of the device or on a
    // read error.
    bool next(QByteArray& line);

private:
    bool fill();

    QIODevice& m_device;
    QByteArray m_block;
    qsizetype m_pos = 0;
};

bool LineReader::fill() {
    m_block.resize(kBlockSize);
    const qint64 got = m_device.read(m_block.data(), kBlockSize);
    m_block.resize(got > 0 ? qsizetype(got) : 0);
    m_pos = 0;
    return got > 0;
}

bool LineReader::next(QByteArray& line) {
    line.clear();
    if (m_pos == m_block.size() && !fill())
        return false;
    for (;;) {
        const char* begin = m_block.constData() + m_pos;
        const char* blockEnd = m_block.constData() + m_block.size();
        const char* stop = lineEnd(begin, blockEnd);
        // One byte more than kept, to see whether the cut falls inside a
        // UTF-8 sequence.
        const qsizetype room = kLineLimit + 1 - line.size();
        if (room > 0)
            line.append(begin, qMin(qsizetype(stop - begin), room));
        m_pos = stop - m_block.constData();
        if (stop != blockEnd) {
            const bool cr = *stop == '\r';
            ++m_pos;
            if (cr && m_pos == m_block.size())
                fill();
            if (cr && m_pos < m_block.size() && m_block[m_pos] == '\n')
                ++m_pos;
            break;
        }
        if (!fill())
            break; // the last line has no end
    }
    if (line.size() > kLineLimit) {
        // Back up to the lead byte of a sequence the cut would split (at most
        // three bytes: no valid sequence is longer than four).
        qsizetype cut = kLineLimit;
        while (cut > 0 && kLineLimit - cut < 3 && isContinuationByte(line[cut]))
            --cut;
        if (isContinuationByte(line[cut]))
            cut = kLineLimit;
        line.truncate(cut);
    }
    return true;
}

// Only U+0020 counts: a tab is part of the value.
QByteArrayView trimSpaces(QByteArrayView line) {
    qsizetype first = 0;
    qsizetype last = line.size();
    while (first < last && line[first] == ' ')
        ++first;
    while (last > first && line[last - 1] == ' ')
        --last;
    return line.sliced(first, last - first);
}

// U+FEFF is an ordinary character inside the file: QString::fromUtf8 would
// drop it at the start of every line, emptying a line that counted as a value.
QString decodeLine(QByteArrayView line) {
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                       QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(line);
}

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Half-to-even by hand, so the result does not depend on the FPU rounding mode.
double roundHalfEven(double value) {
    const double floorValue = std::floor(value);
    const double fraction = value - floorValue;
    if (fraction > 0.5)
        return floorValue + 1.0;
    if (fraction < 0.5)
        return floorValue;
    return std::fmod(floorValue, 2.0) == 0.0 ? floorValue : floorValue + 1.0;
}

} // namespace

SettingsSlots parseSettings(const QByteArray& bytes) {
    SettingsSlots slots;
    // An editor may have put a byte-order mark at the start of the file.
    QByteArrayView rest(bytes);
    if (rest.startsWith("\xEF\xBB\xBF"))
        rest = rest.sliced(3);
    LineScanner scanner(rest);
    QByteArrayView line;
    int filled = 0;
    while (filled < kSettingsSlotCount && scanner.next(line)) {
        const QByteArrayView value = trimSpaces(line);
        if (value.isEmpty())
            continue;
        slots[filled++] = decodeLine(value);
    }
    return slots;
}

SettingsSlots readSettings(QIODevice& device) {
    // Only the lines that give values are kept, each at most kLineLimit long,
    // and handed to parseSettings: the same answer in bounded memory.
    static constexpr char kMark[] = "\xEF\xBB\xBF";
    LineReader reader(device);
    QByteArray kept;
    QByteArray line;
    int values = 0;
    bool first = true;
    while (values < kSettingsValueCount && reader.next(line)) {
        // The file's own byte-order mark is no value: a first line holding
        // only the mark must not take a value's place.
        QByteArrayView content(line);
        if (first && content.startsWith(kMark))
            content = content.sliced(3);
        first = false;
        if (trimSpaces(content).isEmpty())
            continue;
        kept += content;
        kept += '\n';
        ++values;
    }
    // parseSettings takes a leading mark for the file's own; that one is gone
    // already, so a mark leading now belongs to the value and gets a guard.
    if (kept.startsWith(kMark))
        kept.prepend(kMark);
    return parseSettings(kept);
}

bool isBlank(const QString& text) {
    for (QChar c : text) {
        if (c != u' ')
            return false;
    }
    return true;
}

QByteArray formatSettings(const SettingsValues& values) {
    // An empty or all-blank size line would vanish at the next read and shift
    // every later value up by one.
    // A line break inside a value would split it in two at the next read.
    const QString rawWidth = platform::withoutLineBreaks(values.width);
    const QString rawHeight = platform::withoutLineBreaks(values.height);
    const QString width = isBlank(rawWidth) ? QString::fromLatin1(kDefaultWidth) : rawWidth;
    const QString height = isBlank(rawHeight) ? QString::fromLatin1(kDefaultHeight) : rawHeight;

    QByteArray out;
    // The reader takes a leading U+FEFF for a byte-order mark: a first value
    // that starts with one gets a mark of its own in front, so it stays whole.
    if (values.emuPath.startsWith(QChar(0xFEFF)))
        out += "\xEF\xBB\xBF";
    const auto addLine = [&out](const QString& text) {
        out += text.toUtf8();
        out += "\r\n";
    };
    const auto option = [](int value) { return u' ' + QString::number(value) + u' '; };

    addLine(platform::withoutLineBreaks(values.emuPath));
    addLine(platform::withoutLineBreaks(values.romPath));
    addLine(width);
    addLine(height);
    addLine(option(values.showFps));
    addLine(option(values.fullScreen));
    addLine(option(values.noThrottle));
    return out;
}

std::optional<int> optionNumber(const QString& text) {
    const qsizetype size = text.size();
    qsizetype i = 0;
    while (i < size && text[i] == u' ')
        ++i;

    bool negative = false;
    if (i < size && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }

    // The matched number is rebuilt in plain ASCII for std::from_chars, which
    // ignores the locale: the decimal separator is always ".". Its decimal
    // order of magnitude is tracked on the way, for when a double cannot
    // hold it.
    std::string number;
    bool anyDigit = false;
    long long significantIntegerDigits = 0;
    long long leadingFractionZeros = 0;
    bool nonzeroSeen = false;
    while (i < size && isDigit(text[i])) {
        const char digit = char(text[i].unicode());
        number += digit;
        anyDigit = true;
        nonzeroSeen = nonzeroSeen || digit != '0';
        if (nonzeroSeen)
            ++significantIntegerDigits;
        ++i;
    }
    if (number.empty())
        number.push_back('0');
    if (i < size && text[i] == u'.') {
        ++i;
        number += '.';
        while (i < size && isDigit(text[i])) {
            const char digit = char(text[i].unicode());
            number += digit;
            anyDigit = true;
            if (!nonzeroSeen && digit == '0')
                ++leadingFractionZeros;
            nonzeroSeen = nonzeroSeen || digit != '0';
            ++i;
        }
    }
    if (!anyDigit || !nonzeroSeen)
        return 0;

    // The exponent counts only when digits follow: "1e" is just 1.
    long long exponentValue = 0;
    if (i < size && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype j = i + 1;
        bool negativeExponent = false;
        if (j < size && (text[j] == u'+' || text[j] == u'-')) {
            negativeExponent = text[j] == u'-';
            ++j;
        }
        if (j < size && isDigit(text[j])) {
            number += negativeExponent ? "e-" : "e";
            while (j < size && isDigit(text[j])) {
                number += char(text[j].unicode());
                // Saturate: anything this far out is out of range anyway.
                if (exponentValue < 1'000'000'000'000LL)
                    exponentValue = exponentValue * 10 + (text[j].unicode() - u'0');
                ++j;
            }
            if (negativeExponent)
                exponentValue = -exponentValue;
        }
    }

    double value = 0.0;
    const char* first = number.data();
    const char* last = number.data() + number.size();
    const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // Out of a double's reach means hundreds of orders of magnitude
        // away, so the sign of the order alone tells huge from tiny.
        const long long order =
            (significantIntegerDigits > 0 ? significantIntegerDigits : -leadingFractionZeros) +
            exponentValue;
        if (order > 0)
            return std::nullopt;
        return 0;
    }
    if (ec != std::errc() || !std::isfinite(value))
        return std::nullopt;

    const double rounded = roundHalfEven(negative ? -value : value);
    if (rounded < -32768.0 || rounded > 32767.0)
        return std::nullopt;
    return static_cast<int>(rounded);
}

} // namespace app
