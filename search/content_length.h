#pragma once

// Whether a response announces where its body ends.

#include <cstddef>
#include <optional>
#include <string_view>

namespace pricelookup::search {

// The body length a Content-Length value announces: decimal digits only, with blanks
// around them allowed, and above 0. Anything else announces nothing, and the body
// then runs to the end of the connection.
//   "500" -> 500     " 500 " -> 500     "0", "-5", "+20", "12ab", "", missing -> none
std::optional<std::size_t> announced_body_length(std::optional<std::string_view> content_length);

// Whether the server keeps the connection open after the response: an HTTP/1.1 (or
// later) response unless its Connection header says "close", an HTTP/1.0 one only when
// it says "keep-alive". Tokens are compared without regard to case.
//   (11, none) -> true    (11, "Close") -> false    (10, none) -> false
//   (10, "Keep-Alive") -> true
bool connection_stays_open(int http_version_times_ten, std::optional<std::string_view> connection);

}  // namespace pricelookup::search
