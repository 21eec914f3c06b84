// svg2png: renders one SVG drawing into a square PNG with a transparent background.
// Usage: svg2png <input.svg> <output.png> [size]   (size defaults to 64)
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

static int fail(const QString& message)
{
    QTextStream(stderr) << "svg2png: " << message << '\n';
    return 1;
}

int main(int argc, char* argv[])
{
    // Runs during the build, where there may be no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Without a runtime directory Qt warns once per icon and buries real messages in the build log.
    QTemporaryDir runtimeDir;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtimeDir.isValid())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir.path()));
    QGuiApplication app(argc, argv);

    const QStringList args = app.arguments();
    if (args.size() < 3 || args.size() > 4)
        return fail("usage: svg2png <input.svg> <output.png> [size]");

    int size = 64;
    if (args.size() == 4) {
        bool ok = false;
        size = args.at(3).toInt(&ok);
        if (!ok || size < 1 || size > 4096)
            return fail("bad size '" + args.at(3) + "'");
    }

    QSvgRenderer renderer(args.at(1));
    if (!renderer.isValid())
        return fail("cannot read SVG '" + args.at(1) + "'");

    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        renderer.render(&painter, QRectF(0, 0, size, size));
    }

    // A build step must not leave a half-written file behind that looks up to date.
    if (!image.save(args.at(2), "PNG")) {
        std::remove(args.at(2).toLocal8Bit().constData());
        return fail("cannot write PNG '" + args.at(2) + "'");
    }
    return 0;
}
