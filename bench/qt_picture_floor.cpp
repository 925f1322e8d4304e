// The floor of any picture a Qt program saves: start the GUI layer on the offscreen platform,
// draw one line of text into a blank 1280x800 image and save it as PNG, then end. The `render`
// row is held against it as well as against gnuplot.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: bench_qt_picture_floor PNG\n", stderr);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QImage image(1280, 800, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.drawText(10, 20, QStringLiteral("2026/12/07 12:00  25.0"));
    painter.end();
    return image.save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
