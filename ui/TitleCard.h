#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

namespace ui {

// A title card for a game with no snapshot of its own: its title large on
// the arcade-night backdrop of the snapshots, its maker and year below,
// drawn at the screen's density so that it is sharp at any scale.
QPixmap titleCard(QSize size, qreal devicePixelRatio, const QString& title, const QString& maker,
                  const QString& year);

} // namespace ui
