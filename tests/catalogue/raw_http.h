#pragma once

// A bare HTTP exchange over a loopback socket, for what the page fetch cannot show:
// raw bytes in the request target, response headers, and the server closing the
// connection by itself.

#include <map>
#include <string>

namespace pricelookup::test {

struct RawResponse {
    bool complete = false;  // the server closed the connection after its reply
    std::string status_line;
    std::map<std::string, std::string> headers;  // names in lower case
    std::string body;
};

// Sends `request` as it stands to 127.0.0.1:`port` and reads until the server
// closes the connection. A server that keeps it open for 30 s gives an incomplete
// response instead of a hanging test.
RawResponse raw_exchange(int port, const std::string& request);

// "GET target HTTP/1.0" with a Host header of 127.0.0.1:port.
RawResponse raw_get(int port, const std::string& target);

}  // namespace pricelookup::test
