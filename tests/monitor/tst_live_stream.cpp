// The live stream: record framing however TCP cuts the bytes, the end of a stream, headers that
// no recorder of the model sends, and the server on real loopback sockets, two runs at once.
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <cstring>
#include <limits>

#include "Instrumentation.h"
#include "LiveStreamDecoder.h"
#include "ModelRecord.h"
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

// A server for a model of NODES nodes on a free port (or on PORT when it is free), its signals
// recorded, and a client of it whose writes finish before the event loop runs again.
struct Served {
    zortcpserver server;
    QSignalSpy records{&server, &zortcpserver::recordReceived};
    QSignalSpy data{&server, &zortcpserver::tclSendData};
    QSignalSpy refused{&server, &zortcpserver::streamRefused};

    explicit Served(quint16 port = 0, int nodes = 2) : server(port) { server.setNodeCount(nodes); }

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
        // The close marker alone is enough; nothing after it is a step.
        row("close record", encode({7}) + twoNodeRecord(1) + encode({-1}), {twoNodeExpected(1)},
            State::Finished);
        row("closed before any step", encode({-1}) + twoNodeRecord(1), {}, State::Finished);
        // A header no recorder of this two-node model sends stops decoding.
        const auto nonsense = [&](const char* name, double header) {
            row(name, encode({header}) + twoNodeRecord(1), {}, State::Failed);
        };
        nonsense("zero", 0.0);
        nonsense("time only", 1.0);
        nonsense("fraction", 2.5);
        nonsense("one value more than 3 x 2 nodes + 1", 8.0);
        nonsense("absurdly large", 1e8);
        nonsense("not a number", std::numeric_limits<double>::quiet_NaN());
    }

    void decoding()
    {
        QFETCH(QByteArray, stream);
        QFETCH(QVector<Values>, records);
        QFETCH(int, state);
        LiveStreamDecoder decoder(2);
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
                LiveStreamDecoder decoder(2);
                QVector<LiveRecord> got = decoder.feed(stream.left(i));
                got += decoder.feed(stream.mid(i, j - i));
                got += decoder.feed(stream.mid(j));
                if (flat(got) != kTwoNodeSteps || decoder.state() != State::Finished)
                    QFAIL(qPrintable(QStringLiteral("reads cut at %1 and %2").arg(i).arg(j)));
            }
        }
    }

    // Two windows, each following its own run: the second server finds 19920 taken and listens on
    // another loopback port, and each run's recorder streams to its own window.
    void twoServersFollowTwoRunsAtOnce()
    {
        Served served[2] = {Served(zortcpserver::defaultPort, 2), Served(zortcpserver::defaultPort, 3)};
        QCOMPARE(served[0].server.serverPort(), zortcpserver::defaultPort);
        QVERIFY(served[1].server.isListening() && served[1].server.serverPort() != zortcpserver::defaultPort);
        QTemporaryDir dir;
        QProcess runs[2];
        qputenv("TOLVANE_STANDIN_STEP_DELAY_MS", "30");  // the two runs overlap
        for (int i = 0; i < 2; ++i) {
            // Run i: a model of 2 + i nodes, 3 + i steps.
            QFile script(dir.filePath(QString("m%1.tcl").arg(i)));
            QVERIFY(script.open(QIODevice::WriteOnly) &&
                    script.write(QString("model basic -ndm 3\nfor {set n 1} {$n <= %1} {incr n} {node $n 0 0 $n}\n"
                                         "analyze %2\n").arg(2 + i).arg(3 + i).toUtf8()) > 0);
            script.close();
            ModelRecord model;
            model.nodeTags = i ? QVector<int>{1, 2, 3} : QVector<int>{1, 2};
            QVERIFY(writeInstrumentedScript(script.fileName(),
                                            recorderBlock(model, {}, 10, served[i].server.serverPort())));
            runs[i].setWorkingDirectory(dir.path());
            runs[i].start(TOLVANE_BINARY_DIR "/bin/tolvane-standin", {dir.filePath(QString("m%1Temp.tcl").arg(i))});
        }
        qunsetenv("TOLVANE_STANDIN_STEP_DELAY_MS");
        for (int i = 0; i < 2; ++i) {
            QVERIFY(runs[i].waitForFinished(30000) && runs[i].exitCode() == 0);
            QTRY_COMPARE(served[i].records.count(), 3 + i);
            QVERIFY(!served[i].data.isEmpty() && served[i].refused.isEmpty());
            for (const Values& sent : served[i].sent())
                QCOMPARE(sent.size(), 1 + 3 * (2 + i));
        }
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

    // A header beyond the model is said once; the connection is read to its end, never closed
    // under its sender, and nothing of it is drawn.
    void headerBeyondTheModelIsRefusedOnce()
    {
        Served s;
        Client client(s.server.serverPort());
        client.send(encode({1e8}) + twoNodeRecord(1));
        QTRY_COMPARE(s.refused.count(), 1);
        QVERIFY2(s.refused[0][0].toString().contains("1e+08 values per step where this model has at most 7"),
                 qPrintable(s.refused[0][0].toString()));
        client.send(QByteArray(1 << 20, 'x') + encode({7}) + twoNodeRecord(2));
        QTest::qWait(100);
        QCOMPARE(client.socket.state(), QAbstractSocket::ConnectedState);
        QCOMPARE(s.refused.count(), 1);
        QVERIFY(s.data.isEmpty() && s.records.isEmpty());
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
