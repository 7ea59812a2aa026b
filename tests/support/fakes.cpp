#include "fakes.h"

void FakeTransport::connectToHost(const QString& toHost, quint16 toPort)
{
    host = toHost;
    port = toPort;
    ++connectCount;
    m_state = SocketState::Connecting;
}

void FakeTransport::close()
{
    m_state = SocketState::Closed;
}

void FakeTransport::acceptConnection()
{
    m_state = SocketState::Connected;
    emit connected();
}

void FakeTransport::closeFromServer()
{
    m_state = SocketState::Closing;
    emit closedByServer();
}

void FakeTransport::fail(int code, const QString& description)
{
    m_state = SocketState::Error;
    emit failed(code, description);
}

QStringList FakeTransport::takeLines()
{
    QString text = QString::fromLatin1(m_sent);
    m_sent.clear();
    if (text.endsWith(QStringLiteral("\r\n")))
        text.chop(2);
    if (text.isEmpty())
        return {};
    return text.split(QStringLiteral("\r\n"));
}

void FakeView::setSlot(int index, bool taken, const QString& toolTip)
{
    if (index < 0 || index >= 34)
        return;
    slotTaken[index] = taken;
    slotToolTip[index] = toolTip;
}

void FakeView::loadPictures()
{
    ++pictureLoads;
    for (bool& taken : slotTaken)
        taken = false;
}
