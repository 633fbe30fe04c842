#pragma once

#include <QString>

namespace ui {

// The fixed help text of the left column: 31 lines, each ended by CR LF,
// laid out in columns with spaces for a fixed-pitch font.
QString helpText();

} // namespace ui
