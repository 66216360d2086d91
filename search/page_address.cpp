#include "search/page_address.h"

#include <curl/curl.h>

#include <charconv>
#include <memory>

#include "search/request_target.h"

namespace pricelookup::search::detail {
namespace {

struct UrlDeleter {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
struct PartDeleter {
    void operator()(char* part) const { curl_free(part); }
};

// One part of a parsed URL as written in it (no percent decoding); empty if absent.
std::string url_part(CURLU* url, CURLUPart which, unsigned int flags = 0) {
    char* raw = nullptr;
    if (curl_url_get(url, which, &raw, flags) != CURLUE_OK || raw == nullptr) return {};
    const std::unique_ptr<char, PartDeleter> part(raw);
    return std::string(part.get());
}

}  // namespace

std::optional<PageAddress> parse_page_address(std::string_view address) {
    const std::size_t scheme_end = address.find("://");
    if (scheme_end == std::string_view::npos || scheme_end == 0) return std::nullopt;
    // The authority ends where the object begins, as the URL grammar has it.
    const std::size_t object_begin = address.find_first_of("/?#", scheme_end + 3);
    const std::string_view head = address.substr(0, object_begin);
    const std::string_view object =
        object_begin == std::string_view::npos ? std::string_view{} : address.substr(object_begin);
    if (object.size() > max_object_length) return std::nullopt;
    if (head.find('\0') != std::string_view::npos) return std::nullopt;

    PageAddress parsed;
    parsed.url = std::string(head) + escape_request_target(object.substr(0, object.find('#')));

    const std::unique_ptr<CURLU, UrlDeleter> url(curl_url());
    if (!url || curl_url_set(url.get(), CURLUPART_URL, parsed.url.c_str(), 0) != CURLUE_OK) {
        return std::nullopt;
    }
    parsed.scheme = url_part(url.get(), CURLUPART_SCHEME);
    parsed.host = url_part(url.get(), CURLUPART_HOST);
    parsed.user = url_part(url.get(), CURLUPART_USER);
    parsed.password = url_part(url.get(), CURLUPART_PASSWORD);
    const std::string port = url_part(url.get(), CURLUPART_PORT, CURLU_DEFAULT_PORT);
    std::from_chars(port.data(), port.data() + port.size(), parsed.port);

    if (parsed.host.empty() || parsed.host.size() > max_host_length ||
        parsed.user.size() > max_user_length || parsed.password.size() > max_password_length) {
        return std::nullopt;
    }
    return parsed;
}

}  // namespace pricelookup::search::detail
