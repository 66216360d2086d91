#include "tests/catalogue/raw_http.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cctype>

namespace pricelookup::test {

RawResponse raw_exchange(int port, const std::string& request) {
    RawResponse response;
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return response;
    timeval guard{30, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &guard, sizeof guard);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::send(fd, request.data(), request.size(), MSG_NOSIGNAL) !=
            static_cast<ssize_t>(request.size())) {
        ::close(fd);
        return response;
    }
    std::string bytes;
    char buffer[8192];
    ssize_t n = 0;
    while ((n = ::recv(fd, buffer, sizeof buffer, 0)) > 0) {
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    response.complete = n == 0;
    ::close(fd);

    const std::size_t head_end = bytes.find("\r\n\r\n");
    const std::string head = bytes.substr(0, head_end);
    response.body = head_end == std::string::npos ? "" : bytes.substr(head_end + 4);
    std::size_t line_end = head.find("\r\n");
    response.status_line = head.substr(0, line_end);
    while (line_end != std::string::npos) {
        const std::size_t start = line_end + 2;
        line_end = head.find("\r\n", start);
        const std::string line = head.substr(start, line_end - start);
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        std::string name = line.substr(0, colon);
        for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        std::size_t value_start = colon + 1;
        while (value_start < line.size() && line[value_start] == ' ') ++value_start;
        response.headers[name] = line.substr(value_start);
    }
    return response;
}

RawResponse raw_get(int port, const std::string& target) {
    return raw_exchange(port, "GET " + target + " HTTP/1.0\r\nHost: 127.0.0.1:" +
                                  std::to_string(port) + "\r\n\r\n");
}

}  // namespace pricelookup::test
