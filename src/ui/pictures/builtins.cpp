#include "painting.h"

#include "ui/layout.h"

#include <QDir>
#include <QFontMetricsF>
#include <QPainterPath>
#include <QRandomGenerator>
#include <QtMath>

namespace Paint {

namespace {

QSize loginPictureSize()
{
    return {130, Layout::LoginFormSize.size().height()};
}

QImage emblem(int width, int height, bool square, qreal scale)
{
    QImage image = canvas(width, height, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal side = qMin(width, height) - 4;
    const QRectF disc((width - side) / 2, (height - side) / 2, side, side);

    QRadialGradient sky(disc.center() - QPointF(side * 0.15, side * 0.2), side * 0.75);
    sky.setColorAt(0, QColor(70, 62, 120));
    sky.setColorAt(1, Night);
    p.setPen(QPen(DeepGold, side * 0.045));
    p.setBrush(sky);
    if (square)
        p.drawRoundedRect(disc, side * 0.18, side * 0.18);
    else
        p.drawEllipse(disc);
    p.setPen(QPen(Gold, side * 0.02));
    p.setBrush(Qt::NoBrush);
    const QRectF inner = disc.adjusted(side * 0.07, side * 0.07, -side * 0.07, -side * 0.07);
    if (square)
        p.drawRoundedRect(inner, side * 0.13, side * 0.13);
    else
        p.drawEllipse(inner);

    for (const QPointF at :
         {QPointF(0.30, 0.28), QPointF(0.72, 0.25), QPointF(0.78, 0.62), QPointF(0.25, 0.7)})
        star(p, disc.topLeft() + QPointF(at.x() * side, at.y() * side), side * 0.035, PaleGold);

    QFont letter = font(int(side * 0.6), true, true);
    p.setFont(letter);
    QPainterPath z;
    z.addText(0, 0, letter, QStringLiteral("Z"));
    const QRectF box = z.boundingRect();
    z.translate(disc.center() - box.center() - QPointF(0, side * 0.04));
    QLinearGradient shine(z.boundingRect().topLeft(), z.boundingRect().bottomLeft());
    shine.setColorAt(0, PaleGold);
    shine.setColorAt(1, DeepGold);
    p.setPen(QPen(Ink, side * 0.02));
    p.setBrush(shine);
    p.drawPath(z);

    if (!square) {
        // The word stands under the letter, narrower than the inner ring at
        // the word's lower edge, where the ring is narrowest.
        const QString word = QStringLiteral("NETWORK");
        const QRectF line(disc.left(), disc.bottom() - side * 0.3, side, side * 0.13);
        const qreal ring = inner.width() / 2 - side * 0.03;
        const qreal below = line.bottom() - disc.center().y();
        const qreal room = 2 * qSqrt(ring * ring - below * below);
        QFont label = font(int(line.height()), true, false, true);
        while (label.pixelSize() > 6 && QFontMetricsF(label).horizontalAdvance(word) > room)
            label.setPixelSize(label.pixelSize() - 1);
        p.setFont(label);
        p.setPen(PaleGold);
        p.drawText(line, Qt::AlignCenter, word);
    }
    return image;
}

QImage playerMarker(int width, int height, bool taken, qreal scale)
{
    QImage image = canvas(width, height, scale);
    QPainter p(&image);
    if (taken)
        person(p, QRectF(0.5, 0.5, width - 1, height - 1), QColor(252, 206, 84), QColor(96, 56, 8));
    else
        person(p, QRectF(0.5, 0.5, width - 1, height - 1), QColor(40, 42, 60, 150), QColor(170, 170, 190));
    return image;
}

QImage bar(int width, int height, bool thick, qreal scale)
{
    QImage image = canvas(width, height, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient metal(0, 0, 0, height);
    metal.setColorAt(0, PaleGold);
    metal.setColorAt(0.5, Gold);
    metal.setColorAt(1, DeepGold);
    p.setPen(QPen(Ink, 1));
    p.setBrush(metal);
    p.drawRoundedRect(QRectF(0.5, 0.5, width - 1, height - 1), height / 2.5, height / 2.5);
    if (thick) {
        // A dark inlay where the list's caption is written: the caption
        // covers the lower part of the stretched bar.
        const Layout::Twips bar = Layout::ListBar;
        const Layout::Twips caption = Layout::ListCaption;
        const qreal top = qreal(caption.top - bar.top) / bar.height * height;
        p.setBrush(QColor(30, 26, 40));
        p.setPen(QPen(DeepGold, 1));
        p.drawRoundedRect(QRectF(4.5, top - 0.5, width - 9, height - top - 1), 3, 3);
    } else {
        p.setBrush(Ink);
        p.setPen(Qt::NoPen);
        const QPointF c(width / 2.0, height / 2.0);
        const qreal r = height * 0.32;
        p.drawPolygon(QPolygonF(
            {c + QPointF(0, -r), c + QPointF(r * 1.6, 0), c + QPointF(0, r), c - QPointF(r * 1.6, 0)}));
    }
    return image;
}

// The face of SEND: drawn like the lobby's other buttons, gold on the dark
// face, and opaque to its corners, which the button's white background
// would otherwise show through.
QImage sendFace(qreal scale)
{
    const QRectF face(0, 0, 45, 21);
    QImage image = canvas(45, 21, scale, QColor(46, 38, 66));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient shade(0, 0, 0, face.height());
    shade.setColorAt(0, QColor(70, 58, 96));
    shade.setColorAt(1, QColor(36, 30, 52));
    p.setPen(QPen(DeepGold, 1));
    p.setBrush(shade);
    p.drawRoundedRect(face.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    p.setFont(font(11, true, false, true));
    p.setPen(PaleGold);
    p.drawText(face, Qt::AlignCenter, QStringLiteral("SEND"));
    return image;
}

QImage hutPanel(qreal scale)
{
    const QSize size = Layout::HutBox[0].size();
    QImage image = canvas(size.width(), size.height(), scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient wood(0, 0, 0, size.height());
    wood.setColorAt(0, QColor(120, 82, 44));
    wood.setColorAt(1, QColor(70, 46, 24));
    p.setPen(QPen(Ink, 1));
    p.setBrush(wood);
    p.drawRoundedRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1), 4, 4);
    p.setPen(QPen(QColor(50, 32, 16, 120), 1));
    for (int y = 7; y < size.height() - 2; y += 7)
        p.drawLine(3, y, size.width() - 4, y);
    // A dark seat under each slot marker.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 14, 10, 150));
    for (int s = 0; s < 4; ++s) {
        const QRect seat = Layout::slot(s).rect();
        p.drawRoundedRect(QRectF(seat).adjusted(-1, -1, 2, 2), 3, 3);
    }
    // The start button of the hut.
    const QRectF go = QRectF(Layout::LaunchSpot.rect()).adjusted(1, 1, -1, -1);
    QRadialGradient button(go.center() - QPointF(3, 3), go.width() * 0.7);
    button.setColorAt(0, QColor(150, 230, 120));
    button.setColorAt(1, QColor(30, 110, 40));
    p.setPen(QPen(Ink, 1));
    p.setBrush(button);
    p.drawEllipse(go);
    p.setBrush(QColor(250, 250, 235));
    p.setPen(Qt::NoPen);
    const QPointF c = go.center();
    p.drawPolygon(QPolygonF({c + QPointF(-3.5, -5.5), c + QPointF(6, 0), c + QPointF(-3.5, 5.5)}));
    return image;
}

QImage gradeBadge(qreal scale)
{
    QImage image = canvas(33, 41, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath shield;
    shield.moveTo(2, 2);
    shield.lineTo(31, 2);
    shield.lineTo(31, 24);
    shield.quadTo(31, 34, 16.5, 39);
    shield.quadTo(2, 34, 2, 24);
    shield.closeSubpath();
    QLinearGradient fill(0, 0, 33, 41);
    fill.setColorAt(0, QColor(80, 70, 140));
    fill.setColorAt(1, Night);
    p.setPen(QPen(Gold, 2));
    p.setBrush(fill);
    p.drawPath(shield);
    p.setPen(QPen(Gold, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (int i = 0; i < 3; ++i) {
        const qreal y = 12 + i * 7;
        p.drawPolyline(QPolygonF({QPointF(8, y + 4), QPointF(16.5, y), QPointF(25, y + 4)}));
    }
    return image;
}

QImage closeMark(qreal scale)
{
    QImage image = canvas(25, 17, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Ink, 1));
    p.setBrush(QColor(150, 40, 36));
    p.drawRoundedRect(QRectF(3.5, 0.5, 18, 16), 4, 4);
    p.setPen(QPen(QColor(255, 236, 220), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9, 4.5), QPointF(16, 12.5));
    p.drawLine(QPointF(16, 4.5), QPointF(9, 12.5));
    return image;
}

QImage loginScene(qreal scale)
{
    const QSize size = loginPictureSize();
    QImage image = canvas(size.width(), size.height(), scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, Night);
    sky.setColorAt(0.7, Dusk);
    sky.setColorAt(1, QColor(120, 64, 50));
    p.fillRect(QRect(QPoint(), size), sky);
    // Stars above and below the version captions, none behind them.
    QRandomGenerator stars(7);
    for (int i = 0; i < 30; ++i) {
        const QPointF at(stars.bounded(size.width()), stars.bounded(100));
        const qreal radius = 0.8 + stars.bounded(12) / 10.0;
        const QColor light(255, 246, 210, 90 + stars.bounded(120));
        if (at.y() < 36 || at.y() > 90)
            star(p, at, radius, light);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 240, 200));
    p.drawEllipse(QPointF(size.width() - 22, 20), 10, 10);
    p.setBrush(Night);
    p.drawEllipse(QPointF(size.width() - 17, 16), 9, 9);
    // The lower part holds the village; the version captions go over the sky.
    p.setBrush(QColor(24, 20, 22));
    p.drawRect(QRectF(0, size.height() - 14, size.width(), 14));
    p.drawEllipse(QRectF(-30, size.height() - 26, 110, 30));
    hut(p, QPointF(42, size.height() - 12), 38, true);
    hut(p, QPointF(96, size.height() - 10), 28, false);
    // The left edge fades into the window's background: no seam where the picture starts.
    QLinearGradient fade(0, 0, 32, 0);
    fade.setColorAt(0, Qt::transparent);
    fade.setColorAt(1, Qt::black);
    p.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    p.fillRect(QRect(0, 0, 32, size.height()), fade);
    return image;
}

// The Join mark, with room on its right: the button puts its text close to its icon.
QImage joinMark(qreal scale)
{
    QImage image = canvas(24, 20, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Ink, 1));
    p.setBrush(Gold);
    p.drawEllipse(QRectF(1, 1, 18, 18));
    p.setBrush(Ink);
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF({QPointF(7, 5), QPointF(15, 10), QPointF(7, 15)}));
    return image;
}

} // namespace

bool drawBuiltIns(const QString& folder, qreal scale)
{
    const QDir dir(folder);
    const struct {
        const char* name;
        QImage image;
    } pictures[] = {
        {"logo", emblem(134, 127, false, scale)},
        {"playerin", playerMarker(14, 22, true, scale)},
        {"playerout", playerMarker(13, 21, false, scale)},
        {"send1", sendFace(scale)},
        {"hbar2", bar(138, 18, true, scale)},
        {"hbar1", bar(138, 11, false, scale)},
        {"hutpbg", hutPanel(scale)},
        {"grade", gradeBadge(scale)},
        {"cardclose", closeMark(scale)},
        {"login", loginScene(scale)},
        {"join", joinMark(scale)},
        {"zenlobby", emblem(128, 128, true, scale)},
    };
    for (const auto& picture : pictures) {
        if (!picture.image.save(dir.filePath(scaledName(picture.name, "png", scale)), "PNG"))
            return false;
    }
    return true;
}

} // namespace Paint
