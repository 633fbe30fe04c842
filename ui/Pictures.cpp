#include "ui/Pictures.h"

#include <QImage>
#include <cmath>

namespace ui {

QString numberedPictureResource(int number) {
    if (number < 101 || number > 122)
        return {};
    return QStringLiteral(":/pictures/%1.png").arg(number);
}

QString windowIconResource() {
    return QStringLiteral(":/window/icon.png");
}
QString launchPictureResource() {
    return QStringLiteral(":/window/launch.png");
}
QString joystickPictureResource() {
    return QStringLiteral(":/window/joystick.png");
}
QString closePictureResource() {
    return QStringLiteral(":/window/close.png");
}

QPixmap renderPicture(const QString& resource, QSize size, qreal devicePixelRatio) {
    if (resource.isEmpty() || size.isEmpty())
        return {};
    const QImage source(resource);
    if (source.isNull())
        return {};
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    const QSize logical = source.size().scaled(size, Qt::KeepAspectRatio);
    const QSize device(int(std::lround(logical.width() * ratio)),
                       int(std::lround(logical.height() * ratio)));
    QPixmap pixmap =
        QPixmap::fromImage(source.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

} // namespace ui
