#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// The shared pictures every window copies its own from. The small ones are
// built into the program; the three backdrops are read at start-up from the
// files beside it and stay empty when they could not be read. Where a screen
// draws more than one pixel to the pixel, each comes at twice its size
// ("@2x") when there is such a copy.
struct Pictures {
    static inline const QString BackgroundFile = QStringLiteral("bg.jpg");
    static inline const QString HutsFile = QStringLiteral("huts.jpg");
    static inline const QString SelectFile = QStringLiteral("select.jpg");

    Pictures();

    // Reads folder/file into picture; false (picture left as it was) when the
    // file is missing or holds no picture. Its "@2x" copy is taken instead
    // when scale is above 1, unless it is unreadable or older than the file
    // (a picture the player replaced).
    static bool loadFile(const QString& folder, const QString& file, QPixmap& picture, qreal scale);
    // The device pixel ratio pictures are loaded for: the highest of the screens.
    static qreal screenScale();
    static QIcon programIcon();

    QPixmap LOGO;
    QPixmap PlayerIN;
    QPixmap PlayerOUT;
    QPixmap SEND1;
    QPixmap HBAR2;
    QPixmap HBar1;
    QPixmap HutPanel;
    QPixmap Grade;
    QPixmap CardClose;
    QPixmap LoginPicture;
    QPixmap JoinMark;

    QPixmap BG1;
    QPixmap HUTSIMG;
    QPixmap SELECT1;
};
