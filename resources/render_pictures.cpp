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
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <png.h>

namespace {

// Every row is stored with the Sub filter: the program decodes these
// pictures while it starts, and undoing Sub is one addition a byte, where
// the Paeth filter an adaptive encoder mostly picks costs several times
// that. The files come out no larger, the pixels the same.
bool savePng(const QImage& picture, const QString& target) {
    const QImage image = picture.convertToFormat(QImage::Format_RGBA8888);
    FILE* file = std::fopen(QFile::encodeName(target).constData(), "wb");
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    volatile bool written = false;
    if (info && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_IHDR(png, info, png_uint_32(image.width()), png_uint_32(image.height()), 8,
                     PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        png_set_pHYs(png, info, png_uint_32(image.dotsPerMeterX()),
                     png_uint_32(image.dotsPerMeterY()), PNG_RESOLUTION_METER);
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
        png_set_compression_level(png, 9);
        png_write_info(png, info);
        for (int y = 0; y < image.height(); ++y)
            png_write_row(png, image.constScanLine(y));
        png_write_end(png, nullptr);
        written = true;
    }
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0 && written;
}

bool render(QSvgRenderer& renderer, QSize size, const QString& target) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
    }
    if (savePng(image, target))
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
