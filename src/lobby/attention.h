#pragma once

#include "app/declares.h"

#include <QStringList>
#include <QStringView>

#include <array>

class PlayerSettings;
class View;

// True when text holds name as a word of its own, in any case: the characters
// on either side are none of a nickname's (letters, digits and []\`^{|}_-).
bool holdsName(QStringView text, QStringView name);

// When the lobby window asks the desktop for the player's attention: only
// while it is not the active window, alerts are on and no game has the screen.
class Attention {
public:
    Attention(const Declares& state, View& view, const PlayerSettings& settings);

    // A chat line called the player by name.
    void called();
    // A launch started the player's game (and made him playing just now).
    void gameStarts();
    // The huts were rebuilt from the lobby's names: a player new in slots 1
    // to 3 of the hut the player hosts took a seat there. While a names reply
    // is still coming (complete false), those not listed yet count as seated.
    void hutsRebuilt(bool complete);

private:
    bool playing() const;
    int hostedHut() const;
    void alert();

    const Declares& m_d;
    View& m_view;
    const PlayerSettings& m_settings;
    std::array<QStringList, 4> m_seated; // slots 1 to 3 of huts 0 to 3 at the last rebuild
    bool m_seatsKnown = false;           // the first lists after the start are no news
};
