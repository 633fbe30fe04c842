#include "ui/Pictures.h"

#include <QImage>
#include <QImageReader>
#include <cmath>

namespace ui {

namespace {

// Every picture is a PNG: naming the format keeps the reader from loading
// each image-format plugin (SVG, JPEG, ...) to ask whether it knows the file.
void readAsPng(QImageReader& reader) {
    reader.setFormat("png");
    reader.setAutoDetectImageFormat(false);
}

QSize pngSize(const QString& resource) {
    QImageReader reader(resource);
    readAsPng(reader);
    return reader.size(); // reads the header only
}

QImage readPng(const QString& resource) {
    QImageReader reader(resource);
    readAsPng(reader);
    return reader.read();
}

} // namespace

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
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    const QSize drawn = pngSize(resource);
    if (!drawn.isValid())
        return {};
    const QSize logical = drawn.scaled(size, Qt::KeepAspectRatio);
    const QSize device(int(std::lround(logical.width() * ratio)),
                       int(std::lround(logical.height() * ratio)));
    // Scale down, never up: the drawn size serves where it is large enough,
    // the double size everywhere else.
    QImage source;
    if (device.width() > drawn.width() || device.height() > drawn.height())
        source =
            readPng(QString(resource).replace(QLatin1String(".png"), QLatin1String("@2x.png")));
    if (source.isNull())
        source = readPng(resource);
    if (source.isNull())
        return {};
    if (source.size() != device)
        source = source.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPixmap pixmap = QPixmap::fromImage(std::move(source));
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

} // namespace ui
