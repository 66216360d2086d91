#include <curl/curl.h>

#include <memory>

#include "search/body_receiver.h"
#include "search/http_agent.h"
#include "search/page_address.h"
#include "search/page_fetch.h"
#include "search/read_chunk_size.h"

namespace pricelookup::search {
namespace {

// A redirect loop ends after this many hops with what the last response gave.
constexpr long max_redirects = 10;

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct ListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using HeaderList = std::unique_ptr<curl_slist, ListDeleter>;

// libcurl's own additions the request must not carry: a header given without a
// value is left out. Through a proxy it would ask to keep the connection alive.
HeaderList suppressed_headers() {
    return HeaderList(curl_slist_append(nullptr, "Proxy-Connection:"));
}

long milliseconds(std::chrono::milliseconds duration) {
    return static_cast<long>(duration.count());
}

void configure(CURL* easy, const detail::PageAddress& address, const FetchLimits& limits,
               const HeaderList& headers, detail::BodyReceiver& body) {
    curl_easy_setopt(easy, CURLOPT_URL, address.url.c_str());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    // The object goes out as given: no "/./" or "/../" folding either.
    curl_easy_setopt(easy, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
    curl_easy_setopt(easy, CURLOPT_USERAGENT, detail::HttpAgent::user_agent.data());
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers.get());
    // Credentials of the address answer a challenge; they are not sent unasked.
    curl_easy_setopt(easy, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_ANY));

    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, max_redirects);

    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);

    // One connection per read, closed at its end.
    curl_easy_setopt(easy, CURLOPT_FRESH_CONNECT, 1L);
    curl_easy_setopt(easy, CURLOPT_FORBID_REUSE, 1L);

    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, milliseconds(limits.connect_timeout));
    curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, milliseconds(limits.total_timeout));
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);

    // libcurl would stop at an announced length and refuse a negative one; the
    // receiver decides where the body ends instead, so that a body longer than
    // announced and a garbled length do not cost the page.
    curl_easy_setopt(easy, CURLOPT_IGNORE_CONTENT_LENGTH, 1L);
    // libcurl's socket reads are as large as the largest body buffer.
    curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, static_cast<long>(max_read_chunk_size));
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &detail::BodyReceiver::on_write);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(easy, CURLOPT_SOCKOPTFUNCTION, &detail::BodyReceiver::on_socket);
    curl_easy_setopt(easy, CURLOPT_SOCKOPTDATA, &body);
}

}  // namespace

std::string http_read(std::string_view address, const FetchLimits& limits) {
    if (address.empty()) return {};
    const std::optional<detail::PageAddress> parsed = detail::parse_page_address(address);
    if (!parsed) return {};
    if (!detail::HttpAgent::instance().open()) return {};

    const std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    if (!easy) return {};
    const HeaderList headers = suppressed_headers();
    if (!headers) return {};
    detail::BodyReceiver body(easy.get(), limits.max_body_bytes, limits.quiet_after_length);
    configure(easy.get(), *parsed, limits, headers, body);
    // Whatever the outcome (complete, failed, timed out, capped), the bytes that
    // arrived are the result.
    curl_easy_perform(easy.get());
    return body.take();
}

}  // namespace pricelookup::search
