// The live stream: record framing however TCP cuts the bytes, the end of a stream, garbage
// headers, and the server on a real loopback socket.
#include <QNetworkInterface>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QtEndian>
#include <QtTest>

#include <cmath>
#include <cstring>
#include <limits>

#include "LiveStreamDecoder.h"
#include "zortcpserver.h"

namespace {

using Values = QVector<double>;

QByteArray encode(const Values& values)
{
    QByteArray bytes(values.size() * 8, Qt::Uninitialized);
    for (int i = 0; i < values.size(); ++i) {
        quint64 bits;
        std::memcpy(&bits, &values[i], 8);
        qToLittleEndian(bits, bytes.data() + 8 * i);
    }
    return bytes;
}

// Step S of a two-node model: [S, time, x1, y1, z1, x2, y2, z2] with S = 7.
Values twoNodeRecord(int step)
{
    return {7, 0.01 * step, step + 0.1, step + 0.2, step + 0.3, -step - 0.1, -step - 0.2, -step - 0.3};
}

// What a decoded two-node record must hold: time, x, y, z in one list.
Values twoNodeExpected(int step)
{
    return {0.01 * step, step + 0.1, -step - 0.1, step + 0.2, -step - 0.2, step + 0.3, -step - 0.3};
}

Values flat(double time, const Values& x, const Values& y, const Values& z)
{
    return Values{time} + x + y + z;
}

QVector<Values> flat(const QVector<LiveRecord>& records)
{
    QVector<Values> out;
    for (const LiveRecord& r : records)
        out << flat(r.time, r.x, r.y, r.z);
    return out;
}

// Header, steps 1 to 3, and the close record the solver sends when the recorder goes.
QByteArray twoNodeStream()
{
    Values close = twoNodeRecord(3);
    close[0] = -1;
    return encode({7}) + encode(twoNodeRecord(1)) + encode(twoNodeRecord(2)) + encode(twoNodeRecord(3)) +
           encode(close);
}

const QVector<Values> kTwoNodeSteps = {twoNodeExpected(1), twoNodeExpected(2), twoNodeExpected(3)};

// A client of the server under test; the writes finish before the event loop runs again.
struct Client {
    QTcpSocket socket;
    explicit Client(quint16 port)
    {
        socket.connectToHost(QHostAddress(QHostAddress::LocalHost), port);
        socket.waitForConnected(5000);
    }
    void send(const QByteArray& bytes)
    {
        socket.write(bytes);
        while (socket.bytesToWrite() > 0 && socket.waitForBytesWritten(5000)) {
        }
    }
};

QVector<Values> sentData(const QSignalSpy& spy)
{
    QVector<Values> out;
    for (const QList<QVariant>& a : spy)
        out << flat(a[0].toDouble(), a[1].value<Values>(), a[2].value<Values>(), a[3].value<Values>());
    return out;
}

}  // namespace

class TestLiveStream : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qRegisterMetaType<Values>(); }

    void recordLayout_data()
    {
        QTest::addColumn<Values>("stream");
        QTest::addColumn<Values>("record");
        QTest::newRow("two nodes") << Values{7, 7, 0.01, 1, 2, 3, 4, 5, 6} << Values{0.01, 1, 4, 2, 5, 3, 6};
        QTest::newRow("short last group") << Values{5, 5, 0.02, 1, 2, 3, 4} << Values{0.02, 1, 4, 2, 0, 3, 0};
        QTest::newRow("time only") << Values{1, 1, 0.5} << Values{0.5};
    }

    void recordLayout()
    {
        QFETCH(Values, stream);
        QFETCH(Values, record);
        LiveStreamDecoder decoder;
        QCOMPARE(flat(decoder.feed(encode(stream))), QVector<Values>{record});
        QCOMPARE(decoder.pendingBytes(), 0);
    }

    void anyCutsGiveTheSameRecords()
    {
        const QByteArray stream = twoNodeStream();
        for (int i = 0; i <= stream.size(); ++i) {
            for (int j = i; j <= stream.size(); ++j) {
                LiveStreamDecoder decoder;
                QVector<LiveRecord> got = decoder.feed(stream.left(i));
                got += decoder.feed(stream.mid(i, j - i));
                got += decoder.feed(stream.mid(j));
                if (flat(got) != kTwoNodeSteps || decoder.state() != LiveStreamDecoder::State::Finished)
                    QFAIL(qPrintable(QStringLiteral("reads cut at %1 and %2").arg(i).arg(j)));
            }
        }
    }

    void closeRecordEndsTheStream()
    {
        LiveStreamDecoder decoder;
        // The close marker alone is enough; nothing after it is a step.
        const QByteArray bytes = encode({7}) + encode(twoNodeRecord(1)) + encode({-1});
        QCOMPARE(flat(decoder.feed(bytes)), QVector<Values>{twoNodeExpected(1)});
        QCOMPARE(decoder.state(), LiveStreamDecoder::State::Finished);
        QVERIFY(decoder.feed(encode(twoNodeRecord(2))).isEmpty());
        QCOMPARE(decoder.pendingBytes(), 0);
    }

    void nonsenseHeaderStopsDecoding_data()
    {
        QTest::addColumn<double>("header");
        QTest::addColumn<bool>("failed");
        QTest::newRow("zero") << 0.0 << true;
        QTest::newRow("negative") << -3.0 << true;
        QTest::newRow("fraction") << 2.5 << true;
        QTest::newRow("absurdly large") << 1e9 << true;
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << true;
        QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << true;
        QTest::newRow("closed before any step") << -1.0 << false;
    }

    void nonsenseHeaderStopsDecoding()
    {
        QFETCH(double, header);
        QFETCH(bool, failed);
        LiveStreamDecoder decoder;
        QVERIFY(decoder.feed(encode({header}) + encode(twoNodeRecord(1))).isEmpty());
        QVERIFY(decoder.feed(encode(twoNodeRecord(2))).isEmpty());
        QCOMPARE(decoder.state(),
                 failed ? LiveStreamDecoder::State::Failed : LiveStreamDecoder::State::Finished);
        QCOMPARE(decoder.pendingBytes(), 0);
    }

    void listensOnLoopbackOnly()
    {
        QTest::ignoreMessage(QtDebugMsg, "Server started!");
        zortcpserver server(0);
        QVERIFY(server.isListening());
        QVERIFY(server.errorString().isEmpty());
        QCOMPARE(server.serverAddress(), QHostAddress(QHostAddress::LocalHost));
        for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
            if (address.isLoopback() || address.protocol() != QAbstractSocket::IPv4Protocol)
                continue;
            QTcpSocket outside;
            outside.connectToHost(address, server.serverPort());
            QVERIFY2(!outside.waitForConnected(2000), qPrintable(address.toString()));
        }
    }

    void portInUseIsReported()
    {
        zortcpserver first(0);
        QTest::ignoreMessage(QtDebugMsg, "Server could not start!");
        zortcpserver second(first.serverPort());
        QVERIFY(!second.isListening());
        QVERIFY(!second.errorString().isEmpty());
    }

    void splitStreamArrivesInOrder()
    {
        zortcpserver server(0);
        QSignalSpy records(&server, &zortcpserver::recordReceived);
        QSignalSpy data(&server, &zortcpserver::tclSendData);
        Client client(server.serverPort());
        const QByteArray stream = twoNodeStream();
        int from = 0;
        for (int cut : {3, 8 + 64 + 5, 8 + 3 * 64 + 30, stream.size()}) {
            client.send(stream.mid(from, cut - from));
            from = cut;
            QTest::qWait(20);  // let the server read each piece on its own
        }
        QTRY_COMPARE(records.count(), 3);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(records[i], QList<QVariant>({i, kTwoNodeSteps[i][0]}));
        QTRY_VERIFY(!data.isEmpty());
        QCOMPARE(sentData(data).last(), kTwoNodeSteps.last());

        // The stream has ended, yet the connection is the peer's to close.
        QTest::qWait(50);
        QCOMPARE(client.socket.state(), QAbstractSocket::ConnectedState);
        QCOMPARE(server.openConnections(), 1);
        QTest::ignoreMessage(QtDebugMsg, "disconnected!");
        client.socket.disconnectFromHost();
        QTRY_COMPARE(server.openConnections(), 0);
    }

    void stepsWaitingTogetherSendOnlyTheNewest()
    {
        zortcpserver server(0);
        QSignalSpy records(&server, &zortcpserver::recordReceived);
        QSignalSpy data(&server, &zortcpserver::tclSendData);
        Client client(server.serverPort());
        const QByteArray stream = twoNodeStream();
        // Written in pieces while the server's event loop is held, so it finds them all at once.
        client.send(stream.left(8));
        client.send(stream.mid(8, 88));
        client.send(stream.mid(96));
        QTRY_COMPARE(records.count(), 3);
        QTRY_COMPARE(data.count(), 1);
        QTest::qWait(20);
        QCOMPARE(sentData(data), QVector<Values>{kTwoNodeSteps.last()});
    }

    void eachConnectionHasItsOwnStream()
    {
        zortcpserver server(0);
        QSignalSpy data(&server, &zortcpserver::tclSendData);
        QSignalSpy records(&server, &zortcpserver::recordReceived);
        Client first(server.serverPort());
        first.send(encode({7}) + encode(twoNodeRecord(1)).left(20));
        QTRY_COMPARE(server.openConnections(), 1);

        // A one-node stream meanwhile: its own header, its steps counted from 0.
        Client second(server.serverPort());
        second.send(encode({4, 4, 0.5, 1, 2, 3}));
        QTRY_COMPARE(data.count(), 1);
        QCOMPARE(sentData(data).last(), (Values{0.5, 1, 2, 3}));
        QCOMPARE(records.takeFirst(), QList<QVariant>({0, 0.5}));

        first.send(encode(twoNodeRecord(1)).mid(20));
        QTRY_COMPARE(data.count(), 2);
        QCOMPARE(sentData(data).last(), twoNodeExpected(1));
        QCOMPARE(records.takeFirst(), QList<QVariant>({0, 0.01}));
    }
};

QTEST_MAIN(TestLiveStream)
#include "tst_live_stream.moc"
