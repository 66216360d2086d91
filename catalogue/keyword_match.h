#pragma once

// Whether a search keyword occurs in a product text. Both are GBK: a byte from 0x81
// to 0xFE starts a double-byte character together with the byte after it, and
// every other byte is a character of its own.

#include <string_view>

namespace pricelookup::catalogue {

// True when `keyword` is a substring of `text` that starts and ends on character
// boundaries, ASCII letters compared without case. The second byte of a
// double-byte character is never taken for an ASCII letter, and a keyword never
// matches across the halves of two characters. The empty keyword is in every text.
//   ("4k", "55英寸 4K HDR") -> true      ("\xCA\xD3", "\xB5\xE7\xCA\xD3") -> true (视 in 电视)
//   ("\xE7\xCA", "\xB5\xE7\xCA\xD3") -> false (the halves of 电 and 视)
bool keyword_in(std::string_view keyword, std::string_view text);

}  // namespace pricelookup::catalogue
