#include "lobby/attention.h"

#include "app/playersettings.h"
#include "app/ports.h"
#include "lobby/nickcode.h"

namespace {
bool nameCharacter(QChar c)
{
    return c.isLetterOrNumber() || QStringView(u"[]\\`^{|}_-").contains(c);
}
} // namespace

bool holdsName(QStringView text, QStringView name)
{
    if (name.isEmpty())
        return false;
    for (qsizetype at = text.indexOf(name, 0, Qt::CaseInsensitive); at >= 0;
         at = text.indexOf(name, at + 1, Qt::CaseInsensitive)) {
        const qsizetype end = at + name.size();
        if ((at == 0 || !nameCharacter(text.at(at - 1))) &&
            (end == text.size() || !nameCharacter(text.at(end))))
            return true;
    }
    return false;
}

Attention::Attention(const Declares& state, View& view, const PlayerSettings& settings)
    : m_d(state), m_view(view), m_settings(settings)
{
}

void Attention::called()
{
    if (!playing())
        alert();
}

void Attention::gameStarts()
{
    alert();
}

void Attention::hutsRebuilt(bool complete)
{
    const int hosted = hostedHut();
    bool seatTaken = false;
    for (int hut = 0; hut < 4; ++hut) {
        QStringList seated;
        for (int slot = 1; slot < 4; ++slot) {
            const QString& occupant = m_d.HutTable[std::size_t(hut)][std::size_t(slot)];
            if (occupant.isEmpty())
                continue;
            seated.append(occupant);
            if (hut == hosted && m_seatsKnown && !m_seated[std::size_t(hut)].contains(occupant))
                seatTaken = true;
        }
        if (complete)
            m_seated[std::size_t(hut)] = seated;
        else
            m_seated[std::size_t(hut)] += seated;
    }
    m_seatsKnown = true;
    if (seatTaken)
        called();
}

bool Attention::playing() const
{
    return QStringView(m_d.MyNick).mid(4, 1) == u"b";
}

int Attention::hostedHut() const
{
    // Views: this runs on every rebuild of the huts.
    const QStringView nick(m_d.MyNick);
    return nick.mid(4, 1) == u"a" && nick.mid(7, 1) == u"0" ? NickCode::hutOf(m_d.MyNick) : -1;
}

void Attention::alert()
{
    if (m_settings.alerts() && !m_view.isActive())
        m_view.alert();
}
