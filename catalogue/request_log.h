#pragma once

// The one line the catalogue writes to standard error for each request.

#include <string>
#include <string_view>

namespace pricelookup::catalogue {

// Bytes of a request made safe for a log line: printable ASCII stays, except '"'
// and '\\', and every other byte (control bytes, CR and LF among them, and GBK
// bytes) is written as %XX, so that a request can never start a line of its own.
//   "/a b\r\n\xB5" -> "/a b%0D%0A%B5"
std::string log_safe(std::string_view bytes);

// remote "METHOD TARGET VERSION" status body-bytes
//   ("127.0.0.1", "GET", "/", "HTTP/1.0", 200, 512) -> 127.0.0.1 "GET / HTTP/1.0" 200 512
std::string request_log_line(std::string_view remote, std::string_view method,
                             std::string_view target, std::string_view version, int status,
                             std::size_t body_bytes);

}  // namespace pricelookup::catalogue
