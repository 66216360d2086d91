#include "search/content_length.h"

#include <limits>

namespace pricelookup::search {
namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
    return text;
}

char ascii_lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether the comma-separated list `value` holds `token` (given in lower case).
bool has_token(std::string_view value, std::string_view token) {
    while (!value.empty()) {
        const std::size_t comma = value.find(',');
        const std::string_view item = trimmed(value.substr(0, comma));
        if (item.size() == token.size()) {
            bool same = true;
            for (std::size_t i = 0; i < item.size() && same; ++i) same = ascii_lower(item[i]) == token[i];
            if (same) return true;
        }
        if (comma == std::string_view::npos) break;
        value.remove_prefix(comma + 1);
    }
    return false;
}

}  // namespace

std::optional<std::size_t> announced_body_length(std::optional<std::string_view> content_length) {
    if (!content_length) return std::nullopt;
    const std::string_view digits = trimmed(*content_length);
    if (digits.empty()) return std::nullopt;
    std::size_t n = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        const auto digit = static_cast<std::size_t>(c - '0');
        if (n > (std::numeric_limits<std::size_t>::max() - digit) / 10) return std::nullopt;
        n = n * 10 + digit;
    }
    if (n == 0) return std::nullopt;
    return n;
}

bool connection_stays_open(int http_version_times_ten, std::optional<std::string_view> connection) {
    if (http_version_times_ten >= 11) return !(connection && has_token(*connection, "close"));
    return connection && has_token(*connection, "keep-alive");
}

}  // namespace pricelookup::search
