#include "ui/imagebutton.h"

#include <QPainter>

ImageButton::ImageButton(const QString& name, int index, QWidget* parent)
    : QAbstractButton(parent), m_index(index)
{
    setObjectName(name);
    setProperty("index", index);
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
}

void ImageButton::setPixmap(const QPixmap& pixmap)
{
    // Like an image control that does not stretch: it takes its picture's size.
    m_pixmap = pixmap;
    if (!pixmap.isNull())
        resize(pixmap.deviceIndependentSize().toSize());
    update();
}

QSize ImageButton::sizeHint() const
{
    return m_pixmap.isNull() ? QSize(16, 16) : m_pixmap.deviceIndependentSize().toSize();
}

void ImageButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!m_pixmap.isNull())
        painter.drawPixmap(QPointF(0, 0), m_pixmap);
    if (m_highlight && (m_hovered || isDown())) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(255, 236, 150, 220), 2));
        painter.setBrush(QColor(255, 236, 150, isDown() ? 70 : 35));
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 8, 8);
    }
    if (hasFocus()) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(QColor(255, 255, 255, 220), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void ImageButton::enterEvent(QEnterEvent* event)
{
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void ImageButton::leaveEvent(QEvent* event)
{
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}
