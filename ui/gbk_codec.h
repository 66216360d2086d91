#pragma once

// Conversion between the program's texts (GBK, the Simplified Chinese ANSI code page
// 936, where 0x80 is the euro sign) and UTF-8. Used only where a text crosses into or
// out of the toolkit; everything inside the program stays GBK.

#include <string>
#include <string_view>

namespace pricelookup::ui {

// GBK bytes to UTF-8. A byte sequence that is not valid GBK becomes one U+FFFD and the
// conversion goes on right after it, so the rest of the text survives.
//   "\xBC\xDB\xB8\xF1" → "价格";  "a\xFFb" → "a\uFFFDb";  "\xB0" (cut short) → "\uFFFD"
std::string utf8_from_gbk(std::string_view gbk);

// UTF-8 to GBK. A character that GBK cannot represent becomes "?", as the ANSI
// conversion of a Chinese Windows desktop does; so does a malformed UTF-8 byte.
//   "价格" → "\xBC\xDB\xB8\xF1";  "a😀b" → "a?b"
std::string gbk_from_utf8(std::string_view utf8);

}  // namespace pricelookup::ui
