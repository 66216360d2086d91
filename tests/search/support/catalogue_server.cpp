#include "tests/search/support/catalogue_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <string_view>

#include "tests/search/support/listing_pages.h"

namespace pricelookup::test {
namespace {

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string percent_decoded(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hex_digit(text[i + 1]) >= 0 &&
            hex_digit(text[i + 2]) >= 0) {
            out += static_cast<char>(hex_digit(text[i + 1]) * 16 + hex_digit(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// The value of `key` in the query of `target`, "" when absent.
std::string query_value(std::string_view target, std::string_view key) {
    const std::size_t query = target.find('?');
    if (query == std::string_view::npos) return {};
    std::string_view rest = target.substr(query + 1);
    while (!rest.empty()) {
        const std::size_t end = rest.find('&');
        const std::string_view pair = rest.substr(0, end);
        if (pair.substr(0, key.size()) == key && pair.size() > key.size() &&
            pair[key.size()] == '=') {
            return std::string(pair.substr(key.size() + 1));
        }
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end + 1);
    }
    return {};
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

CatalogueServer::CatalogueServer(int entries, std::string slow_keyword,
                                 std::chrono::milliseconds slow_delay)
    : m_entries(entries), m_slow_keyword(std::move(slow_keyword)), m_slow_delay(slow_delay) {
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;  // an ephemeral port
    if (m_listener < 0 ||
        ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(m_listener, 16) != 0 || ::pipe2(m_wake, O_CLOEXEC) != 0) {
        throw std::runtime_error("catalogue server: cannot listen on 127.0.0.1");
    }
    socklen_t length = sizeof address;
    ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { serve(); });
}

CatalogueServer::~CatalogueServer() {
    const char wake = 'x';
    [[maybe_unused]] const ssize_t written = ::write(m_wake[1], &wake, 1);
    m_thread.join();
    ::close(m_listener);
    ::close(m_wake[0]);
    ::close(m_wake[1]);
}

std::string CatalogueServer::host() const {
    return "127.0.0.1:" + std::to_string(m_port);
}

std::vector<CatalogueServer::Request> CatalogueServer::requests() const {
    const std::lock_guard lock(m_mutex);
    return m_requests;
}

std::vector<CatalogueServer::Request> CatalogueServer::wait_for_requests(
    std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(m_mutex);
    m_arrived.wait_for(lock, timeout, [&] { return m_requests.size() >= count; });
    return m_requests;
}

std::string CatalogueServer::entry_name(std::string_view keyword, std::string_view page, int i) {
    return std::string(keyword) + " p" + std::string(page) + " #" + std::to_string(i);
}

std::string CatalogueServer::page_for(std::string_view keyword, std::string_view page) const {
    std::string body = "<html><head><title>catalogue</title></head><body>\r\n";
    for (int i = 1; i <= m_entries; ++i) {
        Entry entry;
        entry.name = entry_name(keyword, page, i);
        entry.price = std::to_string(100 + i);
        body += entry_markup(entry);
    }
    return body + "</body></html>\r\n";
}

void CatalogueServer::serve() {
    for (;;) {
        pollfd fds[2] = {{m_listener, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0 && errno == EINTR) continue;
        if ((fds[1].revents & POLLIN) != 0) return;
        if ((fds[0].revents & POLLIN) == 0) continue;
        const int connection = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) continue;
        answer(connection);
        ::close(connection);
    }
}

void CatalogueServer::answer(int connection) {
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos) {
        pollfd fd{connection, POLLIN, 0};
        if (::poll(&fd, 1, 5000) <= 0) return;
        const ssize_t got = ::recv(connection, buffer, sizeof buffer, 0);
        if (got <= 0) return;
        head.append(buffer, static_cast<std::size_t>(got));
    }
    Request request;
    request.arrived = Clock::now();
    const std::size_t target_start = head.find(' ') + 1;
    request.target = head.substr(target_start, head.find(' ', target_start) - target_start);
    request.keyword = percent_decoded(query_value(request.target, "keyword"));
    request.page = query_value(request.target, "page");
    const std::size_t index = [&] {
        const std::lock_guard lock(m_mutex);
        m_requests.push_back(request);
        return m_requests.size() - 1;
    }();
    m_arrived.notify_all();

    if (request.keyword == m_slow_keyword) {
        pollfd wake{m_wake[0], POLLIN, 0};
        ::poll(&wake, 1, static_cast<int>(m_slow_delay.count()));
    }
    const std::string body = page_for(request.keyword, request.page);
    const std::string response =
        "HTTP/1.0 200 OK\r\nContent-Type: text/html; charset=gbk\r\nContent-Length: " +
        std::to_string(body.size()) + "\r\n\r\n" + body;
    send_all(connection, response);
    {
        const std::lock_guard lock(m_mutex);
        m_requests[index].answered = Clock::now();
    }
    m_arrived.notify_all();
}

}  // namespace pricelookup::test
