#include "irc/connection.h"

#include <QDeadlineTimer>

namespace {
const QByteArray CrLf = QByteArrayLiteral("\r\n");
}

Connection::Connection(Declares& state, Transport& transport, View& view, QObject* parent)
    : QObject(parent), m_d(state), m_transport(transport), m_view(view)
{
    connect(&m_transport, &Transport::connected, this, &Connection::onConnected);
    connect(&m_transport, &Transport::received, this, &Connection::onReceived);
    connect(&m_transport, &Transport::failed, this, &Connection::onFailed);
    connect(&m_transport, &Transport::closedByServer, this, &Connection::onClosedByServer);
    connect(&m_livenessTimer, &QTimer::timeout, this, &Connection::checkLiveness);
    m_clock = [] { return QDeadlineTimer::current().deadline(); };
    m_livenessTimer.setInterval(int(m_liveness.checkEveryMs()));
}

int Connection::state() const
{
    const int state = m_transport.state();
    return m_foundSilent && state == SocketState::Closed ? SocketState::Closing : state;
}

void Connection::open()
{
    m_transport.close();
    m_tail.clear();
    m_livenessTimer.stop();
    m_foundSilent = false;
    m_connecting = true;
    m_transport.connectToHost(m_d.ServerHost, quint16(m_d.ServerPort));
}

void Connection::close()
{
    m_connecting = false;
    m_transport.close();
    m_tail.clear();
    m_livenessTimer.stop();
    m_foundSilent = false;
}

void Connection::setLivenessIntervals(qint64 quietMs, qint64 answerMs)
{
    m_liveness.setIntervals(quietMs, answerMs);
    m_livenessTimer.setInterval(int(m_liveness.checkEveryMs()));
}

void Connection::checkLiveness()
{
    if (m_transport.state() != SocketState::Connected)
        return;
    switch (m_liveness.check(m_clock())) {
    case Liveness::Step::None:
        break;
    case Liveness::Step::Ping:
        SendLine(QStringLiteral("PING :") + AliveToken);
        break;
    case Liveness::Step::Drop:
        m_transport.close();
        m_tail.clear();
        m_livenessTimer.stop();
        m_foundSilent = true;
        emit lost(Loss::Silent);
        break;
    }
}

void Connection::onClosedByServer()
{
    m_livenessTimer.stop();
    emit lost(Loss::ServerClosed);
}

void Connection::SendLine(const QString& line)
{
    if (m_transport.state() != SocketState::Connected)
        return;
    m_transport.send(line.toLatin1() + CrLf);
}

void Connection::SendChat(QString text)
{
    if (m_transport.state() != SocketState::Connected)
        return;
    m_transport.send(QString(QStringLiteral("PRIVMSG ") + m_d.CurrentChannel + QStringLiteral(" :") + text)
                         .toLatin1() +
                     CrLf);
    if (!m_d.NickSuffix.isEmpty()) {
        const qsizetype at = text.indexOf(m_d.NickSuffix);
        if (at >= 0)
            text.remove(at, m_d.NickSuffix.size());
    }
    m_view.appendChat(m_d.MyNick.mid(8) + QStringLiteral("> ") + text + QStringLiteral("\r\n"));
}

QString Connection::userLine() const
{
    const QChar quote = u'"';
    return QStringLiteral("USER ") + m_d.MyNick + u' ' + quote + ServerNameToken + quote + u' ' + quote +
           m_transport.localIP() + quote + QStringLiteral(" :ZenUser");
}

void Connection::sendRegistration()
{
    SendLine(QStringLiteral("NICK ") + m_d.MyNick);
    SendLine(userLine());
}

void Connection::onConnected()
{
    m_connecting = false;
    m_liveness.heard(m_clock());
    m_livenessTimer.start();
    sendRegistration();
    emit registered();
}

void Connection::onReceived(const QByteArray& data)
{
    // Lines cut across two reads are joined again: only text up to the last
    // line end goes on, the rest waits for the next read.
    m_liveness.heard(m_clock());
    m_tail.append(data);
    const qsizetype lastEnd = m_tail.lastIndexOf(CrLf);
    QByteArray block;
    if (lastEnd >= 0) {
        block = m_tail.left(lastEnd + 2);
        m_tail.remove(0, lastEnd + 2);
    } else if (m_tail.size() > MaxHeldTail) {
        // A CR at the very end may be the first half of the line end: it
        // stays, so the next block does not begin with a lone LF.
        const bool endsInCr = m_tail.endsWith('\r');
        block.swap(m_tail);
        if (endsInCr) {
            block.chop(1);
            m_tail = QByteArrayLiteral("\r");
        }
    } else {
        return;
    }
    emit blockReceived(QString::fromLatin1(block));
}

void Connection::onFailed(int code, const QString& description)
{
    const bool whileConnecting = m_connecting;
    m_connecting = false;
    m_livenessTimer.stop();
    emit failed(whileConnecting, code, description);
}
