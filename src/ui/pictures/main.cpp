// Draws the lobby's pictures: the ones built into the program (PNG, first
// folder) and the default backdrops placed beside it (JPEG, second folder),
// each at its own size and at twice that size.
// Runs at build time without a display.

#include "painting.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <built-in picture folder> <backdrop folder>\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString builtIns = QString::fromLocal8Bit(argv[1]);
    const QString backdrops = QString::fromLocal8Bit(argv[2]);
    if (!QDir().mkpath(builtIns) || !QDir().mkpath(backdrops)) {
        std::fprintf(stderr, "could not make the picture folders\n");
        return 1;
    }
    // The plain pictures first: a copy at twice the size is never older than its picture.
    for (const qreal scale : {1.0, 2.0}) {
        if (!Paint::drawBuiltIns(builtIns, scale) || !Paint::drawBackdrops(backdrops, scale)) {
            std::fprintf(stderr, "could not write the pictures\n");
            return 1;
        }
    }
    return 0;
}
