#pragma once

// The catalogue's search-result page: the products whose name or specification line
// holds the keyword, 20 a page in data-file order, inside ordinary page markup.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/product.h"

namespace pricelookup::catalogue {

inline constexpr std::size_t entries_per_page = 20;

// The products that hold `keyword` (GBK) in their name or specification line, in
// data-file order; every product for the empty keyword.
std::vector<const Product*> matching_products(const std::vector<Product>& products,
                                              std::string_view keyword);

// The products shown on page `page` (from 1) of `matches`; none for page 0, a
// negative page, a page past the last match or no page at all.
//   45 matches, page 3 -> matches 41 to 45      45 matches, page 4 -> none
std::vector<const Product*> page_slice(const std::vector<const Product*>& matches,
                                       std::optional<std::int64_t> page);

// The address of a product's picture on the server that `host` names (host[:port]).
//   ("127.0.0.1:18080", id "17") -> "http://127.0.0.1:18080/images/17.svg"
std::string picture_address(std::string_view host, std::string_view id);

// The markup of one product entry, in the shape every catalogue entry has: the name
// in an alt attribute, its specification line, the price label and price, the quote
// date and the picture. CR LF line ends with lone LFs inside.
std::string entry_markup(const Product& product, std::string_view host);

// The whole result page (GBK) for `keyword` and `page`, its pictures on `host`.
std::string result_page(const std::vector<Product>& products, std::string_view keyword,
                        std::optional<std::int64_t> page, std::string_view host);

}  // namespace pricelookup::catalogue
