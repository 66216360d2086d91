#include "search/body_receiver.h"

#include <curl/curl.h>
#include <poll.h>

#include <algorithm>
#include <new>
#include <string_view>

#include "search/content_length.h"
#include "search/read_chunk_size.h"

namespace pricelookup::search::detail {
namespace {

// A header of the response being received (the last one after redirects).
std::optional<std::string_view> response_header(CURL* easy, const char* name) {
    curl_header* header = nullptr;
    if (curl_easy_header(easy, name, 0, CURLH_HEADER, -1, &header) != CURLHE_OK ||
        header == nullptr || header->value == nullptr) {
        return std::nullopt;
    }
    return std::string_view(header->value);
}

// The response's HTTP version as 10, 11, 20 or 30; 10 when libcurl does not say.
int response_version(CURL* easy) {
    long version = CURL_HTTP_VERSION_NONE;
    curl_easy_getinfo(easy, CURLINFO_HTTP_VERSION, &version);
    switch (version) {
        case CURL_HTTP_VERSION_1_1: return 11;
        case CURL_HTTP_VERSION_2_0: return 20;
        case CURL_HTTP_VERSION_3: return 30;
        default: return 10;
    }
}

}  // namespace

std::size_t BodyReceiver::on_write(char* data, std::size_t size, std::size_t count, void* self) {
    auto& receiver = *static_cast<BodyReceiver*>(self);
    const std::size_t length = size * count;
    if (!receiver.m_started && !receiver.start()) return 0;
    return receiver.append(data, length);
}

int BodyReceiver::on_socket(void* self, curl_socket_t socket, curlsocktype purpose) {
    // Every read makes its own connections (redirects and all); the last one made
    // carries the body.
    if (purpose == CURLSOCKTYPE_IPCXN) static_cast<BodyReceiver*>(self)->m_socket = socket;
    return CURL_SOCKOPT_OK;
}

bool BodyReceiver::start() {
    // The response header is complete once body bytes arrive, so the announced length
    // is known here: it sizes the buffer.
    const std::optional<std::string_view> content_length = response_header(m_easy, "Content-Length");
    try {
        m_body.reserve(read_chunk_size(content_length));
    } catch (const std::bad_alloc&) {
        return false;  // no buffer, nothing read
    }
    m_announced = announced_body_length(content_length);
    m_connection_stays_open =
        connection_stays_open(response_version(m_easy), response_header(m_easy, "Connection"));
    m_started = true;
    return true;
}

std::size_t BodyReceiver::append(const char* data, std::size_t length) {
    std::size_t piece = std::min(length, m_max_bytes - m_body.size());
    // On a connection the server keeps, what follows the announced length is not
    // this body.
    if (m_announced && m_connection_stays_open) {
        piece = std::min(piece, *m_announced - std::min(*m_announced, m_body.size()));
    }
    try {
        m_body.append(data, piece);
    } catch (const std::bad_alloc&) {
        // No room to grow: like a failed read, keep what arrived (append left the
        // buffer as it was).
        return 0;
    }
    // The bytes are kept either way; answering less than was given ends the read.
    if (m_announced && m_body.size() >= *m_announced && !more_is_coming()) return 0;
    return piece;
}

bool BodyReceiver::more_is_coming() const {
    if (m_connection_stays_open) return false;
    if (m_socket == CURL_SOCKET_BAD) return true;  // nothing to watch: read on
    // Readable means more bytes, or the end of the connection, which libcurl then sees.
    pollfd watch{m_socket, POLLIN, 0};
    return ::poll(&watch, 1, static_cast<int>(m_quiet_wait.count())) > 0;
}

}  // namespace pricelookup::search::detail
