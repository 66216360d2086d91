#pragma once

// The product data file of the repository, built into the program so that the
// installed catalogue needs no file of its own.

#include <string_view>

namespace pricelookup::catalogue {

// The bytes of catalogue/products.tsv as it stood at build time.
std::string_view embedded_product_file();

// The name error messages give that file.
inline constexpr std::string_view embedded_product_file_name = "products.tsv (built in)";

}  // namespace pricelookup::catalogue
