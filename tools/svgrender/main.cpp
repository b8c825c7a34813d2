// Build step: renders one SVG picture to the PNG or JPG file the program loads.
//   varno-svgrender <source.svg> <target.png|target.jpg>
// The picture keeps the size the SVG gives itself (width/height, else its view box).

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: varno-svgrender <source.svg> <target.png|target.jpg>\n");
        return 2;
    }
    QSvgRenderer renderer(args.at(1));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "varno-svgrender: cannot read %s\n", qPrintable(args.at(1)));
        return 1;
    }
    QSize size = renderer.defaultSize();
    if (size.isEmpty())
        size = renderer.viewBox().size();
    if (size.isEmpty()) {
        std::fprintf(stderr, "varno-svgrender: %s has no size\n", qPrintable(args.at(1)));
        return 1;
    }
    const bool jpeg = args.at(2).endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive);
    QImage image(size, jpeg ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    image.fill(jpeg ? Qt::black : Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        renderer.render(&painter);
    }
    QDir().mkpath(QFileInfo(args.at(2)).absolutePath());
    if (!image.save(args.at(2), nullptr, jpeg ? 90 : -1)) {
        std::fprintf(stderr, "varno-svgrender: cannot write %s\n", qPrintable(args.at(2)));
        return 1;
    }
    return 0;
}
