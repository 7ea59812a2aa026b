#pragma once

#include <QColor>
#include <QFont>

class QLabel;
class QPushButton;
class QRect;
class QString;
class QWidget;

// The lobby's look shared by every window: fonts, the dark text and list
// boxes with olive-yellow text, captions written straight on the backdrop.
namespace Look {

inline const QColor BoxBackground(64, 64, 64);
inline const QColor BoxText(192, 192, 0);
inline const QColor CaptionYellow(255, 255, 0);
inline const QColor LabelText(240, 228, 190);

// Text boxes and lists: regular; labels: bold. The faces are tried in order,
// the first one installed wins.
QFont textFont();
QFont labelFont(qreal pointSize = 9.75);

// Dark grey box with olive-yellow text, as every text and list box of the lobby.
void darkBox(QWidget* box);
// A caption drawn straight on the window's backdrop, in colour.
void caption(QLabel* label, const QColor& colour = LabelText, qreal pointSize = 9.75);
// A window that keeps the size it was designed with, centred on the screen.
void fixedWindow(QWidget* window, const QSize& size);
void centreOnScreen(QWidget* window);
// A named push button with the label font, at a fixed place.
QPushButton* button(const QString& name, const QString& text, const QRect& at, QWidget* parent);
// A named caption label at a fixed place.
QLabel* captionLabel(const QString& name, const QString& text, const QRect& at, QWidget* parent);

} // namespace Look
