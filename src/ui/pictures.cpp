#include "ui/pictures.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>

namespace {
QString twiceAsLarge(const QString& path)
{
    const QFileInfo file(path);
    return file.dir().filePath(file.completeBaseName() + QStringLiteral("@2x.") + file.suffix());
}

QImage read(const QString& path, qreal ratio)
{
    QImage image = QImageReader(path).read();
    image.setDevicePixelRatio(ratio);
    return image;
}

QPixmap builtIn(const char* name, qreal scale)
{
    const QString path = QStringLiteral(":/pictures/%1.png").arg(QLatin1String(name));
    return QPixmap::fromImage(scale > 1 ? read(twiceAsLarge(path), 2) : read(path, 1));
}
} // namespace

Pictures::Pictures()
{
    const qreal scale = screenScale();
    LOGO = builtIn("logo", scale);
    PlayerIN = builtIn("playerin", scale);
    PlayerOUT = builtIn("playerout", scale);
    SEND1 = builtIn("send1", scale);
    HBAR2 = builtIn("hbar2", scale);
    HBar1 = builtIn("hbar1", scale);
    HutPanel = builtIn("hutpbg", scale);
    Grade = builtIn("grade", scale);
    CardClose = builtIn("cardclose", scale);
    LoginPicture = builtIn("login", scale);
    JoinMark = builtIn("join", scale);
}

qreal Pictures::screenScale()
{
    return qGuiApp ? qGuiApp->devicePixelRatio() : 1;
}

bool Pictures::loadFile(const QString& folder, const QString& file, QPixmap& picture, qreal scale)
{
    const QString path = QDir(folder).filePath(file);
    const QImage image = read(path, 1);
    if (image.isNull())
        return false;
    const QString large = twiceAsLarge(path);
    if (scale > 1 && QFileInfo(large).lastModified() >= QFileInfo(path).lastModified()) {
        const QImage sharp = read(large, 2);
        if (!sharp.isNull()) {
            picture = QPixmap::fromImage(sharp);
            return true;
        }
    }
    picture = QPixmap::fromImage(image);
    return true;
}

QIcon Pictures::programIcon()
{
    // QIcon finds the "@2x" copy by itself.
    return QIcon(QStringLiteral(":/pictures/zenlobby.png"));
}
