// The anchor of the window start: a bare Qt window of the program's first size, shown and painted
// once, its picture saved as the program's --screenshot saves its own, then the end.
#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace {

class Bare : public QWidget {
public:
    explicit Bare(QString path) : m_path(std::move(path)) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), Qt::white);
        if (!m_bPending) {
            m_bPending = true;
            QTimer::singleShot(
                0, this, [this] { QCoreApplication::exit(grab().save(m_path, "PNG") ? 0 : 1); });
        }
    }

private:
    QString m_path;
    bool m_bPending = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: bench_bare_window PNG\n", stderr);
        return 2;
    }
    Bare w{QString::fromLocal8Bit(argv[1])};
    w.resize(640, 480);
    w.show();
    return app.exec();
}
