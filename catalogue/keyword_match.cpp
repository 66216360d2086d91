#include "catalogue/keyword_match.h"

#include <cstddef>

namespace pricelookup::catalogue {
namespace {

bool is_lead_byte(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 0x81 && b <= 0xFE;
}

// Length of the character that starts at `pos`: 2 for a lead byte with a byte after
// it, else 1.
std::size_t character_length(std::string_view text, std::size_t pos) {
    return is_lead_byte(text[pos]) && pos + 1 < text.size() ? 2 : 1;
}

char fold(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Compares `keyword` with `text` from `start`, character by character, so that the
// match ends on a character boundary of `text` as well.
bool matches_at(std::string_view keyword, std::string_view text, std::size_t start) {
    std::size_t k = 0;
    std::size_t t = start;
    while (k < keyword.size()) {
        if (t >= text.size()) return false;
        const std::size_t k_length = character_length(keyword, k);
        const std::size_t t_length = character_length(text, t);
        if (k_length != t_length) return false;
        if (k_length == 1) {
            if (fold(keyword[k]) != fold(text[t])) return false;
        } else if (keyword.substr(k, 2) != text.substr(t, 2)) {
            return false;
        }
        k += k_length;
        t += t_length;
    }
    return true;
}

}  // namespace

bool keyword_in(std::string_view keyword, std::string_view text) {
    if (keyword.empty()) return true;
    for (std::size_t pos = 0; pos < text.size(); pos += character_length(text, pos)) {
        if (matches_at(keyword, text, pos)) return true;
    }
    return false;
}

}  // namespace pricelookup::catalogue
