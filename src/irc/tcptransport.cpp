#include "irc/tcptransport.h"

#include <QHostAddress>
#include <QNetworkInterface>
#include <QTcpSocket>

namespace {

QString dotted(const QHostAddress& address)
{
    bool isV4 = false;
    const quint32 v4 = address.toIPv4Address(&isV4); // also unwraps ::ffff:a.b.c.d
    return isV4 ? QHostAddress(v4).toString() : QString();
}

QString firstMachineIPv4()
{
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& iface : interfaces) {
        const auto flags = iface.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) || flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        const auto entries = iface.addressEntries();
        for (const QNetworkAddressEntry& entry : entries) {
            const QHostAddress ip = entry.ip();
            if (ip.protocol() == QAbstractSocket::IPv4Protocol && !ip.isLoopback())
                return ip.toString();
        }
    }
    return {};
}

} // namespace

TcpTransport::TcpTransport(QObject* parent) : Transport(parent) {}

TcpTransport::~TcpTransport()
{
    dropSocket();
}

void TcpTransport::connectToHost(const QString& host, quint16 port)
{
    dropSocket();

    auto* socket = new QTcpSocket(this);
    m_socket = socket;
    connect(socket, &QTcpSocket::connected, this, &TcpTransport::onConnected);
    connect(socket, &QTcpSocket::readyRead, this, &TcpTransport::onReadyRead);
    connect(socket, &QTcpSocket::errorOccurred, this, &TcpTransport::onErrorOccurred);
    connect(socket, &QTcpSocket::disconnected, this, &TcpTransport::onDisconnected);

    m_state = SocketState::Connecting;
    socket->connectToHost(host, port, QIODevice::ReadWrite, QAbstractSocket::IPv4Protocol);
}

void TcpTransport::close()
{
    dropSocket();
    m_state = SocketState::Closed;
}

void TcpTransport::send(const QByteArray& data)
{
    if (m_socket && m_socket->state() == QAbstractSocket::ConnectedState)
        m_socket->write(data);
}

QString TcpTransport::localIP() const
{
    if (m_socket && m_socket->state() == QAbstractSocket::ConnectedState) {
        const QString ip = dotted(m_socket->localAddress());
        if (!ip.isEmpty())
            return ip;
    }
    const QString ip = firstMachineIPv4();
    return ip.isEmpty() ? QStringLiteral("127.0.0.1") : ip;
}

void TcpTransport::onConnected()
{
    m_state = SocketState::Connected;
    emit connected();
}

void TcpTransport::onReadyRead()
{
    if (!m_socket)
        return;
    const QByteArray data = m_socket->readAll();
    if (!data.isEmpty())
        emit received(data);
}

void TcpTransport::onErrorOccurred(QAbstractSocket::SocketError error)
{
    // A server-side close arrives as an "error" too; for the lobby it is state 8.
    if (error == QAbstractSocket::RemoteHostClosedError) {
        serverClosed();
        return;
    }
    if (m_state == SocketState::Error || m_state == SocketState::Closed)
        return;
    m_state = SocketState::Error;
    const QString description = m_socket ? m_socket->errorString() : QString();
    emit failed(int(error), description);
}

void TcpTransport::onDisconnected()
{
    serverClosed();
}

void TcpTransport::serverClosed()
{
    if (m_state != SocketState::Connected && m_state != SocketState::Connecting)
        return;
    const QTcpSocket* socket = m_socket;
    // Whatever the server sent before closing is still handed over first.
    onReadyRead();
    // The client may have closed or reconnected from inside the received() handler.
    if (m_socket != socket)
        return;
    m_state = SocketState::Closing;
    emit closedByServer();
}

void TcpTransport::dropSocket()
{
    if (!m_socket)
        return;
    QTcpSocket* socket = m_socket;
    m_socket = nullptr;
    socket->disconnect(this);
    socket->abort();
    // Not deleted at once: close() may be called from a handler of this socket's own signal.
    socket->deleteLater();
}
