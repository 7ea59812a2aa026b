#include "freshnames.h"

#include "simplayer.h"

namespace {
// All a names reply decides, in the order shown.
QStringList picture(const SimPlayer& player)
{
    const Declares& d = player.state();
    QStringList cells = player.view().chatList();
    cells << QStringLiteral("/") << player.view().playList() << QStringLiteral("/");
    for (int hut = 0; hut <= 4; ++hut) {
        for (int slot = 0; slot < 4; ++slot)
            cells << d.HutTable[hut][slot];
    }
    return cells << QString::number(d.UserCount);
}
} // namespace

void FreshNames::check(const std::vector<std::unique_ptr<SimPlayer>>& players, const Settle& settle,
                       std::function<void()> done)
{
    auto before = std::make_shared<std::vector<std::pair<const SimPlayer*, QStringList>>>();
    for (const auto& player : players) {
        if (!player->inLobby())
            continue;
        before->emplace_back(player.get(), picture(*player));
        player->client().connection().SendLine(QStringLiteral("NAMES ") + player->state().CurrentChannel);
    }
    settle([this, before, done = std::move(done)] {
        m_differing.clear();
        m_checked = int(before->size());
        for (const auto& [player, shown] : *before) {
            if (picture(*player) != shown)
                m_differing.push_back(player);
        }
        done();
    });
}

QString FreshNames::note() const
{
    if (!checked())
        return {};
    if (m_differing.empty())
        return QStringLiteral(" and match a fresh names reply");
    return QStringLiteral(", but %1 of %2 differ from a fresh names reply")
        .arg(m_differing.size())
        .arg(m_checked);
}
