#pragma once

// One product of the sample catalogue, with its texts in both encodings: GBK for
// the result pages, which are GBK like those of a real catalogue, and UTF-8 for the
// picture cards, which are SVG (XML) and so UTF-8.

#include <string>

namespace pricelookup::catalogue {

struct ProductTexts {
    std::string name;
    std::string specification;  // a short line of technical data
    std::string label;          // the price label, may be empty
    std::string price;          // in yuan, decimal digits with at most two decimals
    std::string date;           // YYYY-MM-DD
};

struct Product {
    std::string id;  // decimal digits without leading zeros; names the picture
    ProductTexts gbk;
    ProductTexts utf8;
};

}  // namespace pricelookup::catalogue
