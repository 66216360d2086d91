#pragma once

// Reading the query string of a request to /index.php the way a catalogue's script
// reads its parameters: "&" separates them, "=" ends a name, "+" stands for a space,
// %XX for the byte XX, and a name given twice keeps its last value.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pricelookup::catalogue {

struct SearchQuery {
    bool is_search = false;  // c=SearchList
    std::string keyword;     // the decoded bytes, GBK as the client sent them
    // The page asked for; none when the page parameter is not a decimal integer
    // that fits 64 bits, which shows a page without entries. A missing page
    // parameter means page 1.
    std::optional<std::int64_t> page = 1;
};

// The bytes of a query component: %XX (either case of hex) becomes that byte, "+" a
// space, and every other byte, a "%" without two hex digits after it included,
// stays as it is. Raw GBK bytes pass unchanged.
//   "%B5%E7+a%zz" -> "\xB5\xE7 a%zz"
std::string decode_query_component(std::string_view text);

// The search parameters of a request target (path, then "?" and the query).
//   "/index.php?c=SearchList&keyword=%CA%D3&page=2" -> search, "\xCA\xD3", page 2
//   "/index.php"                                    -> not a search
SearchQuery parse_search_query(std::string_view target);

}  // namespace pricelookup::catalogue
