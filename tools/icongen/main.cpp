// z417-icongen: writes the application icon into an icon theme folder.
//
//   z417-icongen OUTDIR NAME    writes OUTDIR/hicolor/NxN/apps/NAME.png for every size
//
// The icon is the one the utility draws for its own windows and tray, so menu, taskbar and
// notification area all show the same picture.

#include "ui/AppIcon.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QString>

#include <cstdio>

namespace {

// The sizes desktops look for in the hicolor theme.
constexpr int kSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() != 3 || args.at(2).isEmpty() || args.at(2).contains(QLatin1Char('/'))) {
        std::fprintf(stderr, "usage: z417-icongen OUTDIR NAME\n");
        return 2;
    }
    const QString outDir = args.at(1);
    const QString name = args.at(2);

    for (const int size : kSizes) {
        const QString folder = QStringLiteral("%1/hicolor/%2x%2/apps").arg(outDir).arg(size);
        if (!QDir().mkpath(folder)) {
            std::fprintf(stderr, "z417-icongen: cannot create the folder %s\n", qPrintable(folder));
            return 1;
        }
        const QImage image = z417::drawAppIcon(size);
        if (image.isNull() || image.width() != size || image.height() != size) {
            std::fprintf(stderr, "z417-icongen: the icon could not be drawn at %d pixels\n", size);
            return 1;
        }
        const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
        if (!image.save(path, "PNG")) {
            std::fprintf(stderr, "z417-icongen: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
