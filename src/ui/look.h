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
inline const QColor Gold(226, 184, 84);
inline const QColor PaleGold(250, 226, 150);
inline const QColor DeepGold(150, 104, 36);
inline const QColor Night(30, 26, 46);
// A chat line that calls the player by name, on a text box's grey.
inline const QColor CallingText(255, 150, 70);

// Font sizes in pixels, so text grows with the layout on any screen: the
// windows were drawn at 96 dpi with 9.75, 12 and 13.5 point faces.
inline constexpr int TextPixels = 13;
inline constexpr int DescriptionPixels = 16;
inline constexpr int VersionPixels = 18;

// Once, before the first window: the faces built into the program, the
// Fusion style, the lobby's palette and what the palette cannot say (button
// faces, scroll bars, the focus ring), and Enter on a focused button clicking it.
void applyTheme();

// Text boxes and lists: DejaVu Sans. Labels and buttons: its condensed bold,
// the narrow face the windows' captions were measured with.
QFont textFont(int pixelSize = TextPixels);
QFont labelFont(int pixelSize = TextPixels);

// Dark grey box with olive-yellow text, as every text and list box of the lobby.
void darkBox(QWidget* box);
// A caption drawn straight on the window's backdrop, in colour.
void caption(QLabel* label, const QColor& colour = LabelText, int pixelSize = TextPixels);
// A window that keeps the size it was designed with, centred on the screen.
void fixedWindow(QWidget* window, const QSize& size);
void centreOnScreen(QWidget* window);
// A named push button with the label font, at a fixed place.
QPushButton* button(const QString& name, const QString& text, const QRect& at, QWidget* parent);
// A named caption label at a fixed place.
QLabel* captionLabel(const QString& name, const QString& text, const QRect& at, QWidget* parent);

} // namespace Look
