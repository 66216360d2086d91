#pragma once

// Collects the response body in one buffer sized by the read chunk size, up to a cap.
//
// libcurl chooses the size of each socket read itself (at most its receive buffer,
// set before the transfer starts); what the chunk size governs here is the body
// buffer: once the response header is in, the buffer is reserved at the chunk size,
// so a body announced shorter than the largest chunk lands in it with a single
// allocation. A longer body grows the buffer geometrically, so that memory stays
// within a small multiple of the cap whatever length was announced (an announced
// length of 1 must not make every two bytes a buffer of their own).
//
// The body is read to the end of the connection, past an announced length too, with
// two exceptions that keep a server holding the connection open from freezing the
// read until its time limit: once the announced length has arrived, reading stops at
// once where the server said it keeps the connection open, and otherwise as soon as
// the connection stays quiet for `quiet_wait`.

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <utility>

#include <curl/curl.h>

namespace pricelookup::search::detail {

class BodyReceiver {
public:
    BodyReceiver(CURL* easy, std::size_t max_bytes, std::chrono::milliseconds quiet_wait)
        : m_easy(easy), m_max_bytes(max_bytes), m_quiet_wait(quiet_wait) {}

    // libcurl's write callback; `self` is the receiver. Returning less than it was
    // given ends the transfer, which is how the cap stops reading.
    static std::size_t on_write(char* data, std::size_t size, std::size_t count, void* self);

    // libcurl's socket-option callback: notes the connection's socket, which the
    // receiver watches once the announced length is in.
    static int on_socket(void* self, curl_socket_t socket, curlsocktype purpose);

    // Every byte received so far, in order.
    std::string take() { return std::move(m_body); }

private:
    bool start();
    std::size_t append(const char* data, std::size_t length);
    // Once the announced length is in: whether more bytes, or the connection's end,
    // are on their way.
    bool more_is_coming() const;

    CURL* m_easy;
    std::size_t m_max_bytes;
    std::chrono::milliseconds m_quiet_wait;
    bool m_started = false;  // false until the first body bytes arrive
    std::optional<std::size_t> m_announced;
    bool m_connection_stays_open = false;
    curl_socket_t m_socket = CURL_SOCKET_BAD;
    std::string m_body;
};

}  // namespace pricelookup::search::detail
