#include "ui/look.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QRect>
#include <QResource>
#include <QScreen>
#include <QStyleFactory>
#include <QToolTip>
#include <QWidget>

namespace Look {

namespace {

const QString Sans = QStringLiteral("DejaVu Sans");

// What the palette cannot say: buttons with a gold rim on the dark face, the
// gold ring around the control that has the focus, dark scroll bars with a
// gold handle.
const QString StyleSheet = QStringLiteral(R"(
QPushButton { color: palette(button-text); background: palette(button); border: 1px solid palette(dark);
              border-radius: 4px; padding: 0 3px; }
QPushButton:hover { background: palette(midlight); }
QPushButton:pressed { color: palette(highlighted-text); background: palette(highlight); }
QPushButton:focus { border: 2px solid palette(highlight); }
QLineEdit, QAbstractScrollArea { border: 1px solid palette(shadow); }
QLineEdit:focus, QAbstractScrollArea:focus { border: 1px solid palette(highlight); }
QScrollBar { background: palette(shadow); border: none; }
QScrollBar:vertical { width: 14px; }
QScrollBar:horizontal { height: 14px; }
QScrollBar::handle { background: palette(highlight); border-radius: 4px; margin: 2px; }
QScrollBar::handle:vertical { min-height: 24px; }
QScrollBar::handle:horizontal { min-width: 24px; }
QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; border: none; background: none; }
QScrollBar::add-page, QScrollBar::sub-page { background: none; }
)");

QPalette lobbyPalette()
{
    const QColor ink(16, 14, 20);
    QPalette palette;
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool disabled = group == QPalette::Disabled;
        const QColor muted(150, 142, 128);
        palette.setColor(group, QPalette::Window, Night);
        palette.setColor(group, QPalette::WindowText, disabled ? muted : LabelText);
        palette.setColor(group, QPalette::Base, BoxBackground);
        palette.setColor(group, QPalette::AlternateBase, BoxBackground.lighter(115));
        palette.setColor(group, QPalette::Text, disabled ? muted : BoxText);
        palette.setColor(group, QPalette::PlaceholderText, BoxText.darker(160));
        palette.setColor(group, QPalette::Button, QColor(46, 38, 66));
        palette.setColor(group, QPalette::ButtonText, disabled ? muted : PaleGold);
        palette.setColor(group, QPalette::BrightText, Qt::white);
        palette.setColor(group, QPalette::Light, PaleGold);
        palette.setColor(group, QPalette::Midlight, QColor(70, 58, 96));
        palette.setColor(group, QPalette::Mid, QColor(58, 48, 80));
        palette.setColor(group, QPalette::Dark, DeepGold);
        palette.setColor(group, QPalette::Shadow, QColor(20, 18, 28));
        palette.setColor(group, QPalette::Highlight, Gold);
        palette.setColor(group, QPalette::HighlightedText, ink);
        palette.setColor(group, QPalette::Link, PaleGold);
        palette.setColor(group, QPalette::LinkVisited, Gold);
        palette.setColor(group, QPalette::ToolTipBase, Night);
        palette.setColor(group, QPalette::ToolTipText, LabelText);
    }
    return palette;
}

// Enter on a focused button clicks it, once a press as Space does: without
// this only a dialog's buttons answer Enter.
class EnterClicks : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        auto* button = qobject_cast<QAbstractButton*>(watched);
        if (!button || (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
            (key->modifiers() & ~Qt::KeypadModifier))
            return false;
        if (!key->isAutoRepeat())
            button->click();
        return true;
    }
};
} // namespace

void applyTheme()
{
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app || app->property("zenTheme").toBool())
        return;
    app->setProperty("zenTheme", true);
    // Read in place: the faces are stored uncompressed in the program.
    for (const char* face : {":/fonts/DejaVuSans.ttf", ":/fonts/DejaVuSansCondensed-Bold.ttf"}) {
        const QResource file(QString::fromLatin1(face));
        QFontDatabase::addApplicationFontFromData(
            file.compressionAlgorithm() == QResource::NoCompression
                ? QByteArray::fromRawData(reinterpret_cast<const char*>(file.data()), qsizetype(file.size()))
                : file.uncompressedData());
    }
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const QPalette palette = lobbyPalette();
    QApplication::setPalette(palette);
    QToolTip::setPalette(palette);
    QApplication::setFont(textFont());
    app->setStyleSheet(StyleSheet);
    app->installEventFilter(new EnterClicks(app));
}

QFont textFont(int pixelSize)
{
    QFont font(Sans);
    font.setPixelSize(pixelSize);
    return font;
}

QFont labelFont(int pixelSize)
{
    QFont font = textFont(pixelSize);
    font.setBold(true);
    font.setStretch(QFont::Condensed);
    return font;
}

void darkBox(QWidget* box)
{
    // The colours are the application palette's; the box only takes its face.
    box->setFont(textFont());
    box->setAutoFillBackground(true);
}

void caption(QLabel* label, const QColor& colour, int pixelSize)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setFont(labelFont(pixelSize));
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
