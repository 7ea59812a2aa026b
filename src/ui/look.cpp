#include "ui/look.h"

#include <QLabel>
#include <QPushButton>
#include <QRect>

#include <QGuiApplication>
#include <QLabel>
#include <QPalette>
#include <QScreen>
#include <QWidget>

namespace Look {

namespace {
QFont baseFont(qreal pointSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")});
    font.setPointSizeF(pointSize);
    return font;
}
} // namespace

QFont textFont()
{
    return baseFont(9.75);
}

QFont labelFont(qreal pointSize)
{
    QFont font = baseFont(pointSize);
    font.setBold(true);
    return font;
}

void darkBox(QWidget* box)
{
    QPalette palette = box->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, BoxBackground);
        palette.setColor(group, QPalette::Text, BoxText);
        palette.setColor(group, QPalette::PlaceholderText, BoxText.darker(160));
    }
    box->setPalette(palette);
    box->setFont(textFont());
    box->setAutoFillBackground(true);
}

void caption(QLabel* label, const QColor& colour, qreal pointSize)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setFont(labelFont(pointSize));
    label->setAutoFillBackground(false);
}

void fixedWindow(QWidget* window, const QSize& size)
{
    window->setFixedSize(size);
    window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint);
}

void centreOnScreen(QWidget* window)
{
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // The client area is centred: the frame is not known before the window shows.
    QRect area(QPoint(), window->size());
    area.moveCenter(screen->availableGeometry().center());
    window->setGeometry(area);
}

QPushButton* button(const QString& name, const QString& text, const QRect& at, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setGeometry(at);
    button->setFont(labelFont());
    return button;
}

QLabel* captionLabel(const QString& name, const QString& text, const QRect& at, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(at);
    caption(label);
    return label;
}

} // namespace Look
