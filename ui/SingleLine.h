#pragma once

#include <QString>
#include <QValidator>

namespace ui {

// `text` without CR, LF, U+2028 (line separator) and U+2029 (paragraph
// separator): what a one-line value may not hold, since each of them ends a
// line in some reader of the files these values go to.
QString withoutLineBreaks(QString text);

// Keeps a line edit to one line, whatever is typed, pasted or set: line breaks
// are dropped and the rest kept.
class SingleLineValidator final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

} // namespace ui
