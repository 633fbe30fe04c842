#pragma once

#include <QString>

class QWidget;

namespace ui {

// A short note over the lower part of `window` that goes by itself after a
// few seconds. It asks nothing, takes no focus and blocks nothing; a newer
// note replaces the one showing.
void showNotice(QWidget& window, const QString& text);

// The note showing in `window` now, or an empty string.
QString noticeShown(const QWidget& window);

} // namespace ui
