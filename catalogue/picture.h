#pragma once

// The picture of a product: an SVG card drawn from its data, small enough for the
// program's preview pane.

#include <string>

#include "catalogue/product.h"

namespace pricelookup::catalogue {

inline constexpr int picture_width = 240;
inline constexpr int picture_height = 160;  // the preview pane shows 180 px at most

// An SVG document (UTF-8) with the product's name, price and quote date.
//   name "星河 X55 液晶电视", price "3999" -> a 240x160 card reading the name, "3999元"
std::string picture_svg(const Product& product);

}  // namespace pricelookup::catalogue
