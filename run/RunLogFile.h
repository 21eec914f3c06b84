// RunLogFile: "TolvaneRun.log", what the solver printed, as it printed it. A solver that floods
// its output (a diverging analysis prints gigabytes) must not fill the disk: past twice the
// limit, the first and the last LIMIT bytes are kept, joined by a line that says how much was
// left out between them.
//
//   RunLogFile log;
//   log.open(dir + "/TolvaneRun.log");
//   log.write(chunk); ...; log.close();   // the kept end is written on a thread of its own
#pragma once

#include <QByteArray>
#include <QFile>
#include <thread>

class RunLogFile {
public:
    static constexpr qint64 defaultLimit = 50 * 1024 * 1024;

    explicit RunLogFile(qint64 limit = defaultLimit);
    ~RunLogFile();

    // Starts a new log at PATH; false when it cannot be written (nothing is kept then).
    bool open(const QString& path);
    bool isOpen() const { return m_file.isOpen(); }
    void write(const QByteArray& bytes);
    // Closes the file; the kept end of a long output (up to LIMIT bytes) follows on a thread of
    // its own, so that the end of a flood never holds up the window.
    void close();
    // Waits until the kept end is written.
    void waitForWritten();

private:
    void keepInTail(const char* data, qint64 size);

    QFile m_file;
    qint64 m_limit;
    qint64 m_head = 0;     // bytes written straight to the file
    qint64 m_total = 0;    // bytes received
    QByteArray m_tail;     // the newest bytes past the head, a ring once full
    qint64 m_tailPos = 0;  // where the next byte goes in a full ring (its oldest byte)
    std::thread m_writer;
};
