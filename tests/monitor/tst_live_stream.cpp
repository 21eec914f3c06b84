// The live stream: record framing however TCP cuts the bytes, the end of a stream, garbage
// headers, and the server on a real loopback socket.
#include <QSignalSpy>
#include <QTcpSocket>
#include <QtEndian>
#include <QtTest>

#include <cstring>
#include <limits>

#include "LiveStreamDecoder.h"
#include "zortcpserver.h"

namespace {

using Values = QVector<double>;
using State = LiveStreamDecoder::State;

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
QByteArray twoNodeRecord(int step)
{
    return encode(
        {7, 0.01 * step, step + 0.1, step + 0.2, step + 0.3, -step - 0.1, -step - 0.2, -step - 0.3});
}

// What a decoded two-node record must hold: time, x, y, z in one list.
Values twoNodeExpected(int step)
{
    return {0.01 * step, step + 0.1, -step - 0.1, step + 0.2, -step - 0.2, step + 0.3, -step - 0.3};
}

QVector<Values> flat(const QVector<LiveRecord>& records)
{
    QVector<Values> out;
    for (const LiveRecord& r : records)
        out << Values{r.time} + r.x + r.y + r.z;
    return out;
}

// Header, steps 1 to 3, and the close record the solver sends when the recorder goes.
const QByteArray kTwoNodeStream = encode({7}) + twoNodeRecord(1) + twoNodeRecord(2) + twoNodeRecord(3) +
                                  encode({-1}) + twoNodeRecord(3).mid(8);
const QVector<Values> kTwoNodeSteps = {twoNodeExpected(1), twoNodeExpected(2), twoNodeExpected(3)};

// A server on a free port, its signals recorded, and a client of it whose writes finish before
// the event loop runs again.
struct Served {
    zortcpserver server{0};
    QSignalSpy records{&server, &zortcpserver::recordReceived};
    QSignalSpy data{&server, &zortcpserver::tclSendData};

    QVector<Values> sent() const
    {
        QVector<Values> out;
        for (const QList<QVariant>& a : data)
            out << Values{a[0].toDouble()} + a[1].value<Values>() + a[2].value<Values>() +
                       a[3].value<Values>();
        return out;
    }
};

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

}  // namespace

class TestLiveStream : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qRegisterMetaType<Values>(); }

    void decoding_data()
    {
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<QVector<Values>>("records");
        QTest::addColumn<int>("state");
        const auto row = [](const char* name, const QByteArray& stream, const QVector<Values>& records,
                            State state) { QTest::newRow(name) << stream << records << int(state); };
        row("short last group", encode({5, 5, 0.02, 1, 2, 3, 4}), {{0.02, 1, 4, 2, 0, 3, 0}}, State::Records);
        row("time only", encode({1, 1, 0.5}), {{0.5}}, State::Records);
        // The close marker alone is enough; nothing after it is a step.
        row("close record", encode({7}) + twoNodeRecord(1) + encode({-1}), {twoNodeExpected(1)},
            State::Finished);
        row("closed before any step", encode({-1}) + twoNodeRecord(1), {}, State::Finished);
        // A nonsense header stops decoding.
        const auto nonsense = [&](const char* name, double header) {
            row(name, encode({header}) + twoNodeRecord(1), {}, State::Failed);
        };
        nonsense("zero", 0.0);
        nonsense("fraction", 2.5);
        nonsense("absurdly large", 1e9);
        nonsense("not a number", std::numeric_limits<double>::quiet_NaN());
    }

    void decoding()
    {
        QFETCH(QByteArray, stream);
        QFETCH(QVector<Values>, records);
        QFETCH(int, state);
        LiveStreamDecoder decoder;
        QCOMPARE(flat(decoder.feed(stream)), records);
        QCOMPARE(int(decoder.state()), state);
        QCOMPARE(decoder.pendingBytes(), 0);
        if (State(state) != State::Records)
            QVERIFY(decoder.feed(twoNodeRecord(2)).isEmpty());
        QCOMPARE(decoder.pendingBytes(), 0);
    }

    void anyCutsGiveTheSameRecords()
    {
        const QByteArray& stream = kTwoNodeStream;
        for (int i = 0; i <= stream.size(); ++i) {
            for (int j = i; j <= stream.size(); ++j) {
                LiveStreamDecoder decoder;
                QVector<LiveRecord> got = decoder.feed(stream.left(i));
                got += decoder.feed(stream.mid(i, j - i));
                got += decoder.feed(stream.mid(j));
                if (flat(got) != kTwoNodeSteps || decoder.state() != State::Finished)
                    QFAIL(qPrintable(QStringLiteral("reads cut at %1 and %2").arg(i).arg(j)));
            }
        }
    }

    void listensOnLoopbackOnlyAndReportsAPortInUse()
    {
        QTest::ignoreMessage(QtDebugMsg, "Server started!");
        zortcpserver server(0);
        QVERIFY(server.isListening());
        QVERIFY(server.errorString().isEmpty());
        QCOMPARE(server.serverAddress(), QHostAddress(QHostAddress::LocalHost));
        QTest::ignoreMessage(QtDebugMsg, "Server could not start!");
        zortcpserver second(server.serverPort());
        QVERIFY(!second.isListening());
        QVERIFY(!second.errorString().isEmpty());
    }

    // Steps that wait together are sent as the newest only; what is sent is in step order and ends
    // with the last step.
    void splitStreamArrivesInOrder()
    {
        Served s;
        Client client(s.server.serverPort());
        int from = 0;
        for (int cut : {3, 8 + 64 + 5, 8 + 3 * 64 + 30, int(kTwoNodeStream.size())}) {
            client.send(kTwoNodeStream.mid(from, cut - from));
            from = cut;
        }
        QTRY_COMPARE(s.records.count(), 3);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(s.records[i], QList<QVariant>({i, kTwoNodeSteps[i][0]}));
        QTRY_VERIFY(!s.data.isEmpty());
        QTest::qWait(20);
        int next = 0;
        for (const Values& sent : s.sent()) {
            while (next < 3 && kTwoNodeSteps[next] != sent)
                ++next;
            QVERIFY2(next++ < 3, "a step sent out of order or not in the stream");
        }
        QCOMPARE(s.sent().last(), kTwoNodeSteps.last());

        // The stream has ended, yet the connection is the peer's to close.
        QTest::qWait(50);
        QCOMPARE(client.socket.state(), QAbstractSocket::ConnectedState);
        QCOMPARE(s.server.openConnections(), 1);
        QTest::ignoreMessage(QtDebugMsg, "disconnected!");
        client.socket.disconnectFromHost();
        QTRY_COMPARE(s.server.openConnections(), 0);
    }

    void eachConnectionHasItsOwnStream()
    {
        Served s;
        Client first(s.server.serverPort());
        first.send(encode({7}) + twoNodeRecord(1).left(20));
        QTRY_COMPARE(s.server.openConnections(), 1);

        // A one-node stream meanwhile: its own header, its steps counted from 0.
        Client second(s.server.serverPort());
        second.send(encode({4, 4, 0.5, 1, 2, 3}));
        QTRY_COMPARE(s.data.count(), 1);
        QCOMPARE(s.sent().last(), (Values{0.5, 1, 2, 3}));
        QCOMPARE(s.records.takeFirst(), QList<QVariant>({0, 0.5}));

        first.send(twoNodeRecord(1).mid(20));
        QTRY_COMPARE(s.data.count(), 2);
        QCOMPARE(s.sent().last(), twoNodeExpected(1));
        QCOMPARE(s.records.takeFirst(), QList<QVariant>({0, 0.01}));
    }
};

QTEST_MAIN(TestLiveStream)
#include "tst_live_stream.moc"
