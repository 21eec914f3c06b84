#include "LiveStreamDecoder.h"

#include <QtEndian>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

namespace {

constexpr int kValueSize = int(sizeof(double));
constexpr double kCloseMarker = -1.0;

double decodeValue(const char* bytes)
{
    const quint64 bits = qFromLittleEndian<quint64>(bytes);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

}  // namespace

LiveStreamDecoder::LiveStreamDecoder(int nodeCount)
    : m_maxValuesPerRecord(int(std::min<qint64>(3 * qint64(std::max(nodeCount, 0)) + 1, INT_MAX / 8 - 1)))
{
}

QVector<LiveRecord> LiveStreamDecoder::feed(const QByteArray& bytes)
{
    QVector<LiveRecord> records;
    if (m_state == State::Finished || m_state == State::Failed)
        return records;
    m_pending.append(bytes);
    if (m_state == State::Header && !takeHeader())
        return records;
    while (m_state == State::Records && takeRecord(records)) {
    }
    // Compact once per read, not once per record: a read may hold thousands of records.
    m_pending.remove(0, m_offset);
    m_offset = 0;
    return records;
}

bool LiveStreamDecoder::takeHeader()
{
    if (pendingBytes() < kValueSize)
        return false;
    const double s = valueAt(0);
    m_offset += kValueSize;
    if (s == kCloseMarker) {
        stop(State::Finished);
        return false;
    }
    if (!(s >= 2.0 && s <= m_maxValuesPerRecord && std::floor(s) == s)) {
        m_problem = QStringLiteral("the live stream announced %1 values per step where this model has at most %2")
                        .arg(s)
                        .arg(m_maxValuesPerRecord);
        stop(State::Failed);
        return false;
    }
    m_valuesPerRecord = int(s);
    m_state = State::Records;
    return true;
}

bool LiveStreamDecoder::takeRecord(QVector<LiveRecord>& out)
{
    // The close record may be cut short by the peer, so its first value is enough.
    if (pendingBytes() >= kValueSize && valueAt(0) == kCloseMarker) {
        stop(State::Finished);
        return false;
    }
    const int count = m_valuesPerRecord + 1;
    if (pendingBytes() / kValueSize < count)
        return false;

    LiveRecord record;
    record.time = valueAt(1);
    const int nodeValues = count - 2;  // from value 2 on
    const int groups = (nodeValues + 2) / 3;
    record.x.reserve(groups);
    record.y.reserve(groups);
    record.z.reserve(groups);
    // Positions past the record read as 0, completing a final short group.
    auto at = [&](int i) { return i < count ? valueAt(i) : 0.0; };
    for (int i = 2; i < count; i += 3) {
        record.x.append(at(i));
        record.y.append(at(i + 1));
        record.z.append(at(i + 2));
    }
    out.append(record);
    m_offset += count * kValueSize;
    return true;
}

double LiveStreamDecoder::valueAt(int index) const
{
    return decodeValue(m_pending.constData() + m_offset + index * kValueSize);
}

void LiveStreamDecoder::stop(State state)
{
    m_state = state;
    m_pending.clear();
    m_pending.squeeze();
    m_offset = 0;
}
