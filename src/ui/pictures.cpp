#include "ui/pictures.h"

#include <QDir>
#include <QImageReader>

namespace {
QPixmap builtIn(const char* name)
{
    return QPixmap(QStringLiteral(":/pictures/") + QString::fromLatin1(name));
}
} // namespace

Pictures::Pictures()
    : LOGO(builtIn("logo.png")), PlayerIN(builtIn("playerin.png")), PlayerOUT(builtIn("playerout.png")),
      SEND1(builtIn("send1.png")), HBAR2(builtIn("hbar2.png")), HBar1(builtIn("hbar1.png")),
      HutPanel(builtIn("hutpbg.png")), Grade(builtIn("grade.png")), CardClose(builtIn("cardclose.png")),
      LoginPicture(builtIn("login.png")), JoinMark(builtIn("join.png"))
{
}

bool Pictures::loadFile(const QString& folder, const QString& file, QPixmap& picture)
{
    QImageReader reader(QDir(folder).filePath(file));
    const QImage image = reader.read();
    if (image.isNull())
        return false;
    picture = QPixmap::fromImage(image);
    return true;
}

QIcon Pictures::programIcon()
{
    return QIcon(QStringLiteral(":/pictures/zenlobby.png"));
}
