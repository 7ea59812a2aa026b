#include "wiremeter.h"

WireMeter::WireMeter(std::function<qint64()> bytes, std::function<int()> actions, QObject* parent)
    : QObject(parent), m_bytes(std::move(bytes)), m_actions(std::move(actions))
{
    m_waiting.setInterval(100);
}

void WireMeter::beginWhen(std::function<bool()> allJoined, Settle settle)
{
    m_waiting.disconnect();
    connect(&m_waiting, &QTimer::timeout, this, [this, allJoined, settle] {
        if (!allJoined())
            return;
        m_waiting.stop();
        settle([this] {
            if (m_ended)
                return;
            m_begun = true;
            m_bytesAtBegin = m_bytes();
            m_actionsAtBegin = m_actions();
        });
    });
    m_waiting.start();
}

void WireMeter::end()
{
    m_waiting.stop();
    if (!m_begun || m_ended)
        return;
    m_ended = true;
    m_bytesCounted = m_bytes() - m_bytesAtBegin;
    m_actionsCounted = m_actions() - m_actionsAtBegin;
}

QString WireMeter::summaryLine() const
{
    if (!m_ended)
        return QStringLiteral("  wire           not counted: the players never all met and settled\n");
    const QString perAction =
        m_actionsCounted > 0 ? QString::number(m_bytesCounted / m_actionsCounted) : QStringLiteral("-");
    return QStringLiteral("  wire           %1 KiB received by all players, %2 bytes per action\n")
        .arg(m_bytesCounted / 1024.0, 0, 'f', 1)
        .arg(perAction);
}
