#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

namespace ui {

// The pictures that ship inside the program. Each is stored at the size it
// was drawn at and at twice that, and scaled down to where it is shown, so it
// stays sharp on 1x and 2x screens.

// Resource path of numbered picture `number` (101..122), or an empty text
// when no picture has that number.
QString numberedPictureResource(int number);

// The window's own pictures.
QString windowIconResource();
QString launchPictureResource();
QString joystickPictureResource();
QString closePictureResource();

// The picture scaled to fit `size` logical pixels, keeping its proportions,
// at the given device pixel ratio. A null pixmap when it cannot be loaded.
QPixmap renderPicture(const QString& resource, QSize size, qreal devicePixelRatio);

} // namespace ui
