#pragma once

#include <QString>
#include <QValidator>

namespace ui {

// Keeps a line edit to one line, whatever is typed, pasted or set: line breaks
// are dropped and the rest kept.
class SingleLineValidator final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

} // namespace ui
