#pragma once

// Fetching a result page: a blocking HTTP/1.0 GET whose body becomes page text.
// Failures never surface as errors: they give an empty or a shortened result.

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

namespace pricelookup::search {

struct FetchLimits {
    // A catalogue that accepts and never answers must not freeze the caller for good.
    std::chrono::milliseconds connect_timeout{10'000};
    std::chrono::milliseconds total_timeout{15'000};  // the whole exchange, redirects included
    // A body whose announced length has arrived ends when the connection then stays
    // quiet this long (a server that keeps it open would otherwise hold the read
    // until the total time-out); more bytes, as long as they come, are still read.
    std::chrono::milliseconds quiet_after_length{1000};
    // An endless body must not eat all memory: reading stops here, keeping what arrived.
    std::size_t max_body_bytes = std::size_t{16} * 1024 * 1024;
};

// The body bytes of the response to GET address (the final one after redirects),
// whatever its status code; what arrived before a failure, a time-out or the size
// cap; nothing for an empty, unparsable or over-long address. The object is sent up
// to its first "#" with unsafe bytes written as %XX (see escape_request_target).
//   "http://host/p?k=a#x" -> sends "GET /p?k=a HTTP/1.0", returns the body
//   ""                    -> "" and nothing is sent
std::string http_read(std::string_view address, const FetchLimits& limits = {});

// http_read, then bytes_to_text, then remove_line_breaks.
std::string fetch_page(std::string_view address, const FetchLimits& limits = {});

}  // namespace pricelookup::search
