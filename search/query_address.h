#pragma once

// The address of a catalogue result page for a keyword and a page number.

#include <string>
#include <string_view>

namespace pricelookup::search {

// Everything before the keyword: scheme, catalogue host, path and the first keys.
//   "shop.example.com" -> "http://shop.example.com/index.php?c=SearchList&keyword="
std::string query_prefix(std::string_view catalogue_host);

// The prefix, the keyword byte for byte (nothing trimmed, converted or escaped),
// "&page=" and the page text.
//   "http://h/index.php?c=SearchList&keyword=", "a b&c", "1"
//     -> "http://h/index.php?c=SearchList&keyword=a b&c&page=1"
std::string query_address(std::string_view prefix, std::string_view keyword,
                          std::string_view page_text);

}  // namespace pricelookup::search
