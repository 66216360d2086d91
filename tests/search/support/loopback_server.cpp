#include "tests/search/support/loopback_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <stdexcept>
#include <string_view>

namespace pricelookup::test {

void clear_proxy_environment() {
    for (const char* name : {"http_proxy", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY",
                             "no_proxy", "NO_PROXY"}) {
        ::unsetenv(name);
    }
}

namespace {

constexpr std::chrono::milliseconds request_wait{2000};

int open_loopback_listener(int backlog, std::uint16_t& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) throw std::runtime_error("socket failed");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;  // an ephemeral port
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, backlog) != 0) {
        ::close(fd);
        throw std::runtime_error("bind/listen on 127.0.0.1 failed");
    }
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return fd;
}

bool send_all(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
        if (sent <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

}  // namespace

LoopbackServer::LoopbackServer(std::vector<Reply> replies) : m_replies(std::move(replies)) {
    m_listener = open_loopback_listener(16, m_port);
    if (::pipe2(m_wake, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    m_thread = std::thread([this] { serve(); });
}

LoopbackServer::~LoopbackServer() {
    const char wake = 'x';
    [[maybe_unused]] const ssize_t written = ::write(m_wake[1], &wake, 1);
    m_thread.join();
    for (const int connection : m_lingering) ::close(connection);
    ::close(m_listener);
    ::close(m_wake[0]);
    ::close(m_wake[1]);
}

std::string LoopbackServer::url(std::string_view object) const {
    return "http://127.0.0.1:" + std::to_string(m_port) + std::string(object);
}

std::vector<std::string> LoopbackServer::requests() const {
    const std::lock_guard lock(m_mutex);
    return m_requests;
}

std::vector<std::string> LoopbackServer::requests_once(std::size_t count,
                                                      std::chrono::milliseconds timeout) const {
    std::unique_lock lock(m_mutex);
    m_recorded.wait_for(lock, timeout, [&] { return m_requests.size() >= count; });
    return m_requests;
}

bool LoopbackServer::wait_readable(int fd, std::chrono::milliseconds timeout) const {
    pollfd fds[2] = {{fd, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
    const int ready = ::poll(fds, 2, static_cast<int>(timeout.count()));
    return ready > 0 && (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0 &&
           (fds[1].revents & POLLIN) == 0;
}

void LoopbackServer::serve() {
    for (std::size_t served = 0;; ++served) {
        if (!wait_readable(m_listener, std::chrono::hours(1))) return;
        const int connection = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) continue;
        if (served < m_replies.size()) answer(connection, m_replies[served]);
        if (served < m_replies.size() && m_replies[served].ending == Reply::Ending::linger) {
            m_lingering.push_back(connection);
        } else {
            ::close(connection);
        }
    }
}

void LoopbackServer::answer(int connection, const Reply& reply) {
    // The request head ends at its blank line; a TLS client sends no such thing, so
    // the first packet is all that is waited for then.
    std::string request;
    char buffer[4096];
    while (wait_readable(connection, request_wait)) {
        const ssize_t got = ::recv(connection, buffer, sizeof buffer, 0);
        if (got <= 0) break;
        request.append(buffer, static_cast<std::size_t>(got));
        if (reply.ending == Reply::Ending::first_packet ||
            request.find("\r\n\r\n") != std::string::npos) {
            break;
        }
    }
    {
        const std::lock_guard lock(m_mutex);
        m_requests.push_back(request);
    }
    m_recorded.notify_all();
    if (reply.ending == Reply::Ending::first_packet) return;
    if (!send_all(connection, reply.bytes)) return;
    switch (reply.ending) {
        case Reply::Ending::stall:
            // Until the client gives up (EOF) or the server shuts down.
            while (wait_readable(connection, std::chrono::hours(1))) {
                if (::recv(connection, buffer, sizeof buffer, 0) <= 0) break;
            }
            break;
        case Reply::Ending::endless: {
            const std::string filler(64 * 1024, 'z');
            std::size_t left = reply.filler_bytes;
            while (reply.filler_bytes == 0 || left > 0) {
                const std::size_t piece =
                    reply.filler_bytes == 0 ? filler.size() : std::min(left, filler.size());
                if (!send_all(connection, std::string_view(filler).substr(0, piece))) break;
                left -= reply.filler_bytes == 0 ? 0 : piece;
                pollfd wake{m_wake[0], POLLIN, 0};
                if (::poll(&wake, 1, 0) > 0) break;
            }
            break;
        }
        default:
            break;
    }
}

UnansweredPort::UnansweredPort() {
    m_listener = open_loopback_listener(0, m_port);
    // Fill the accept queue; further handshakes are then left unanswered.
    for (int i = 0; i < 8; ++i) {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(m_port);
        ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        m_fillers.push_back(fd);
    }
    ::usleep(50'000);
}

UnansweredPort::~UnansweredPort() {
    for (const int fd : m_fillers) ::close(fd);
    ::close(m_listener);
}

std::string http_response(std::string_view status_line, const std::vector<std::string>& headers,
                          std::string_view body) {
    std::string response(status_line);
    response += "\r\n";
    for (const std::string& header : headers) response += header + "\r\n";
    response += "\r\n";
    response += body;
    return response;
}

}  // namespace pricelookup::test
