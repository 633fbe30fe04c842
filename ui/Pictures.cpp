#include "ui/Pictures.h"

#include <QPainter>
#include <QSvgRenderer>
#include <cmath>
#include <mutex>

// The pictures are compiled into the static library: register them once.
static void registerPictures() {
    Q_INIT_RESOURCE(resources);
}

namespace ui {

QString numberedPictureResource(int number) {
    if (number < 101 || number > 122)
        return {};
    return QStringLiteral(":/pictures/%1.svg").arg(number);
}

QString windowIconResource() {
    return QStringLiteral(":/window/icon.svg");
}
QString launchPictureResource() {
    return QStringLiteral(":/window/launch.svg");
}
QString joystickPictureResource() {
    return QStringLiteral(":/window/joystick.svg");
}
QString closePictureResource() {
    return QStringLiteral(":/window/close.svg");
}

QPixmap renderPicture(const QString& resource, QSize size, qreal devicePixelRatio) {
    static std::once_flag registered;
    std::call_once(registered, registerPictures);
    if (resource.isEmpty() || size.isEmpty())
        return {};
    QSvgRenderer renderer(resource);
    if (!renderer.isValid())
        return {};
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    QPixmap pixmap(
        QSize(int(std::ceil(size.width() * ratio)), int(std::ceil(size.height() * ratio))));
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixmap.size())));
    }
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

} // namespace ui
