#include "catalogue/listen_address.h"

namespace pricelookup::catalogue {
namespace {

std::optional<int> port_number(std::string_view text) {
    if (text.empty() || text.size() > 5) return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value > 65535) return std::nullopt;
    return value;
}

}  // namespace

std::optional<ListenAddress> parse_listen_address(std::string_view text) {
    ListenAddress address;
    std::string_view port;
    bool has_port = false;
    if (text.starts_with('[')) {
        const std::size_t close = text.find(']');
        if (close == std::string_view::npos) return std::nullopt;
        address.host = std::string(text.substr(1, close - 1));
        const std::string_view rest = text.substr(close + 1);
        if (!rest.empty()) {
            if (!rest.starts_with(':')) return std::nullopt;
            port = rest.substr(1);
            has_port = true;
        }
    } else {
        const std::size_t colon = text.find(':');
        address.host = std::string(text.substr(0, colon));
        if (colon != std::string_view::npos) {
            port = text.substr(colon + 1);
            has_port = true;
        }
    }
    if (address.host.empty()) return std::nullopt;
    if (has_port) {
        const auto number = port_number(port);
        if (!number) return std::nullopt;
        address.port = *number;
    }
    return address;
}

std::string listen_address_text(const ListenAddress& address) {
    const bool ipv6 = address.host.find(':') != std::string::npos;
    return (ipv6 ? "[" + address.host + "]" : address.host) + ":" + std::to_string(address.port);
}

}  // namespace pricelookup::catalogue
