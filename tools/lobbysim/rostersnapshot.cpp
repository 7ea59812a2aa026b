#include "rostersnapshot.h"

#include "simplayer.h"

RosterSnapshot RosterSnapshot::of(const SimPlayer& player)
{
    RosterSnapshot snapshot;
    snapshot.chatting = player.view().chatList();
    snapshot.chatting.sort();
    snapshot.playing = player.view().playList();
    snapshot.playing.sort();
    const Declares& d = player.state();
    for (int hut = 0; hut < 4; ++hut) {
        for (int slot = 0; slot < 4; ++slot)
            snapshot.huts[4 * hut + slot] = d.HutTable[hut][slot];
    }
    snapshot.userCount = d.UserCount;
    return snapshot;
}

int RosterSnapshot::occupiedSlots() const
{
    int taken = 0;
    for (const QString& cell : huts)
        taken += cell.isEmpty() ? 0 : 1;
    return taken;
}

QString RosterSnapshot::describe() const
{
    QString text = QStringLiteral("%1 chatting, %2 playing, count %3, huts:")
                       .arg(chatting.size())
                       .arg(playing.size())
                       .arg(userCount);
    for (int i = 0; i < 16; ++i) {
        if (!huts[i].isEmpty())
            text += QStringLiteral(" %1.%2=%3").arg(i / 4).arg(i % 4).arg(huts[i]);
    }
    return text;
}
