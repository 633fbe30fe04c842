#pragma once

#include <QChar>
#include <QString>

namespace platform {

// CR, LF, U+2028 (line separator) and U+2029 (paragraph separator): each of
// them ends a line in some reader of the files one-line values go to.
inline bool isLineBreak(QChar c) {
    return c == u'\r' || c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

// `text` without its line breaks, the rest kept in order.
inline QString withoutLineBreaks(QString text) {
    text.removeIf(isLineBreak);
    return text;
}

} // namespace platform
