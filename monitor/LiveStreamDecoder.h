// LiveStreamDecoder: turns the bytes of one live recorder connection into node records. TCP joins
// and splits the solver's messages freely, so bytes are kept until a whole record is there.
//
//   LiveStreamDecoder decoder;             // one per connection
//   for (const LiveRecord& r : decoder.feed(socket->readAll())) draw(r.time, r.x, r.y, r.z);
//
// Stream: one little-endian double S (values per record, time included), then records of S + 1
// doubles [S, time, x1, y1, z1, x2, ...], then a record whose first value is -1.
#pragma once

#include <QByteArray>
#include <QVector>

struct LiveRecord {
    double time = 0.0;
    QVector<double> x;
    QVector<double> y;
    QVector<double> z;
};

class LiveStreamDecoder {
public:
    // A header above this is taken for garbage rather than a model.
    static constexpr double maxValuesPerRecord = 1e8;

    enum class State { Header, Records, Finished, Failed };

    // Keeps BYTES and returns the records they complete, in stream order.
    QVector<LiveRecord> feed(const QByteArray& bytes);

    State state() const { return m_state; }
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
    int m_valuesPerRecord = 0;
    QByteArray m_pending;
    int m_offset = 0;  // start of the first unread value in m_pending
};
