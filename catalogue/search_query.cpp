#include "catalogue/search_query.h"

#include <charconv>

namespace pricelookup::catalogue {
namespace {

int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<std::int64_t> page_number(std::string_view text) {
    std::int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc{} || ptr != end || text.empty()) return std::nullopt;
    return value;
}

}  // namespace

std::string decode_query_component(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '+') {
            out.push_back(' ');
        } else if (c == '%' && i + 2 < text.size() && hex_value(text[i + 1]) >= 0 &&
                   hex_value(text[i + 2]) >= 0) {
            out.push_back(static_cast<char>(hex_value(text[i + 1]) * 16 + hex_value(text[i + 2])));
            i += 2;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

SearchQuery parse_search_query(std::string_view target) {
    SearchQuery query;
    const std::size_t question = target.find('?');
    if (question == std::string_view::npos) return query;
    std::string_view rest = target.substr(question + 1);
    rest = rest.substr(0, rest.find('#'));

    while (true) {
        const std::size_t amp = rest.find('&');
        const std::string_view pair = rest.substr(0, amp);
        const std::size_t equals = pair.find('=');
        const std::string name = decode_query_component(pair.substr(0, equals));
        const std::string value = equals == std::string_view::npos
                                      ? std::string()
                                      : decode_query_component(pair.substr(equals + 1));
        if (name == "c") {
            query.is_search = value == "SearchList";
        } else if (name == "keyword") {
            query.keyword = value;
        } else if (name == "page") {
            query.page = page_number(value);
        }
        if (amp == std::string_view::npos) break;
        rest.remove_prefix(amp + 1);
    }
    return query;
}

}  // namespace pricelookup::catalogue
