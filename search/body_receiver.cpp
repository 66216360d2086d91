#include "search/body_receiver.h"

#include <curl/curl.h>

#include <algorithm>
#include <new>
#include <optional>
#include <string_view>

#include "search/read_chunk_size.h"

namespace pricelookup::search::detail {
namespace {

// The Content-Length of the response being received (the last one after redirects).
std::optional<std::string_view> content_length(CURL* easy) {
    curl_header* header = nullptr;
    if (curl_easy_header(easy, "Content-Length", 0, CURLH_HEADER, -1, &header) != CURLHE_OK ||
        header == nullptr || header->value == nullptr) {
        return std::nullopt;
    }
    return std::string_view(header->value);
}

}  // namespace

std::size_t BodyReceiver::on_write(char* data, std::size_t size, std::size_t count, void* self) {
    auto& receiver = *static_cast<BodyReceiver*>(self);
    const std::size_t length = size * count;
    if (!receiver.m_started && !receiver.start()) return 0;
    return receiver.append(data, length);
}

bool BodyReceiver::start() {
    // The response header is complete once body bytes arrive, so the announced length
    // is known here: it sizes the buffer.
    try {
        m_body.reserve(read_chunk_size(content_length(m_easy)));
    } catch (const std::bad_alloc&) {
        return false;  // no buffer, nothing read
    }
    m_started = true;
    return true;
}

std::size_t BodyReceiver::append(const char* data, std::size_t length) {
    const std::size_t piece = std::min(length, m_max_bytes - m_body.size());
    try {
        m_body.append(data, piece);
    } catch (const std::bad_alloc&) {
        // No room to grow: like a failed read, keep what arrived (append left the
        // buffer as it was).
        return 0;
    }
    return piece;
}

}  // namespace pricelookup::search::detail
