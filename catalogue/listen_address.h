#pragma once

// The address the catalogue listens on, written HOST:PORT as on the command line.

#include <optional>
#include <string>
#include <string_view>

namespace pricelookup::catalogue {

struct ListenAddress {
    std::string host;  // a name or an address; an IPv6 address without its brackets
    int port = 80;     // 0 asks the system for a free port

    friend bool operator==(const ListenAddress&, const ListenAddress&) = default;
};

// HOST, HOST:PORT or [IPV6]:PORT; a missing port is 80, the port of plain http
// addresses. None when the host is empty or the port is not a number up to 65535.
//   "127.0.0.1:0" -> {"127.0.0.1", 0}      "[::1]:8080" -> {"::1", 8080}
//   "localhost"   -> {"localhost", 80}     "host:x"     -> none
std::optional<ListenAddress> parse_listen_address(std::string_view text);

// HOST:PORT again, an IPv6 address in brackets.
//   {"::1", 8080} -> "[::1]:8080"
std::string listen_address_text(const ListenAddress& address);

}  // namespace pricelookup::catalogue
