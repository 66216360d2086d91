#pragma once

// Numbers as the texts the search shows and sends, and the joining of texts.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace pricelookup::search {

// Decimal digits with a leading "-" when negative, as printf's "%d" writes them.
//   1 -> "1"      -1 -> "-1"      0 -> "0"
std::string integer_text(std::int32_t value);

// As printf's "%.13g" writes the value (at most 13 significant digits, no trailing
// zeros or decimal point), always in the C locale; whole numbers come out plain.
//   2.0 -> "2"      -1.0 -> "-1"      2147483648.0 -> "2147483648"
std::string double_text(double value);

// The pieces one after another, with no separator.
//   {"第", "2", "页"} -> "第2页"      {"", ""} -> ""
std::string join_text(std::initializer_list<std::string_view> pieces);

}  // namespace pricelookup::search
