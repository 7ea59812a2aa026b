#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// The shared pictures every window copies its own from. The small ones are
// built into the program; the three backdrops are read at start-up from the
// files beside it and stay empty when they could not be read.
struct Pictures {
    static inline const QString BackgroundFile = QStringLiteral("bg.jpg");
    static inline const QString HutsFile = QStringLiteral("huts.jpg");
    static inline const QString SelectFile = QStringLiteral("select.jpg");

    Pictures();

    // Reads folder/file into picture; false (picture left as it was) when the
    // file is missing or holds no picture.
    static bool loadFile(const QString& folder, const QString& file, QPixmap& picture);
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
