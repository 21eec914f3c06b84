// zortcpserver: the live data server. The solver's `recorder Node -tcp` connects here while a run
// streams; every step it sends is decoded and the newest one handed on for drawing.
//
//   auto* server = new zortcpserver;  // listens on 127.0.0.1:19920, or a free port if that is taken
//   if (!server->isListening()) statusBar()->showMessage(server->errorString());
//   server->setNodeCount(modelRecord()->nodeTags.size());
//   connect(server, &zortcpserver::tclSendData, this, &Tolvane::tcpReceiveData);
//   ... the live recorder names server->serverPort()
//
// Two windows each follow their own run: the second finds 19920 taken and listens elsewhere, and
// its recorder names that port.
//
// The sockets are read on a thread of their own: a solver must never wait on a frame being drawn,
// or a slow view would stall the analysis. Signals are emitted on the server object's thread.
#pragma once

#include <QHostAddress>
#include <QMutex>
#include <QObject>
#include <QThread>
#include <QVector>
#include <atomic>

#include "LiveStreamDecoder.h"

class LiveReceiver;

class zortcpserver : public QObject {
    Q_OBJECT
public:
    static constexpr quint16 defaultPort = 19920;

    // Listens on the IPv4 loopback address only, on PORT or, when that is taken, on a free port
    // (port 0 asks for a free one at once).
    explicit zortcpserver(quint16 port = defaultPort, QObject* parent = nullptr);
    ~zortcpserver() override;

    bool isListening() const { return m_listening; }
    // Why listening failed; empty while listening.
    QString errorString() const { return m_error; }
    QHostAddress serverAddress() const { return m_address; }
    quint16 serverPort() const { return m_port; }
    // Connections whose peer has not hung up yet; once a connection leaves this count, all its
    // records have been emitted.
    int openConnections() const { return m_connections; }
    // The nodes of the model whose run streams next; a connection accepted later takes a header
    // of more than 3 x COUNT + 1 values for a protocol error.
    void setNodeCount(int count) { m_nodeCount = count; }

signals:
    // The newest step decoded; steps that arrived while the event loop was busy are skipped.
    void tclSendData(double domainTime, QVector<double> x, QVector<double> y, QVector<double> z);
    // Every step of a connection, in order, INDEX counting from 0.
    void recordReceived(int index, double domainTime);
    // A connection sent what no live recorder of the model sends; it is read and ignored from
    // there on. Once per connection, saying what arrived.
    void streamRefused(const QString& problem);

private:
    friend class LiveReceiver;
    // Called on the reading thread for every batch of records of one connection.
    void received(int firstIndex, QVector<LiveRecord> records);
    void emitNewest();

    QThread m_thread;
    LiveReceiver* m_receiver = nullptr;
    bool m_listening = false;
    QString m_error;
    QHostAddress m_address;
    quint16 m_port = 0;
    std::atomic<int> m_connections{0};
    std::atomic<int> m_nodeCount{0};
    QMutex m_mutex;  // guards the newest record and its flag
    LiveRecord m_newest;
    bool m_newestPending = false;
};
