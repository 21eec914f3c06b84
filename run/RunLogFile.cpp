#include "RunLogFile.h"

#include <algorithm>
#include <cstring>

RunLogFile::RunLogFile(qint64 limit) : m_limit(std::max<qint64>(limit, 1)) {}

RunLogFile::~RunLogFile()
{
    close();
    waitForWritten();
}

void RunLogFile::waitForWritten()
{
    if (m_writer.joinable())
        m_writer.join();
}

bool RunLogFile::open(const QString& path)
{
    close();
    waitForWritten();
    m_head = m_total = m_tailPos = 0;
    m_tail.clear();
    m_file.setFileName(path);
    return m_file.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

void RunLogFile::write(const QByteArray& bytes)
{
    if (!m_file.isOpen() || bytes.isEmpty())
        return;
    m_total += bytes.size();
    const qint64 toHead = std::min<qint64>(bytes.size(), m_limit - m_head);
    if (toHead > 0) {
        m_file.write(bytes.constData(), toHead);
        m_file.flush();  // readable while the solver runs
        m_head += toHead;
    }
    if (toHead < bytes.size())
        keepInTail(bytes.constData() + toHead, bytes.size() - toHead);
}

void RunLogFile::keepInTail(const char* data, qint64 size)
{
    if (size >= m_limit) {
        m_tail = QByteArray(data + size - m_limit, int(m_limit));
        m_tailPos = 0;
        return;
    }
    if (m_tail.size() < m_limit) {
        const qint64 fits = std::min<qint64>(size, m_limit - m_tail.size());
        m_tail.append(data, int(fits));
        data += fits;
        size -= fits;
    }
    // A full ring: overwrite the oldest bytes, wrapping at the end.
    while (size > 0) {
        const qint64 n = std::min<qint64>(size, m_limit - m_tailPos);
        std::memcpy(m_tail.data() + m_tailPos, data, size_t(n));
        m_tailPos = (m_tailPos + n) % m_limit;
        data += n;
        size -= n;
    }
}

void RunLogFile::close()
{
    if (!m_file.isOpen())
        return;
    m_file.close();
    if (m_tail.isEmpty())
        return;
    const qint64 leftOut = m_total - m_head - m_tail.size();
    m_writer = std::thread([path = m_file.fileName(), tail = std::move(m_tail), pos = m_tailPos, leftOut] {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
            return;
        if (leftOut > 0)
            file.write(QStringLiteral("\n[Tolvane: %1 bytes of the solver's output left out here]\n")
                           .arg(leftOut)
                           .toUtf8());
        file.write(tail.constData() + pos, tail.size() - pos);
        file.write(tail.constData(), pos);
    });
    m_tail = QByteArray();
}
