// Reading a fuzzer's bytes as choices and pieces, so that one input steers a whole call.
#pragma once

#include <QByteArray>
#include <QList>
#include <cstddef>
#include <cstdint>

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : m_data(reinterpret_cast<const char*>(data), int(size)) {}

    bool atEnd() const { return m_pos >= m_data.size(); }
    // One byte as a choice among COUNT, 0 when the input is used up.
    int choose(int count)
    {
        if (count <= 0 || atEnd())
            return 0;
        return uint8_t(m_data[m_pos++]) % count;
    }
    // The rest, cut at the separator byte.
    QList<QByteArray> restSplit(char separator)
    {
        const QByteArray rest = m_data.mid(m_pos);
        m_pos = m_data.size();
        return rest.split(separator);
    }
    QByteArray rest()
    {
        const QByteArray r = m_data.mid(m_pos);
        m_pos = m_data.size();
        return r;
    }

private:
    QByteArray m_data;
    int m_pos = 0;
};
