#pragma once

// Collects the response body in buffers of the read chunk size, up to a cap.
//
// libcurl chooses the size of each socket read itself (at most its receive buffer,
// set before the transfer starts); what the chunk size governs here is the body
// buffers: once the response header is in, the first buffer is reserved at the
// chunk size, and each time one is full the next one of that size is added. A body
// announced shorter than the largest chunk thus lands in one buffer with a single
// allocation; the buffers are joined once at the end.

#include <cstddef>
#include <string>
#include <vector>

using CURL = void;

namespace pricelookup::search::detail {

class BodyReceiver {
public:
    BodyReceiver(CURL* easy, std::size_t max_bytes) : m_easy(easy), m_max_bytes(max_bytes) {}

    // libcurl's write callback; `self` is the receiver. Returning less than it was
    // given ends the transfer, which is how the cap stops reading.
    static std::size_t on_write(char* data, std::size_t size, std::size_t count, void* self);

    // Every byte received so far, in order.
    std::string take();

private:
    bool start();
    std::size_t append(const char* data, std::size_t length);

    CURL* m_easy;
    std::size_t m_max_bytes;
    std::size_t m_chunk_size = 0;  // 0 until the first body bytes arrive
    std::size_t m_total = 0;
    std::vector<std::string> m_chunks;
};

}  // namespace pricelookup::search::detail
