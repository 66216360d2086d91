#pragma once

// Reading the product data file: UTF-8 text, one product a line, six fields
// separated by tabs (id, name, specification line, price label, price, quote date).
// Lines starting with "#" and empty lines are skipped.

#include <string>
#include <string_view>
#include <vector>

#include "catalogue/product.h"

namespace pricelookup::catalogue {

struct ProductFile {
    std::vector<Product> products;  // in file order
    std::string error;              // "file:line: what is wrong"; empty when it loaded
};

// Parses and checks the whole file; the first fault found stops it and names the
// line. Every text must have a GBK form and hold no character that would break the
// page markup (< > & " and control characters).
//   "7\tTV\t55in\t\t3999\t2026-11-02\n"  -> one product, id "7", empty label
//   "7\tTV\t55in\n" (file "p.tsv")       -> error "p.tsv:1: expected 6 fields ..."
ProductFile parse_product_file(std::string_view text, std::string_view file_name);

}  // namespace pricelookup::catalogue
