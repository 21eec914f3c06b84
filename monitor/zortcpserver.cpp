#include "zortcpserver.h"

#include <QDebug>
#include <QTcpServer>
#include <QTcpSocket>

#include <utility>

zortcpserver::zortcpserver(quint16 port, QObject* parent) : QObject(parent), m_server(new QTcpServer(this))
{
    connect(m_server, &QTcpServer::newConnection, this, &zortcpserver::newConnection);
    // The recorder connects to 127.0.0.1; nothing else on the network should reach us.
    if (m_server->listen(QHostAddress::LocalHost, port)) {
        qDebug() << "Server started!";
    } else {
        m_error = m_server->errorString();
        qDebug() << "Server could not start!";
    }
}

bool zortcpserver::isListening() const
{
    return m_server->isListening();
}

QString zortcpserver::errorString() const
{
    return m_error;
}

QHostAddress zortcpserver::serverAddress() const
{
    return m_server->serverAddress();
}

quint16 zortcpserver::serverPort() const
{
    return m_server->serverPort();
}

void zortcpserver::newConnection()
{
    while (QTcpSocket* socket = m_server->nextPendingConnection()) {
        m_connections.insert(socket, Connection());
        connect(socket, &QTcpSocket::readyRead, this, &zortcpserver::readData);
        connect(socket, &QTcpSocket::disconnected, this, &zortcpserver::disConnected);
    }
}

void zortcpserver::readData()
{
    if (auto* socket = qobject_cast<QTcpSocket*>(sender()))
        readFrom(socket);
}

void zortcpserver::disConnected()
{
    auto* socket = qobject_cast<QTcpSocket*>(sender());
    if (!socket)
        return;
    readFrom(socket);  // whatever came with the peer's goodbye
    m_connections.remove(socket);
    socket->deleteLater();
    qDebug() << "disconnected!";
}

void zortcpserver::readFrom(QTcpSocket* socket)
{
    auto it = m_connections.find(socket);
    if (it == m_connections.end())
        return;
    // Always read, even after the stream ended or went wrong: a peer left unread stalls the solver.
    const bool wasFailed = it->decoder.state() == LiveStreamDecoder::State::Failed;
    const QVector<LiveRecord> records = it->decoder.feed(socket->readAll());
    if (!wasFailed && it->decoder.state() == LiveStreamDecoder::State::Failed)
        qDebug() << "Live stream header not understood; ignoring the connection.";
    const int first = it->received;
    it->received += records.size();
    if (records.isEmpty())
        return;

    m_newest = records.last();
    if (!m_newestPending) {
        m_newestPending = true;
        QMetaObject::invokeMethod(this, &zortcpserver::emitNewest, Qt::QueuedConnection);
    }
    for (int i = 0; i < records.size(); ++i)
        emit recordReceived(first + i, records[i].time);
}

void zortcpserver::emitNewest()
{
    m_newestPending = false;
    const LiveRecord newest = std::move(m_newest);
    m_newest = LiveRecord();
    emit tclSendData(newest.time, newest.x, newest.y, newest.z);
}
