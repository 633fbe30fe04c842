// Build-time tool: renders the vector artwork to PNG at its drawn size and at
// twice that, so the program ships sharp pictures for 1x and 2x screens
// without parsing SVG (and loading the fonts its text uses) while it starts.
//
//   render-pictures OUTDIR SOURCEDIR FILE.svg...
// writes OUTDIR/<path of FILE relative to SOURCEDIR>.png and ...@2x.png.
//
//   render-pictures --icon OUTDIR FILE.svg SIZE...
// writes the square menu icon OUTDIR/SIZE.png for each SIZE.

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

namespace {

bool render(QSvgRenderer& renderer, QSize size, const QString& target) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
    }
    if (image.save(target, "PNG"))
        return true;
    std::fprintf(stderr, "render-pictures: cannot write %s\n", qPrintable(target));
    return false;
}

int renderIcon(const QStringList& args) {
    QSvgRenderer renderer(args.value(1));
    if (args.size() < 3 || !renderer.isValid()) {
        std::fprintf(stderr, "usage: render-pictures --icon OUTDIR FILE.svg SIZE...\n");
        return 2;
    }
    QDir().mkpath(args[0]);
    for (const QString& size : args.mid(2)) {
        const int side = size.toInt();
        if (side <= 0 ||
            !render(renderer, QSize(side, side), QDir(args[0]).filePath(size + ".png")))
            return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QGuiApplication application(argc, argv);
    const QStringList args = application.arguments();
    if (args.value(1) == QLatin1String("--icon"))
        return renderIcon(args.mid(2));
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: render-pictures OUTDIR SOURCEDIR FILE.svg...\n");
        return 2;
    }
    const QDir out(args[1]);
    const QDir source(args[2]);
    for (const QString& file : args.mid(3)) {
        QSvgRenderer renderer(file);
        if (!renderer.isValid()) {
            std::fprintf(stderr, "render-pictures: cannot read %s\n", qPrintable(file));
            return 1;
        }
        const QString base = out.filePath(source.relativeFilePath(file).chopped(4));
        QDir().mkpath(QFileInfo(base).absolutePath());
        for (int scale : {1, 2}) {
            const QString target =
                base + (scale == 1 ? QLatin1String(".png") : QLatin1String("@2x.png"));
            if (!render(renderer, renderer.defaultSize() * scale, target))
                return 1;
        }
    }
    return 0;
}
