#include "painting.h"

#include <QPainterPath>
#include <QtMath>

namespace Paint {

QString scaledName(const char* name, const char* suffix, qreal scale)
{
    const QString at = scale == 1 ? QString() : QStringLiteral("@%1x").arg(scale);
    return QString::fromLatin1(name) + at + u'.' + QString::fromLatin1(suffix);
}

void haloText(QPainter& p, const QRectF& box, int flags, const QString& text, const QColor& colour)
{
    p.save();
    p.setPen(QColor(0, 0, 0, 170));
    for (const QPointF offset : {QPointF(-1, 0), QPointF(1, 0), QPointF(0, -1), QPointF(0, 1), QPointF(1, 1)})
        p.drawText(box.translated(offset), flags, text);
    p.setPen(colour);
    p.drawText(box, flags, text);
    p.restore();
}

void hut(QPainter& p, QPointF base, qreal width, bool doorLit)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const qreal wallHeight = width * 0.42;
    const QRectF wall(base.x() - width / 2, base.y() - wallHeight, width, wallHeight);

    QLinearGradient wallShade(wall.topLeft(), wall.topRight());
    wallShade.setColorAt(0, QColor(150, 108, 64));
    wallShade.setColorAt(0.6, QColor(118, 82, 46));
    wallShade.setColorAt(1, QColor(70, 48, 28));
    p.setPen(QPen(Ink, 1));
    p.setBrush(wallShade);
    p.drawRoundedRect(wall, 2, 2);

    QPainterPath roof;
    roof.moveTo(wall.left() - width * 0.12, wall.top() + 2);
    roof.lineTo(base.x(), wall.top() - width * 0.62);
    roof.lineTo(wall.right() + width * 0.12, wall.top() + 2);
    roof.closeSubpath();
    QLinearGradient thatch(roof.boundingRect().topLeft(), roof.boundingRect().bottomRight());
    thatch.setColorAt(0, QColor(214, 170, 86));
    thatch.setColorAt(1, QColor(120, 84, 34));
    p.setBrush(thatch);
    p.drawPath(roof);
    p.setPen(QPen(QColor(90, 60, 24, 160), 1));
    for (int i = 1; i < 5; ++i) {
        const qreal x = wall.left() - width * 0.12 + i * (width * 1.24) / 5;
        p.drawLine(QPointF(base.x(), wall.top() - width * 0.62 + 3), QPointF(x, wall.top() + 1));
    }

    const QRectF door(base.x() - width * 0.12, base.y() - wallHeight * 0.72, width * 0.24, wallHeight * 0.72);
    p.setPen(Qt::NoPen);
    p.setBrush(doorLit ? QColor(255, 196, 92) : QColor(30, 20, 14));
    p.drawRoundedRect(door, width * 0.1, width * 0.1);
    p.restore();
}

void star(QPainter& p, QPointF centre, qreal radius, const QColor& colour)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const qreal r = (i % 2 == 0) ? radius : radius * 0.42;
        const qreal a = qDegreesToRadians(-90.0 + i * 36.0);
        const QPointF point(centre.x() + r * qCos(a), centre.y() + r * qSin(a));
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    path.closeSubpath();
    p.drawPath(path);
    p.restore();
}

void person(QPainter& p, const QRectF& box, const QColor& fill, const QColor& line)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(line, 1.2));
    p.setBrush(fill);
    const qreal w = box.width();
    const QRectF head(box.center().x() - w * 0.26, box.top() + 1, w * 0.52, w * 0.52);
    QPainterPath body;
    const qreal top = head.bottom() + 1;
    body.moveTo(box.left() + 1, box.bottom() - 1);
    body.lineTo(box.left() + 1, top + w * 0.45);
    body.quadTo(box.left() + 1, top, box.center().x(), top);
    body.quadTo(box.right() - 1, top, box.right() - 1, top + w * 0.45);
    body.lineTo(box.right() - 1, box.bottom() - 1);
    body.closeSubpath();
    p.drawPath(body);
    p.drawEllipse(head);
    p.restore();
}

} // namespace Paint
