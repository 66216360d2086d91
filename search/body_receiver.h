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

#include <cstddef>
#include <string>
#include <utility>

using CURL = void;

namespace pricelookup::search::detail {

class BodyReceiver {
public:
    BodyReceiver(CURL* easy, std::size_t max_bytes) : m_easy(easy), m_max_bytes(max_bytes) {}

    // libcurl's write callback; `self` is the receiver. Returning less than it was
    // given ends the transfer, which is how the cap stops reading.
    static std::size_t on_write(char* data, std::size_t size, std::size_t count, void* self);

    // Every byte received so far, in order.
    std::string take() { return std::move(m_body); }

private:
    bool start();
    std::size_t append(const char* data, std::size_t length);

    CURL* m_easy;
    std::size_t m_max_bytes;
    bool m_started = false;  // false until the first body bytes arrive
    std::string m_body;
};

}  // namespace pricelookup::search::detail
