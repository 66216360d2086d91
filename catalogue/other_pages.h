#pragma once

// The catalogue's pages other than search results. Texts are GBK.

#include <cstddef>
#include <string>

namespace pricelookup::catalogue {

// The home page: a search form and the category links.
//   42 products -> a page that says the catalogue lists 42 products
std::string home_page(std::size_t product_count);

// The body of a 404 answer.
std::string not_found_page();

}  // namespace pricelookup::catalogue
