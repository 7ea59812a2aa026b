// How the windows look: pictures as sharp as the screen.
#include "uitest.h"

#include <QDateTime>
#include <QFile>

#include <gtest/gtest.h>

namespace {

TEST(Look, APictureBesideTheProgramComesTwiceAsLargeUnlessThePlayerReplacedIt)
{
    const struct {
        const char* what;
        qreal scale;
        int largeOlderBy;            // seconds
        const char* large = nullptr; // what the "@2x" copy holds; null: as built
        qreal ratio;
    } cases[] = {
        {"a plain screen", 1, 0, nullptr, 1},
        {"a sharp screen", 2, 0, nullptr, 2},
        {"a picture newer than its copy", 2, 60, nullptr, 1},
        {"a copy that is no picture", 2, 0, "no picture", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ProgramFolder folder;
        if (c.large)
            folder.write(QStringLiteral("bg@2x.jpg"), c.large);
        const QDateTime now = QDateTime::currentDateTime();
        for (const auto& [name, time] :
             {std::pair{"bg.jpg", now}, {"bg@2x.jpg", now.addSecs(-c.largeOlderBy)}}) {
            QFile file(folder.file(QString::fromLatin1(name)));
            ASSERT_TRUE(file.open(QIODevice::ReadWrite) &&
                        file.setFileTime(time, QFileDevice::FileModificationTime));
        }
        QPixmap picture;
        ASSERT_TRUE(Pictures::loadFile(folder.path(), QStringLiteral("bg.jpg"), picture, c.scale));
        EXPECT_EQ(picture.devicePixelRatio(), c.ratio);
        EXPECT_EQ(picture.deviceIndependentSize(), QSizeF(624, 499));
    }
}

} // namespace
