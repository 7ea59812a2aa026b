#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>

// Shared colours and helpers of the picture generator. The lobby's look: a
// night sky over a village of huts, warm gold on deep indigo.
namespace Paint {

inline const QColor Night(22, 24, 48);
inline const QColor Dusk(58, 40, 70);
inline const QColor Earth(54, 38, 26);
inline const QColor Gold(226, 184, 84);
inline const QColor PaleGold(250, 226, 150);
inline const QColor DeepGold(150, 104, 36);
inline const QColor Ink(16, 14, 20);
inline const QColor Ember(236, 112, 44);

// A picture of width x height pixels drawn at `scale` device pixels to the
// pixel: a painter on it works in the picture's own pixels at any scale.
inline QImage canvas(int width, int height, qreal scale, const QColor& fill = Qt::transparent)
{
    QImage image(qRound(width * scale), qRound(height * scale), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(fill);
    return image;
}

inline QFont font(int pixelSize, bool bold = true, bool serif = false, bool condensed = false)
{
    QFont f;
    f.setFamilies({serif ? QStringLiteral("DejaVu Serif") : QStringLiteral("DejaVu Sans"),
                   serif ? QStringLiteral("Times New Roman") : QStringLiteral("Arial")});
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    if (condensed)
        f.setStretch(QFont::Condensed);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

// Text with a dark halo, readable on any backdrop.
void haloText(QPainter& p, const QRectF& box, int flags, const QString& text, const QColor& colour);
// A round hut with a cone roof; base is the middle of its floor line.
void hut(QPainter& p, QPointF base, qreal width, bool doorLit);
// A five-pointed star or a small sparkle.
void star(QPainter& p, QPointF centre, qreal radius, const QColor& colour);
// A person marker: head and shoulders, filled or drawn as an outline.
void person(QPainter& p, const QRectF& box, const QColor& fill, const QColor& line);

// The file name of a picture at a scale: "bg.jpg", "bg@2x.jpg".
QString scaledName(const char* name, const char* suffix, qreal scale);

// The pictures built into the program, written as PNG files into folder.
bool drawBuiltIns(const QString& folder, qreal scale);
// The default backdrops placed beside the program, written as JPEG files into folder.
bool drawBackdrops(const QString& folder, qreal scale);

} // namespace Paint
