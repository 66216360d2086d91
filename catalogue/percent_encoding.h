#pragma once

// Writing bytes as %XX: for links in the pages and for the request log.

#include <string>
#include <string_view>

namespace pricelookup::catalogue {

// `bytes` with every byte for which `keep` is false written as %XX (upper-case hex).
//   ("a b", keep letters) -> "a%20b"
std::string percent_encode(std::string_view bytes, bool (*keep)(unsigned char));

}  // namespace pricelookup::catalogue
