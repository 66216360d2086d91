#pragma once

// Splitting a page address for the request and checking the size of its parts.

#include <optional>
#include <string>
#include <string_view>

namespace pricelookup::search::detail {

inline constexpr std::size_t max_host_length = 255;
inline constexpr std::size_t max_object_length = 2047;  // path and query, fragment included
inline constexpr std::size_t max_user_length = 127;
inline constexpr std::size_t max_password_length = 127;

struct PageAddress {
    // What the HTTP client is given: scheme and authority as written, then the object
    // cut at its first "#" with unsafe bytes escaped.
    std::string url;
    std::string scheme;
    std::string host;
    std::string user;
    std::string password;
    int port = 0;  // the scheme's default when the address names none
};

// Nothing when the address is not "scheme://authority[object]", when the HTTP client
// cannot parse it, or when a part is longer than its limit. No byte is decoded; the
// object is only escaped where it may not stand on a request line.
//   "http://h/p?k=\xC4\xE3#f" -> url "http://h/p?k=%C4%E3", host "h", port 80
//   "https://h"               -> port 443
std::optional<PageAddress> parse_page_address(std::string_view address);

}  // namespace pricelookup::search::detail
