#include "ui/SingleLine.h"

namespace ui {

namespace {

bool isLineBreak(QChar c) {
    return c == u'\r' || c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

} // namespace

QString withoutLineBreaks(QString text) {
    text.removeIf(isLineBreak);
    return text;
}

QValidator::State SingleLineValidator::validate(QString& input, int& pos) const {
    // The cursor keeps its place among the characters that stay.
    int removedBefore = 0;
    for (int i = 0; i < pos && i < input.size(); ++i) {
        if (isLineBreak(input[i]))
            ++removedBefore;
    }
    input.removeIf(isLineBreak);
    pos -= removedBefore;
    return Acceptable;
}

} // namespace ui
