#include "zortcpserver.h"

#include <QDebug>
#include <QHash>
#include <QTcpServer>
#include <QTcpSocket>

#include <utility>

// Lives on the server's reading thread: accepts the connections and decodes what they send.
class LiveReceiver : public QObject {
public:
    explicit LiveReceiver(zortcpserver* owner) : m_owner(owner) {}

    void listen(quint16 port)
    {
        m_server = new QTcpServer(this);
        connect(m_server, &QTcpServer::newConnection, this, &LiveReceiver::newConnection);
        // The recorder connects to 127.0.0.1; nothing else on the network should reach us.
        m_owner->m_listening = m_server->listen(QHostAddress::LocalHost, port);
        // Taken, most likely by another window following its own run: any free port serves,
        // since the recorder is told which one.
        if (!m_owner->m_listening && port != 0)
            m_owner->m_listening = m_server->listen(QHostAddress::LocalHost, 0);
        if (!m_owner->m_listening)
            m_owner->m_error = m_server->errorString();
        m_owner->m_address = m_server->serverAddress();
        m_owner->m_port = m_server->serverPort();
    }

private:
    struct Connection {
        LiveStreamDecoder decoder;
        int received = 0;
    };

    void newConnection()
    {
        while (QTcpSocket* socket = m_server->nextPendingConnection()) {
            m_connections.insert(socket, Connection{LiveStreamDecoder(m_owner->m_nodeCount), 0});
            ++m_owner->m_connections;
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
            connect(socket, &QTcpSocket::disconnected, this, [this, socket] { disconnected(socket); });
        }
    }

    void disconnected(QTcpSocket* socket)
    {
        readFrom(socket);  // whatever came with the peer's goodbye
        // Counted down on the owner's thread, behind the records already queued there, so that
        // no open connection means every record of it was handed on.
        if (m_connections.remove(socket))
            QMetaObject::invokeMethod(
                m_owner, [owner = m_owner] { --owner->m_connections; }, Qt::QueuedConnection);
        socket->deleteLater();
        qDebug() << "disconnected!";
    }

    void readFrom(QTcpSocket* socket)
    {
        auto it = m_connections.find(socket);
        if (it == m_connections.end())
            return;
        // Always read, even after the stream ended or went wrong: a peer left unread stalls the solver.
        const bool wasFailed = it->decoder.state() == LiveStreamDecoder::State::Failed;
        QVector<LiveRecord> records = it->decoder.feed(socket->readAll());
        if (!wasFailed && it->decoder.state() == LiveStreamDecoder::State::Failed)
            QMetaObject::invokeMethod(
                m_owner, [owner = m_owner, problem = it->decoder.problem()] { emit owner->streamRefused(problem); },
                Qt::QueuedConnection);
        if (records.isEmpty())
            return;
        const int first = it->received;
        it->received += records.size();
        m_owner->received(first, std::move(records));
    }

    zortcpserver* m_owner;
    QTcpServer* m_server = nullptr;
    QHash<QTcpSocket*, Connection> m_connections;
};

zortcpserver::zortcpserver(quint16 port, QObject* parent) : QObject(parent)
{
    m_receiver = new LiveReceiver(this);
    m_receiver->moveToThread(&m_thread);
    m_thread.start();
    QMetaObject::invokeMethod(
        m_receiver, [this, port] { m_receiver->listen(port); }, Qt::BlockingQueuedConnection);
    qDebug() << (m_listening ? "Server started!" : "Server could not start!");
}

zortcpserver::~zortcpserver()
{
    // The sockets belong to the reading thread: they go there, before it ends.
    QMetaObject::invokeMethod(
        m_receiver, [this] { delete m_receiver; }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

void zortcpserver::received(int firstIndex, QVector<LiveRecord> records)
{
    QVector<double> times;
    times.reserve(records.size());
    for (const LiveRecord& r : records)
        times << r.time;
    bool post = false;
    {
        QMutexLocker lock(&m_mutex);
        m_newest = std::move(records.last());
        post = !m_newestPending;
        m_newestPending = true;
    }
    QMetaObject::invokeMethod(
        this,
        [this, firstIndex, times] {
            for (int i = 0; i < times.size(); ++i)
                emit recordReceived(firstIndex + i, times[i]);
        },
        Qt::QueuedConnection);
    if (post)
        QMetaObject::invokeMethod(this, &zortcpserver::emitNewest, Qt::QueuedConnection);
}

void zortcpserver::emitNewest()
{
    LiveRecord newest;
    {
        QMutexLocker lock(&m_mutex);
        m_newestPending = false;
        newest = std::move(m_newest);
        m_newest = LiveRecord();
    }
    emit tclSendData(newest.time, newest.x, newest.y, newest.z);
}
