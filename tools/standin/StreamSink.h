// The live stream of a `recorder Node -tcp` as the solver sends it: little-endian doubles over a
// plain blocking TCP connection, so that a listener that stops reading stalls the run.
//
//   StreamSink sink;
//   if (sink.connectTo("127.0.0.1", 19920, &reason)) sink.send(values.data(), values.size());
#pragma once

#include <cstddef>
#include <string>

class StreamSink {
public:
    StreamSink() = default;
    ~StreamSink() { close(); }
    StreamSink(const StreamSink&) = delete;
    StreamSink& operator=(const StreamSink&) = delete;

    // Connects to an IPv4 HOST; on failure REASON says why and the sink stays closed.
    bool connectTo(const std::string& host, int port, std::string* reason);
    bool isOpen() const { return m_socket >= 0; }
    // Sends COUNT doubles; false (and closed) when the listener has gone.
    bool send(const double* values, std::size_t count);
    void close();

private:
    int m_socket = -1;
};
