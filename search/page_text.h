#pragma once

// Turning received bytes into page text: no character-set conversion, the bytes
// are GBK text as they stand.

#include <string>
#include <string_view>

namespace pricelookup::search {

// The bytes up to, not including, the first zero byte.
//   "ab\0cd" -> "ab"      "abc" -> "abc"
std::string bytes_to_text(std::string_view bytes);

// Removes every CR LF pair, scanning double-byte characters as units: a byte of
// 0x80 or above is copied together with the byte after it, so a CR right after
// such a byte stays, and so does the LF after that CR.
//   "a\r\nb\rc\nd\r\n" -> "a" "b\rc\nd"     "\r\r\n" -> "\r"
//   "\xB0\r\n"         -> "\xB0\r\n"
std::string remove_line_breaks(std::string_view text);

}  // namespace pricelookup::search
