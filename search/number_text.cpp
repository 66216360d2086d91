#include "search/number_text.h"

#include <array>
#include <charconv>

namespace pricelookup::search {

std::string integer_text(std::int32_t value) {
    return std::to_string(value);
}

std::string double_text(double value) {
    // Room for a sign, 13 digits, a point and an exponent such as "e-308".
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, 13);
    return std::string(buffer.data(), result.ptr);
}

std::string join_text(std::initializer_list<std::string_view> pieces) {
    std::size_t length = 0;
    for (const std::string_view piece : pieces) length += piece.size();
    std::string joined;
    joined.reserve(length);
    for (const std::string_view piece : pieces) joined += piece;
    return joined;
}

}  // namespace pricelookup::search
