// The smallest Qt Widgets program that shows a window and goes idle: the yardstick for the
// utility's start-up time and memory. With --rss it prints its resident memory when idle.
#include <QApplication>
#include <QFile>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    const bool rss = argc > 1 && std::strcmp(argv[1], "--rss") == 0;
    QApplication app(argc, argv);
    QWidget window;
    window.resize(900, 660);
    window.show();
    QTimer::singleShot(0, &app, [&] {
        if (rss) {
            QFile status(QStringLiteral("/proc/self/status"));
            if (status.open(QIODevice::ReadOnly))
                for (const QByteArray& line : status.readAll().split('\n'))
                    if (line.startsWith("VmRSS:"))
                        std::printf("%s\n", line.constData());
        }
        app.quit();
    });
    return app.exec();
}
