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
    if (receiver.m_chunk_size == 0 && !receiver.start()) return 0;
    return receiver.append(data, length);
}

bool BodyReceiver::start() {
    // The response header is complete once body bytes arrive, so the announced length
    // is known here: it sizes the buffers.
    m_chunk_size = read_chunk_size(content_length(m_easy));
    try {
        m_chunks.emplace_back().reserve(m_chunk_size);
    } catch (const std::bad_alloc&) {
        m_chunks.clear();
        return false;  // no buffer, nothing read
    }
    return true;
}

std::size_t BodyReceiver::append(const char* data, std::size_t length) {
    std::size_t taken = 0;
    try {
        while (taken < length && m_total < m_max_bytes) {
            std::string* chunk = &m_chunks.back();
            if (chunk->size() == m_chunk_size) {
                chunk = &m_chunks.emplace_back();
                chunk->reserve(m_chunk_size);
            }
            const std::size_t piece = std::min(
                {length - taken, m_chunk_size - chunk->size(), m_max_bytes - m_total});
            chunk->append(data + taken, piece);
            taken += piece;
            m_total += piece;
        }
    } catch (const std::bad_alloc&) {
        // No room for a further buffer: like a failed read, keep what arrived.
    }
    return taken;
}

std::string BodyReceiver::take() {
    if (m_chunks.size() == 1) return std::move(m_chunks.front());
    std::string body;
    body.reserve(m_total);
    for (const std::string& chunk : m_chunks) body += chunk;
    m_chunks.clear();
    return body;
}

}  // namespace pricelookup::search::detail
