#pragma once

// The size of the buffers the response body is received into.

#include <cstddef>
#include <optional>
#include <string_view>

namespace pricelookup::search {

inline constexpr std::size_t default_read_chunk_size = 10240;
inline constexpr std::size_t max_read_chunk_size = 102400;

// From the value of the Content-Length header, read as a decimal integer n
// (leading white space and a sign allowed, reading stops at the first non-digit):
// a body announced shorter than max_read_chunk_size fits into one buffer.
//   missing, longer than 31 characters, or n <= 0 -> 10240
//   "500" -> 501        "102399" or more -> 102400        " +7x" -> 8
std::size_t read_chunk_size(std::optional<std::string_view> content_length);

}  // namespace pricelookup::search
