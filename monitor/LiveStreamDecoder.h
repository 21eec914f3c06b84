// LiveStreamDecoder: turns the bytes of one live recorder connection into node records. TCP joins
// and splits the solver's messages freely, so bytes are kept until a whole record is there.
//
//   LiveStreamDecoder decoder(nodeCount);  // one per connection
//   for (const LiveRecord& r : decoder.feed(socket->readAll())) draw(r.time, r.x, r.y, r.z);
//
// Stream: one little-endian double S (values per record, time included), then records of S + 1
// doubles [S, time, x1, y1, z1, x2, ...], then a record whose first value is -1. S is at most
// 3 x (node count) + 1: the recorder names the model's nodes, three values each. A larger S comes
// from something else, and would make each record allocate whatever it announces.
#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

struct LiveRecord {
    double time = 0.0;
    QVector<double> x;
    QVector<double> y;
    QVector<double> z;
};

class LiveStreamDecoder {
public:
    enum class State { Header, Records, Finished, Failed };

    // Accepts headers from 2 to 3 x NODECOUNT + 1.
    explicit LiveStreamDecoder(int nodeCount);

    // Keeps BYTES and returns the records they complete, in stream order.
    QVector<LiveRecord> feed(const QByteArray& bytes);

    State state() const { return m_state; }
    // Once the header was refused (state Failed): what arrived and what was expected.
    QString problem() const { return m_problem; }
    // S of the header; 0 until it has arrived.
    int valuesPerRecord() const { return m_valuesPerRecord; }
    // Bytes kept for a record not yet complete.
    int pendingBytes() const { return m_pending.size() - m_offset; }

private:
    bool takeHeader();
    bool takeRecord(QVector<LiveRecord>& out);
    double valueAt(int index) const;
    void stop(State state);

    State m_state = State::Header;
    int m_maxValuesPerRecord;
    int m_valuesPerRecord = 0;
    QString m_problem;
    QByteArray m_pending;
    int m_offset = 0;  // start of the first unread value in m_pending
};
