#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

namespace ui {

// The pictures that ship inside the program, as vector art rendered at the
// size and device pixel ratio they are shown at.

// Resource path of numbered picture `number` (101..122), or an empty text
// when no picture has that number.
QString numberedPictureResource(int number);

// The window's own pictures.
QString windowIconResource();
QString launchPictureResource();
QString joystickPictureResource();
QString closePictureResource();

// Renders the vector picture at `size` logical pixels. Returns a null pixmap
// when the picture cannot be loaded.
QPixmap renderPicture(const QString& resource, QSize size, qreal devicePixelRatio);

} // namespace ui
