#include "StreamSink.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

bool StreamSink::connectTo(const std::string& host, int port, std::string* reason)
{
    close();
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int lookup = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
    if (lookup != 0) {
        *reason = gai_strerror(lookup);
        return false;
    }
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    const bool connected = s >= 0 && ::connect(s, found->ai_addr, found->ai_addrlen) == 0;
    *reason = connected ? std::string() : std::strerror(errno);
    freeaddrinfo(found);
    if (!connected) {
        if (s >= 0)
            ::close(s);
        return false;
    }
    // Each record goes out when it is made, not when the kernel has gathered enough of them.
    const int on = 1;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    m_socket = s;
    return true;
}

bool StreamSink::send(const double* values, std::size_t count)
{
    if (m_socket < 0)
        return false;
    std::vector<unsigned char> bytes(count * 8);
    for (std::size_t i = 0; i < count; ++i) {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &values[i], 8);
        for (int b = 0; b < 8; ++b)
            bytes[i * 8 + b] = static_cast<unsigned char>(bits >> (8 * b));
    }
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        // MSG_NOSIGNAL: a listener that went away is a failed send, not a SIGPIPE.
        const ssize_t n = ::send(m_socket, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            close();
            return false;
        }
        sent += std::size_t(n);
    }
    return true;
}

void StreamSink::close()
{
    if (m_socket < 0)
        return;
    ::close(m_socket);
    m_socket = -1;
}
