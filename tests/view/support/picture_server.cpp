#include "tests/view/support/picture_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>

namespace pricelookup::testing {

PictureServer::PictureServer(std::string content_type, std::string body,
                             std::chrono::milliseconds delay)
    : m_delay(delay) {
    m_response = "HTTP/1.1 200 OK\r\nContent-Type: " + content_type +
                 "\r\nCache-Control: no-store\r\nConnection: close\r\nContent-Length: " +
                 std::to_string(body.size()) + "\r\n\r\n" + body;
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;  // the system picks a free port
    socklen_t length = sizeof address;
    if (m_listener < 0 || ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(m_listener, 64) != 0 ||
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
        ::pipe2(m_wake, O_CLOEXEC) != 0) {
        throw std::runtime_error("picture server: cannot listen on 127.0.0.1");
    }
    m_port = ntohs(address.sin_port);
    m_acceptor = std::thread([this] { accept_loop(); });
}

PictureServer::~PictureServer() {
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    const char byte = 0;
    [[maybe_unused]] const ssize_t written = ::write(m_wake[1], &byte, 1);
    m_acceptor.join();
    for (std::thread& connection : m_connections) connection.join();
    ::close(m_listener);
    ::close(m_wake[0]);
    ::close(m_wake[1]);
}

std::string PictureServer::url(std::string_view target) const {
    return "http://127.0.0.1:" + std::to_string(m_port) + std::string(target);
}

std::vector<std::string> PictureServer::targets() const {
    const std::lock_guard lock(m_mutex);
    return m_targets;
}

int PictureServer::count(std::string_view target) const {
    const std::lock_guard lock(m_mutex);
    return static_cast<int>(std::count(m_targets.begin(), m_targets.end(), target));
}

bool PictureServer::wait_for(std::string_view target, int times,
                             std::chrono::milliseconds timeout) const {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, timeout, [&] {
        return std::count(m_targets.begin(), m_targets.end(), target) >= times;
    });
}

void PictureServer::accept_loop() {
    for (;;) {
        pollfd fds[2] = {{m_listener, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) continue;
        if ((fds[1].revents & POLLIN) != 0) return;
        const int connection = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) continue;
        const std::lock_guard lock(m_mutex);
        m_connections.emplace_back([this, connection] { serve(connection); });
    }
}

void PictureServer::serve(int connection) {
    // Read the request head; a connection opened ahead of need and left idle ends
    // when the server stops.
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos) {
        pollfd fds[2] = {{connection, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0 || (fds[1].revents & POLLIN) != 0) break;
        const ssize_t got = ::recv(connection, buffer, sizeof buffer, 0);
        if (got <= 0) break;
        request.append(buffer, static_cast<std::size_t>(got));
    }
    const std::size_t head_end = request.find("\r\n\r\n");
    if (head_end != std::string::npos) {
        const std::size_t start = request.find(' ') + 1;
        const std::size_t end = request.find(' ', start);
        {
            const std::lock_guard lock(m_mutex);
            m_targets.push_back(request.substr(start, end - start));
        }
        m_changed.notify_all();
        std::unique_lock lock(m_mutex);
        const bool stopping = m_changed.wait_for(lock, m_delay, [this] { return m_stopping; });
        lock.unlock();
        if (!stopping) {
            std::size_t sent = 0;
            while (sent < m_response.size()) {
                const ssize_t n = ::send(connection, m_response.data() + sent,
                                         m_response.size() - sent, MSG_NOSIGNAL);
                if (n <= 0) break;
                sent += static_cast<std::size_t>(n);
            }
        }
    }
    ::close(connection);
}

}  // namespace pricelookup::testing
