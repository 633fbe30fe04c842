#include "ui/SingleLine.h"

#include "platform/LineBreaks.h"

namespace ui {

using platform::isLineBreak;

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
