// render-icon SVG NAME OUTDIR SIZE...: draws the application's scalable icon at each size into
// OUTDIR/SIZExSIZE/apps/NAME.png, the hicolor theme's layout.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 5) {
        std::fprintf(stderr, "usage: render-icon SVG NAME OUTDIR SIZE...\n");
        return 2;
    }
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid()) {
        std::fprintf(stderr, "render-icon: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int a = 4; a < argc; ++a) {
        const int size = QString::fromLocal8Bit(argv[a]).toInt();
        if (size < 8 || size > 1024) {
            std::fprintf(stderr, "render-icon: size %s out of 8...1024\n", argv[a]);
            return 2;
        }
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[3])).arg(size);
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
        painter.end();
        if (!QDir().mkpath(dir) || !image.save(dir + QLatin1Char('/') + name + QStringLiteral(".png"))) {
            std::fprintf(stderr, "render-icon: cannot write into %s\n", qPrintable(dir));
            return 1;
        }
    }
    return 0;
}
