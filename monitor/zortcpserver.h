// zortcpserver: the live data server. The solver's `recorder Node -tcp` connects here while a run
// streams; every step it sends is decoded and the newest one handed on for drawing.
//
//   auto* server = new zortcpserver;  // listens on 127.0.0.1:19920
//   if (!server->isListening()) statusBar()->showMessage(server->errorString());
//   connect(server, &zortcpserver::tclSendData, this, &Tolvane::tcpReceiveData);
#pragma once

#include <QHash>
#include <QHostAddress>
#include <QObject>
#include <QVector>

#include "LiveStreamDecoder.h"

class QTcpServer;
class QTcpSocket;

class zortcpserver : public QObject {
    Q_OBJECT
public:
    static constexpr quint16 defaultPort = 19920;

    // Listens on the IPv4 loopback address only; port 0 picks a free port.
    explicit zortcpserver(quint16 port = defaultPort, QObject* parent = nullptr);

    bool isListening() const;
    // Why listening failed; empty while listening.
    QString errorString() const;
    QHostAddress serverAddress() const;
    quint16 serverPort() const;
    // Connections whose peer has not hung up yet.
    int openConnections() const { return m_connections.size(); }

signals:
    // The newest step decoded; steps that arrived while the event loop was busy are skipped.
    void tclSendData(double domainTime, QVector<double> x, QVector<double> y, QVector<double> z);
    // Every step of a connection, in order, INDEX counting from 0.
    void recordReceived(int index, double domainTime);

private slots:
    void newConnection();
    void readData();
    void disConnected();

private:
    struct Connection {
        LiveStreamDecoder decoder;
        int received = 0;
    };

    void readFrom(QTcpSocket* socket);
    void emitNewest();

    QTcpServer* m_server = nullptr;
    QString m_error;
    QHash<QTcpSocket*, Connection> m_connections;
    LiveRecord m_newest;
    bool m_newestPending = false;
};
