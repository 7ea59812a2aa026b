#include "painting.h"

#include "app/lobbychoice.h"
#include "ui/layout.h"

#include <QDir>
#include <QPainterPath>
#include <QRandomGenerator>

namespace Paint {

namespace {

// The common background of every window: a night sky fading into the earth,
// with a faint woven pattern.
QImage background(qreal scale)
{
    const QSize size(Layout::px(9360), Layout::px(7485));
    const QRect whole(QPoint(), size);
    QImage image = canvas(size.width(), size.height(), scale, Night);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(18, 20, 44));
    sky.setColorAt(0.55, QColor(40, 30, 58));
    sky.setColorAt(1, QColor(46, 30, 24));
    p.fillRect(whole, sky);

    p.setPen(QPen(QColor(226, 184, 84, 16), 1));
    for (int x = -size.height(); x < size.width(); x += 18) {
        p.drawLine(x, 0, x + size.height(), size.height());
        p.drawLine(x + size.height(), 0, x, size.height());
    }
    QRandomGenerator stars(11);
    for (int i = 0; i < 70; ++i)
        star(p, QPointF(stars.bounded(size.width()), stars.bounded(size.height() / 2)),
             0.6 + stars.bounded(10) / 10.0, QColor(255, 246, 220, 40 + stars.bounded(90)));
    QRadialGradient vignette(size.width() / 2.0, size.height() / 2.0, size.width() * 0.7);
    vignette.setColorAt(0.6, QColor(0, 0, 0, 0));
    vignette.setColorAt(1, QColor(0, 0, 0, 120));
    p.fillRect(whole, vignette);
    return image;
}

// The village behind the four hut panels: each hut stands by its panel, a
// fire burns in the middle.
QImage village(qreal scale)
{
    const QRect area = Layout::HutsImage.rect();
    const QRect whole(QPoint(), area.size());
    QImage image = canvas(area.width(), area.height(), scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient ground(0, 0, 0, area.height());
    ground.setColorAt(0, QColor(34, 44, 40));
    ground.setColorAt(1, QColor(58, 66, 36));
    p.fillRect(whole, ground);
    QRandomGenerator grass(5);
    p.setPen(QPen(QColor(120, 140, 70, 60), 1));
    for (int i = 0; i < 260; ++i) {
        const QPointF at(grass.bounded(area.width()), grass.bounded(area.height()));
        p.drawLine(at, at + QPointF(grass.bounded(3) - 1, -3));
    }

    const QPointF fire(area.width() * 0.52, area.height() * 0.54);
    QRadialGradient glow(fire, 70);
    glow.setColorAt(0, QColor(255, 170, 70, 150));
    glow.setColorAt(1, QColor(255, 120, 40, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(fire, 70, 70);
    p.setBrush(QColor(80, 60, 50));
    p.drawEllipse(fire + QPointF(0, 6), 16, 6);
    p.setBrush(Ember);
    QPainterPath flame;
    flame.moveTo(fire + QPointF(-9, 6));
    flame.quadTo(fire + QPointF(-10, -8), fire + QPointF(0, -20));
    flame.quadTo(fire + QPointF(10, -8), fire + QPointF(9, 6));
    flame.closeSubpath();
    p.drawPath(flame);
    p.setBrush(QColor(255, 220, 120));
    p.drawEllipse(fire + QPointF(0, -1), 4, 7);

    // Each hut stands by its panel, its name above the panel; panel
    // positions are relative to this picture.
    const QPointF hutBase[4] = {{300, 246}, {70, 150}, {190, 104}, {318, 104}};
    for (int h = 0; h < 4; ++h) {
        const QRect panel = Layout::HutBox[std::size_t(h)].rect().translated(-area.topLeft());
        hut(p, hutBase[h], 40, true);
        p.setFont(font(11, true));
        haloText(p, QRectF(panel.left() + 2, panel.top() - 15, panel.width(), 14),
                 Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Hut %1").arg(h + 1), PaleGold);
    }
    p.setPen(QPen(QColor(0, 0, 0, 160), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(whole.adjusted(1, 1, -1, -1));
    return image;
}

QString shortName(int index)
{
    QString name = LobbyChoice::lobbyCaption(index).section(QStringLiteral(" - "), 1);
    name.remove(QStringLiteral(" Grade"));
    name.remove(QStringLiteral(" Players"));
    return name;
}

// The nine lobbies at the nine spots of the selection window, numbered as
// their captions number them.
QImage lobbyMap(qreal scale)
{
    const QSize size = Layout::SelectImage.size();
    QImage image = canvas(size.width(), size.height(), scale, Night);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient sky(size.width() / 2.0, size.height() / 2.0, size.width() * 0.7);
    sky.setColorAt(0, QColor(60, 48, 96));
    sky.setColorAt(1, QColor(14, 14, 30));
    p.fillRect(QRect(QPoint(), size), sky);

    const QPointF middle = Layout::LobbySpot[7].rect().center();
    p.setPen(QPen(QColor(226, 184, 84, 90), 2, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(middle, 112, 112);
    for (int i = 0; i < 9; ++i) {
        if (i != 7)
            p.drawLine(middle, QRectF(Layout::LobbySpot[std::size_t(i)].rect()).center());
    }

    for (int i = 0; i < 9; ++i) {
        const QRectF spot = QRectF(Layout::LobbySpot[std::size_t(i)].rect()).adjusted(1, 1, -1, -1);
        const bool big = i == 7;
        QRadialGradient face(spot.center() - QPointF(spot.width() * 0.2, spot.height() * 0.25), spot.width());
        face.setColorAt(0, big ? QColor(120, 90, 40) : QColor(88, 70, 130));
        face.setColorAt(1, big ? QColor(50, 34, 14) : QColor(30, 26, 60));
        p.setPen(QPen(Gold, big ? 3 : 2));
        p.setBrush(face);
        p.drawRoundedRect(spot, big ? 20 : 10, big ? 20 : 10);

        const qreal numberHeight = spot.height() * (big ? 0.5 : 0.52);
        p.setFont(font(int(numberHeight * 0.9), true, true));
        haloText(p, QRectF(spot.left(), spot.top() + 1, spot.width(), numberHeight), Qt::AlignCenter,
                 QString::number(i + 1), PaleGold);
        p.setFont(font(big ? 13 : 9, true, false, true));
        haloText(p,
                 QRectF(spot.left() + 1, spot.top() + numberHeight, spot.width() - 2,
                        spot.height() - numberHeight - 1),
                 Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, shortName(i), QColor(240, 236, 220));
    }
    return image;
}

} // namespace

bool drawBackdrops(const QString& folder, qreal scale)
{
    const QDir dir(folder);
    const struct {
        const char* name;
        QImage image;
        int quality;
    } backdrops[] = {
        {"bg", background(scale), 90},
        {"huts", village(scale), 90},
        {"select", lobbyMap(scale), 92},
    };
    for (const auto& backdrop : backdrops) {
        if (!backdrop.image.convertToFormat(QImage::Format_RGB32)
                 .save(dir.filePath(scaledName(backdrop.name, "jpg", scale)), "JPG", backdrop.quality))
            return false;
    }
    return true;
}

} // namespace Paint
