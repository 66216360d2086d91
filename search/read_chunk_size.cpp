#include "search/read_chunk_size.h"

namespace pricelookup::search {
namespace {

constexpr std::size_t max_header_text = 31;

bool is_c_space(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

std::size_t read_chunk_size(std::optional<std::string_view> content_length) {
    if (!content_length || content_length->size() > max_header_text) {
        return default_read_chunk_size;
    }
    const std::string_view text = *content_length;
    std::size_t i = 0;
    while (i < text.size() && is_c_space(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Only whether n + 1 reaches the maximum matters, so the value saturates there
    // instead of overflowing on long digit strings.
    std::size_t n = 0;
    bool any_digit = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        any_digit = true;
        n = n * 10 + static_cast<std::size_t>(text[i] - '0');
        if (n >= max_read_chunk_size) n = max_read_chunk_size;
    }
    if (!any_digit || negative || n == 0) return default_read_chunk_size;
    return n + 1 > max_read_chunk_size ? max_read_chunk_size : n + 1;
}

}  // namespace pricelookup::search
