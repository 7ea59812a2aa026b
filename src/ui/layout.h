#pragma once

#include <QRect>
#include <QSize>

#include <array>

// Window geometry of the lobby, measured in twips (1440 to the inch) the way
// the lobby's windows have always been laid out, and turned into pixels at
// 15 twips per pixel (96 dpi). The picture generator draws the backdrops from
// the same figures, so hot spots and pictures line up.
namespace Layout {

inline constexpr int TwipsPerPixel = 15;

constexpr int px(int twips)
{
    return (twips + TwipsPerPixel / 2) / TwipsPerPixel;
}

struct Twips {
    int left;
    int top;
    int width;
    int height;

    constexpr QRect rect() const { return QRect(px(left), px(top), px(width), px(height)); }
    constexpr QSize size() const { return QSize(px(width), px(height)); }
};

// Client areas of the four shown windows.
inline constexpr Twips LoginFormSize{0, 0, 6015, 2355};
inline constexpr Twips LobbySelectSize{0, 0, 8265, 5700};
inline constexpr Twips LobbySize{0, 0, 8790, 7395};
inline constexpr Twips EditFormSize{0, 0, 4680, 4095};

// Lobby: the hut area and its four panels, each holding four slots and a launch spot.
inline constexpr Twips HutsImage{360, 360, 6000, 3915};
inline constexpr std::array<Twips, 4> HutBox{{
    {2400, 3600, 1635, 435},
    {600, 1440, 1635, 435},
    {2400, 840, 1635, 435},
    {4320, 840, 1635, 435},
}};
inline constexpr std::array<int, 4> SlotLeft{50, 360, 650, 960};
inline constexpr int SlotTop = 60;
inline constexpr int SlotWidth = 195;
inline constexpr int SlotHeight = 315;
inline constexpr Twips LaunchSpot{1260, 30, 330, 350};

constexpr Twips slot(int s)
{
    return {SlotLeft[std::size_t(s)], SlotTop, SlotWidth, SlotHeight};
}

// Lobby: the bar over the chatting list and the list's caption, which sits
// in the lower part of the bar (the bar's picture has its inlay there). The
// playing list's bar and caption are the same, further down.
inline constexpr Twips ListBar{6360, 480, 2070, 375};
inline constexpr Twips ListCaption{6360, 600, 2055, 255};
inline constexpr int PlayingListDrop = 3480;

constexpr Twips lower(const Twips& at, int drop)
{
    return {at.left, at.top + drop, at.width, at.height};
}

// LobbySelect: the selection picture and the nine lobby spots over it, a
// ring of eight around the larger middle one (index 7).
inline constexpr Twips SelectImage{0, 0, 4740, 4845};
inline constexpr std::array<Twips, 9> LobbySpot{{
    {2520, 600, 855, 735},
    {3360, 1320, 855, 735},
    {3360, 2640, 855, 735},
    {2520, 3360, 855, 735},
    {1320, 3360, 855, 735},
    {480, 2640, 855, 735},
    {480, 1320, 855, 735},
    {1560, 1560, 1575, 1575},
    {1320, 600, 855, 735},
}};

} // namespace Layout
